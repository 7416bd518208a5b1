// The cost of a frame of the whole program: kelvos_driver (the real start-up, the splash, then the
// main menu, GameFrame; or on to the world map, WorldMapFrame; or a played mission, MissionFrame;
// or the heaviest mission played by the computer, HeavyMissionFrame)
// beside the bare program
// (kelvos_driver --bare: one textured quad over the window each frame), all at 960 x 600, in the
// same run. Each iteration starts one process with --overdraw and reads its per-frame lines back.
// Counters, medians over the measured frames:
//   cpu_us     main-thread CPU per frame (game and engine, and the GL work done on that thread)
//   windows    fragments per frame as a multiple of the window's area
//   fps        measured frames over their wall time (the driver runs frames back to back)
//   cores      CPUs the process may run on
// The main menu is measured over frames 331-420 (the splash hands over at about frame 300, 60 steps
// a second), the world map over frames 401-500, the mission M01a over frames 262-1161: the game
// model, turns, camera, views and environment while the kelvos are pulled, fly and hit a crab,
// and the crabs wind up and charge. Pin to two cores and compare displays, e.g.
//   taskset -c 0,1 bench_frame --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true
// The Xvfb variants need xvfb-run; without it they report an error instead of figures.
#include <benchmark/benchmark.h>

#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct FrameLine {
    long long fragments = 0;
    double windows = 0;
    long long cpu = 0;
    long long wall = 0;
};

struct Program {
    const char* mode;  // driver arguments before the common ones
    int frames;        // frames run
    int firstMeasured; // first frame counted
};

constexpr Program kGame{"", 420, 331};
// The world map of the Prologue: a first click reveals the main menu, a second presses Play (at
// 960 x 600, 95 pixels left of the right edge, 541 from the top); the map runs from frame 342.
constexpr Program kWorldMap{"--event 330:down:865:541 --event 331:up:865:541 --event 340:down:865:541 "
                            "--event 341:up:865:541",
                            500, 401};
// M01a from the driver (seed 1): the opening dialogue tapped through (eight taps, as
// tests/support/MissionPlays.h does; play starts on frame 260), then the first kelvo once, the
// second four times until it hits a crab, both turns skipped as the HUD's button would, then the
// crabs' turn.
constexpr Program kMission{"--mission M01a --seed 1 --event 170:down:480:300 --event 171:up:480:300 "
                           "--event 180:down:480:300 --event 181:up:480:300 --event 190:down:480:300 "
                           "--event 191:up:480:300 --event 200:down:480:300 --event 201:up:480:300 "
                           "--event 210:down:480:300 --event 211:up:480:300 --event 220:down:480:300 "
                           "--event 221:up:480:300 --event 230:down:480:300 --event 231:up:480:300 "
                           "--event 240:down:480:300 --event 241:up:480:300 "
                           "--event 261:drag-pawn:-140:0 --event 361:skip-turn "
                           "--event 461:drag-pawn:-140:0 --event 581:drag-pawn:-140:0 "
                           "--event 701:drag-pawn:-140:0 --event 821:drag-pawn:-140:0 --event 961:skip-turn",
                           1161, 262};
// The heaviest mission, C0M13 (64 x 24 tiles, the most level objects, enemies and reef, six scenery
// layers), played by the computer (seed 1) over the same frames as M01a: its opening dialogue
// tapped through, then the kelvos' and the enemies' first moves across the wide level.
constexpr Program kHeavyMission{"--autoplay --mission C0M13 --seed 1", 1161, 262};
constexpr Program kBare{"--bare", 150, 31};

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

bool haveXvfb() {
    return std::system("command -v xvfb-run >/dev/null 2>&1") == 0;
}

// Runs the program once on `display` ("offscreen" or "xvfb"); the measured frames' lines, or
// none when the run failed.
std::vector<FrameLine> runOnce(const Program& program, const std::string& display) {
    std::vector<FrameLine> lines;
#ifdef KELVOS_DRIVER
    char folder[] = "/tmp/kelvos-frame-XXXXXX";
    if (mkdtemp(folder) == nullptr) return lines;
    const std::string home = folder;
    const std::string out = home + "/frames.txt";
    std::string prefix = "SDL_VIDEODRIVER=offscreen ";
    if (display == "xvfb") prefix = "xvfb-run -a -s '-screen 0 1280x800x24' env SDL_VIDEODRIVER=x11 ";
    const std::string command = "XDG_DATA_HOME='" + home + "' SDL_AUDIODRIVER=dummy " + prefix + "'" +
                                KELVOS_DRIVER + "' " + program.mode + " --size 960x600 --frames " +
                                std::to_string(program.frames) + " --overdraw '" + out + "' >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    if (status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        if (std::FILE* file = std::fopen(out.c_str(), "r")) {
            char text[256];
            while (std::fgets(text, sizeof text, file) != nullptr) {
                int frame = 0;
                FrameLine line;
                if (std::sscanf(text, "frame %d: %lld fragments (%lf windows), cpu %lld us, wall %lld us",
                                &frame, &line.fragments, &line.windows, &line.cpu, &line.wall) == 5 &&
                    frame >= program.firstMeasured)
                    lines.push_back(line);
            }
            std::fclose(file);
        }
    }
    std::system(("rm -rf '" + home + "'").c_str());
#else
    (void)program;
    (void)display;
#endif
    return lines;
}

void measure(benchmark::State& state, const Program& program, const char* display) {
    if (std::string(display) == "xvfb" && !haveXvfb()) return state.SkipWithError("xvfb-run is missing");
    std::vector<double> cpu, windows, wall;
    double frames = 0, wallSum = 0;
    for (auto _ : state) {
        const std::vector<FrameLine> lines = runOnce(program, display);
        if (lines.empty()) return state.SkipWithError("the driver failed or measured no frame");
        double runWall = 0;
        for (const FrameLine& line : lines) {
            cpu.push_back(double(line.cpu));
            windows.push_back(line.windows);
            wall.push_back(double(line.wall));
            runWall += double(line.wall);
        }
        frames += double(lines.size());
        wallSum += runWall;
        state.SetIterationTime(runWall / 1e6 / double(lines.size()));
    }
    cpu_set_t set;
    CPU_ZERO(&set);
    const int cores = sched_getaffinity(0, sizeof set, &set) == 0 ? CPU_COUNT(&set) : 0;
    state.counters["cpu_us"] = median(cpu);
    state.counters["windows"] = median(windows);
    state.counters["wall_us"] = median(wall);
    state.counters["fps"] = wallSum > 0 ? frames / (wallSum / 1e6) : 0;
    state.counters["cores"] = cores;
}

void GameFrame(benchmark::State& state, const char* display) {
    measure(state, kGame, display);
}
void WorldMapFrame(benchmark::State& state, const char* display) {
    measure(state, kWorldMap, display);
}
void MissionFrame(benchmark::State& state, const char* display) {
    measure(state, kMission, display);
}
void HeavyMissionFrame(benchmark::State& state, const char* display) {
    measure(state, kHeavyMission, display);
}
void BareFrame(benchmark::State& state, const char* display) {
    measure(state, kBare, display);
}

} // namespace

BENCHMARK_CAPTURE(GameFrame, offscreen, "offscreen")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(WorldMapFrame, offscreen, "offscreen")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(MissionFrame, offscreen, "offscreen")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(HeavyMissionFrame, offscreen, "offscreen")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BareFrame, offscreen, "offscreen")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(GameFrame, xvfb, "xvfb")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(WorldMapFrame, xvfb, "xvfb")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(MissionFrame, xvfb, "xvfb")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(HeavyMissionFrame, xvfb, "xvfb")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BareFrame, xvfb, "xvfb")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
