#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>

#include "tools/content/ContentFiles.h"
#include "tools/content/ContentSteps.h"
#include "tools/content/CreatureArt.h"
#include "tools/content/SpriteSheet.h"

namespace kvcontent {

namespace {
using Counts = std::map<std::string, int>;

// Reads the frame counts of the animation settings: set name -> key -> count.
bool readAnimationCounts(const std::string& path, std::map<std::string, Counts>& out) {
  xmlDocPtr doc = xmlReadFile(path.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  if (!doc) {
    logLine("cannot read the animation settings " + path);
    return false;
  }
  auto elements = [](xmlNode* node) {
    std::vector<xmlNode*> list;
    for (xmlNode* c = node ? node->children : nullptr; c; c = c->next) {
      if (c->type == XML_ELEMENT_NODE) list.push_back(c);
    }
    return list;
  };
  auto text = [](xmlNode* node) {
    xmlChar* t = xmlNodeGetContent(node);
    std::string s = t ? reinterpret_cast<const char*>(t) : "";
    xmlFree(t);
    return s;
  };
  std::vector<xmlNode*> top = elements(xmlDocGetRootElement(doc));
  std::vector<xmlNode*> sets = top.empty() ? std::vector<xmlNode*>() : elements(top[0]);
  for (size_t i = 0; i + 1 < sets.size(); i += 2) {
    std::vector<xmlNode*> entries = elements(sets[i + 1]);
    Counts& counts = out[text(sets[i])];
    for (size_t j = 0; j + 1 < entries.size(); j += 2) counts[text(entries[j])] = std::atoi(text(entries[j + 1]).c_str());
  }
  xmlFreeDoc(doc);
  return true;
}

struct CreatureSheet {
  const char* sprite;
  bool areaAttack;
  bool distanceAttack;
};
const CreatureSheet kKelvos[] = {
    {"steev", true, false}, {"vahine", false, false}, {"kiwa", false, false},
    {"clint", false, true}, {"sammo", true, false}, {"kiwa0", false, false}, {"kiwa2", false, false},
};
const char* const kKelvoWords[] = {"idle", "stretch", "stretch_idle", "stretch_release", "launched", "hit",
                                   "hit_healed", "wait", "victory", "ko", "fall", "anchor"};

bool writeSheet(const BuildPaths& paths, const std::string& sheetName, std::vector<SheetFrame> frames) {
  SpriteSheet sheet;
  if (frames.empty()) {
    logLine(sheetName + ": no frames drawn");
    return false;
  }
  const size_t count = frames.size();
  if (!sheet.pack(std::move(frames)) || !sheet.write(paths.target + "/sheets", sheetName)) return false;
  // A plain PNG of the sheet for reviewing the drawings, when asked for.
  if (const char* preview = std::getenv("KELVOS_CONTENT_PREVIEW")) {
    const Bytes png = encodePng(sheet.texture());
    writeResource(std::string(preview) + "/" + sheetName + "-preview.PnG", png);
  }
  logLine("sheet " + sheetName + ": " + std::to_string(count) + " frames, " + std::to_string(sheet.texture().width) +
          " x " + std::to_string(sheet.texture().height));
  return true;
}
}  // namespace

bool buildSheets(const BuildPaths& paths) {
  std::map<std::string, Counts> settings;
  if (!readAnimationCounts(paths.source + "/data/params/animSettings.plist", settings)) return false;
  const Counts& kelvo = settings["kelvo"];
  bool ok = true;
  for (const CreatureSheet& creature : kKelvos) {
    std::vector<AnimationSpec> animations;
    for (const char* word : kKelvoWords) {
      const auto found = kelvo.find(word);
      if (found == kelvo.end() || found->second <= 0) {
        logLine(std::string("animation settings of kelvo lack ") + word);
        ok = false;
        continue;
      }
      animations.push_back({word, found->second});
    }
    auto count = [&kelvo](const char* key) {
      const auto found = kelvo.find(key);
      return found == kelvo.end() ? 0 : found->second;
    };
    if (creature.areaAttack) animations.push_back({"attack", count("aoe_start") + count("aoe_end")});
    if (creature.distanceAttack) {
      animations.push_back({"attack_distant", count("shoot_start") + count("shoot_middle") + count("shoot_end")});
    }
    ok = writeSheet(paths, std::string(creature.sprite) + "_ss", drawKelvoFrames(creature.sprite, animations)) && ok;
  }
  // Crustaceans: the words of their views, with the counts of each kind's animation set.
  const char* const crustaceans[] = {"crab", "shrimp", "hermit"};
  for (const char* kind : crustaceans) {
    const Counts& counts = settings[kind];
    std::vector<AnimationSpec> animations;
    for (const char* word : {"idle", "throw", "hit", "ko", "victory", "impulse"}) {
      const auto found = counts.find(word);
      if (found == counts.end() || found->second <= 0) {
        logLine(std::string("animation settings of ") + kind + " lack " + word);
        ok = false;
        continue;
      }
      animations.push_back({word, found->second});
    }
    // The area attack uses "attack" frames 1..aoe; the hermit's shot uses them for its
    // beginning and end.
    const bool hermit = std::string(kind) == "hermit";
    const auto aoe = counts.find("aoe");
    int attack = aoe == counts.end() ? 0 : aoe->second;
    if (hermit) {
      const auto begin = counts.find("attack_begin"), end = counts.find("attack_end");
      attack = std::max(attack, (begin == counts.end() ? 0 : begin->second) + (end == counts.end() ? 0 : end->second));
    }
    if (attack > 0) animations.push_back({"attack", attack});
    ok = writeSheet(paths, std::string(kind) + "_ss", drawCrustaceanFrames(kind, animations)) && ok;
  }
  return ok;
}

}  // namespace kvcontent
