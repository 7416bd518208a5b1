#!/usr/bin/env bash
# Proves the solo missions winnable: kelvos_driver --autoplay plays every mission of
# content/data/params/chapiterSolo.plist (chapter by chapter, in mission order) under a few fixed
# seeds, headless and on the driver's fake clock, and prints one row per mission:
#
#   mission  won/tried  fastest  speedStar  met  limit
#
# "fastest" is the fewest player turns of a winning seed, "speedStar" the mission's
# "speedStar_number", "met" whether the fastest win earned the speed star (yes/no, "-" without a
# win), "limit" the turn limit of a "Survive" or "TimeElimination" mission ("-" for none).
# Exits 1 when some mission has no winning seed, 2 on bad usage or a missing driver.
#
#   scripts/sweep-missions.sh [--build DIR] [--seeds "1 2 3"] [--jobs N] [--frames N]
#                             [--keep DIR] [MISSION...]
#
# --build: the build folder holding tests/driver/kelvos_driver (default: build). --seeds: the
# seeds each mission is played with (default "1 2 3"). --jobs: runs at once (default 2; each
# driver draws with several threads). --frames: the most frames a run may take (default 36000,
# ten minutes of play). --keep: a folder where each run's log stays (MISSION-SEED.log). MISSION...:
# only these missions.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=build
seeds="1 2 3"
jobs=2
frames=36000
keep=""
missions=()
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build=$2; shift 2 ;;
    --seeds) seeds=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    --frames) frames=$2; shift 2 ;;
    --keep) keep=$2; shift 2 ;;
    -h|--help) sed -n '2,20p' "$0"; exit 0 ;;
    -*) echo "sweep-missions: unknown option $1" >&2; exit 2 ;;
    *) missions+=("$1"); shift ;;
  esac
done
case "$build" in /*) ;; *) build="$root/$build" ;; esac
driver="$build/tests/driver/kelvos_driver"
if [ ! -x "$driver" ]; then
  echo "sweep-missions: no driver at $driver (build it first)" >&2
  exit 2
fi
for number in "$jobs" "$frames"; do
  case "$number" in ''|*[!0-9]*|0) echo "sweep-missions: bad number $number" >&2; exit 2 ;; esac
done

chapters="$root/content/data/params/chapiterSolo.plist"
definitions="$root/content/data/missions"
if [ ${#missions[@]} -eq 0 ]; then
  # The <string>s of every "mission_list" array, in file order.
  mapfile -t missions < <(awk '
    /<key>mission_list<\/key>/ { inList = 1; next }
    inList && /<\/array>/ { inList = 0 }
    inList && /<string>/ { gsub(/.*<string>|<\/string>.*/, ""); print }' "$chapters")
fi
if [ ${#missions[@]} -eq 0 ]; then
  echo "sweep-missions: no missions in $chapters" >&2
  exit 2
fi

# The text of a <key> of a mission definition: the first <string> after it ("" when missing).
definitionValue() {
  local file="$definitions/$1_DEF.plist" key=$2
  [ -f "$file" ] || return 0
  awk -v key="<key>$key</key>" '
    index($0, key) { found = 1; next }
    found && /<string>/ { gsub(/.*<string>|<\/string>.*/, ""); print; exit }' "$file"
}
# The turn limit of a mission whose victory or failure condition counts turns; "-" for none.
turnLimit() {
  local file="$definitions/$1_DEF.plist"
  [ -f "$file" ] || { echo "-"; return; }
  if grep -q "<string>TimeElimination</string>\|<string>Survive</string>" "$file"; then
    local turns
    turns=$(definitionValue "$1" nbTurns)
    echo "${turns:--}"
  else
    echo "-"
  fi
}

work=$(mktemp -d "${TMPDIR:-/tmp}/kelvos-sweep.XXXXXX")
trap 'rm -rf "$work"' EXIT
[ -z "$keep" ] || mkdir -p "$keep"

# One run: its own folder and profile, the driver's result line in MISSION-SEED.result.
export driver frames work
playOne() {
  local mission=$1 seed=$2 folder="$work/$1-$2"
  mkdir -p "$folder/xdg"
  (cd "$folder" && XDG_DATA_HOME="$folder/xdg" SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
    "$driver" --autoplay --mission "$mission" --seed "$seed" --frames "$frames" --draw-every 10 \
      >run.log 2>&1) || true
  grep '^autoplay: ' "$folder/run.log" | tail -1 >"$work/$mission-$seed.result" || true
}
export -f playOne
for mission in "${missions[@]}"; do
  for seed in $seeds; do
    echo "$mission $seed"
  done
done | xargs -P "$jobs" -n 2 bash -c 'playOne "$0" "$1"'

# A field of a result line ("turns", "result"...).
field() {
  sed -n "s/.* $1=\([^ ]*\).*/\1/p" <<<"$2"
}

status=0
printf '%-8s %-9s %-7s %-9s %-4s %s\n' mission won/tried fastest speedStar met limit
for mission in "${missions[@]}"; do
  won=0 tried=0 fastest=""
  for seed in $seeds; do
    tried=$((tried + 1))
    line=$(cat "$work/$mission-$seed.result" 2>/dev/null || true)
    [ -z "$keep" ] || cp "$work/$mission-$seed/run.log" "$keep/$mission-$seed.log" 2>/dev/null || true
    [ "$(field result " $line")" = won ] || continue
    won=$((won + 1))
    turns=$(field turns " $line")
    if [ -z "$fastest" ] || [ "$turns" -lt "$fastest" ]; then fastest=$turns; fi
  done
  speed=$(definitionValue "$mission" speedStar_number)
  met="-"
  if [ -n "$fastest" ] && [ -n "$speed" ]; then
    if [ "$fastest" -le "$speed" ]; then met=yes; else met=no; fi
  fi
  printf '%-8s %-9s %-7s %-9s %-4s %s\n' "$mission" "$won/$tried" "${fastest:--}" "${speed:--}" "$met" \
    "$(turnLimit "$mission")"
  [ "$won" -gt 0 ] || status=1
done
exit $status
