#include <cairo.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cstdio>
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

using Table = std::map<std::string, std::map<std::string, std::string>>;

// Reads a property list of rows (name -> key -> text), as the animation settings and the
// creature stats are laid out; a value that is not text (a level-up list) reads as its
// concatenated text and is not used here.
bool readTable(const std::string& path, Table& out) {
    xmlDocPtr doc =
        xmlReadFile(path.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc) {
        logLine("cannot read " + path);
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
    std::vector<xmlNode*> rows = top.empty() ? std::vector<xmlNode*>() : elements(top[0]);
    for (size_t i = 0; i + 1 < rows.size(); i += 2) {
        std::vector<xmlNode*> entries = elements(rows[i + 1]);
        auto& row = out[text(rows[i])];
        for (size_t j = 0; j + 1 < entries.size(); j += 2)
            row[text(entries[j])] = text(entries[j + 1]);
    }
    xmlFreeDoc(doc);
    return true;
}

// Reads the frame counts of the animation settings: set name -> key -> count.
bool readAnimationCounts(const std::string& path, std::map<std::string, Counts>& out) {
    Table table;
    if (!readTable(path, table)) return false;
    for (const auto& set : table)
        for (const auto& entry : set.second)
            out[set.first][entry.first] = std::atoi(entry.second.c_str());
    return true;
}

struct CreatureSheet {
    std::string sprite;
    bool areaAttack;
    bool distanceAttack;
};

// Every creature of the creature stats, by its sprite name, with the attacks its sheet must
// animate. A creature without a drawing fails the build.
bool readCreatureSheets(const std::string& path, std::vector<CreatureSheet>& out) {
    Table stats;
    if (!readTable(path, stats)) return false;
    bool ok = true;
    for (const auto& creature : stats) {
        auto text = [&creature](const char* key) {
            const auto found = creature.second.find(key);
            return found == creature.second.end() ? std::string() : found->second;
        };
        const std::string sprite = text("sprite_name");
        if (sprite.empty() || !hasKelvoLook(sprite)) {
            logLine("creature " + creature.first + ": no drawing for its sprite \"" + sprite + "\"");
            ok = false;
            continue;
        }
        if (std::any_of(out.begin(), out.end(),
                        [&sprite](const CreatureSheet& c) { return c.sprite == sprite; }))
            continue;
        out.push_back({sprite, text("hasAOEAttack") == "YES", text("hasDistanceAttack") == "YES"});
    }
    return ok;
}

// Every helmet of the helmet table, by its sprite name. A helmet without a drawing fails the build.
bool readHelmetSprites(const std::string& path, std::vector<std::string>& out) {
    Table helmets;
    if (!readTable(path, helmets)) return false;
    bool ok = true;
    for (const auto& helmet : helmets) {
        const auto found = helmet.second.find("sprite_name");
        const std::string sprite = found == helmet.second.end() ? std::string() : found->second;
        if (sprite.empty() || !hasHelmetDrawing(sprite)) {
            logLine("helmet " + helmet.first + ": no drawing for its sprite \"" + sprite + "\"");
            ok = false;
            continue;
        }
        out.push_back(sprite);
    }
    return ok;
}

const char* const kKelvoWords[] = {"idle",     "stretch", "stretch_idle", "stretch_release",
                                   "launched", "hit",     "hit_healed",   "wait",
                                   "victory",  "ko",      "fall",         "anchor"};

// A strip of kelvos wearing the helmets as the view draws them (helmet at scale 0.85 over
// the body, both centred on the untrimmed frame), for reviewing the helmet placement.
void writeWearingPreview(const std::string& folder, const std::vector<AnimationSpec>& animations,
                         const std::vector<std::string>& kelvos, const std::vector<std::string>& helmets) {
    if (kelvos.empty() || helmets.empty()) return;
    std::vector<AnimationSpec> some;
    for (const AnimationSpec& a : animations) {
        if (a.word == "idle" || a.word == "stretch" || a.word == "victory" || a.word == "ko")
            some.push_back({a.word, a.frames});
    }
    const int cell = 192;
    std::vector<std::vector<SheetFrame>> helmetFrames;
    for (const std::string& helmet : helmets)
        helmetFrames.push_back(drawHelmetFrames(helmet, some));
    std::vector<std::vector<SheetFrame>> kelvoFrames;
    for (const std::string& kelvo : kelvos)
        kelvoFrames.push_back(drawKelvoFrames(kelvo, some));
    const int rows = static_cast<int>(helmets.size());
    const int columns = static_cast<int>(helmetFrames[0].size());
    cairo_surface_t* canvas =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, columns * cell / 2, rows * cell / 2);
    cairo_t* cr = cairo_create(canvas);
    cairo_scale(cr, 0.5, 0.5);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            cairo_save(cr);
            cairo_translate(cr, column * cell, row * cell);
            cairo_surface_t* body = surfaceFromImage(
                kelvoFrames[static_cast<size_t>(row) % kelvoFrames.size()][static_cast<size_t>(column)]
                    .picture);
            cairo_set_source_surface(cr, body, 0, 0);
            cairo_paint(cr);
            cairo_surface_destroy(body);
            cairo_translate(cr, cell / 2.0, cell / 2.0);
            cairo_scale(cr, 0.85, 0.85);
            cairo_translate(cr, -cell / 2.0, -cell / 2.0);
            cairo_surface_t* hat =
                surfaceFromImage(helmetFrames[static_cast<size_t>(row)][static_cast<size_t>(column)].picture);
            cairo_set_source_surface(cr, hat, 0, 0);
            cairo_paint(cr);
            cairo_surface_destroy(hat);
            cairo_restore(cr);
        }
    }
    cairo_destroy(cr);
    writeResource(folder + "/wearing-preview.PnG", encodePng(imageFromSurface(canvas)));
    cairo_surface_destroy(canvas);
}

// Writes a sheet into `folder` under the resource root ("sheets", or the item's own folder).
bool writeSheetInto(const BuildPaths& paths, const std::string& folder, const std::string& sheetName,
                    std::vector<SheetFrame> frames) {
    SpriteSheet sheet;
    if (frames.empty()) {
        logLine(sheetName + ": no frames drawn");
        return false;
    }
    const size_t count = frames.size();
    if (!sheet.pack(std::move(frames)) || !sheet.write(paths.target + "/" + folder, sheetName)) return false;
    logLine("sheet " + sheetName + ": " + std::to_string(count) + " frames, " +
            std::to_string(sheet.texture().width) + " x " + std::to_string(sheet.texture().height));
    return true;
}

bool writeSheet(const BuildPaths& paths, const std::string& sheetName, std::vector<SheetFrame> frames) {
    return writeSheetInto(paths, "sheets", sheetName, std::move(frames));
}

// The kelvo views strike an area attack when the body shows "<sprite>_attack_30.png". The drawn
// wind-up is shorter: its last frame is the blow, so it also goes by that name.
constexpr int kAreaImpactFrame = 30;

void nameAreaImpactFrame(const std::string& sprite, int windUpFrames, std::vector<SheetFrame>& frames) {
    if (windUpFrames <= 0 || windUpFrames >= kAreaImpactFrame) return;
    char blow[96];
    std::snprintf(blow, sizeof blow, "%s_attack_%02d.png", sprite.c_str(), windUpFrames);
    char impact[96];
    std::snprintf(impact, sizeof impact, "%s_attack_%02d.png", sprite.c_str(), kAreaImpactFrame);
    for (SheetFrame& frame : frames)
        if (frame.name == blow) frame.sameAs.emplace_back(impact);
}
} // namespace

bool buildSheets(const BuildPaths& paths) {
    std::map<std::string, Counts> settings;
    if (!readAnimationCounts(paths.source + "/data/params/animSettings.plist", settings)) return false;
    const Counts& kelvo = settings["kelvo"];
    std::vector<CreatureSheet> creatures;
    bool ok = readCreatureSheets(paths.source + "/data/params/kelvoStats.plist", creatures);
    for (const CreatureSheet& creature : creatures) {
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
        // The distance attack: the aim, one shoot strip for each of the eight aim sectors, the
        // recovery.
        if (creature.distanceAttack) {
            animations.push_back(
                {"attack_distant", count("shoot_start") + 8 * count("shoot_middle") + count("shoot_end")});
        }
        std::vector<SheetFrame> frames = drawKelvoFrames(creature.sprite, animations);
        if (creature.areaAttack) nameAreaImpactFrame(creature.sprite, count("aoe_start"), frames);
        // Each kelvo's sheet lies in a folder named after it: the shop's panel loads it by that
        // path, the other screens by its bare name.
        ok = writeSheetInto(paths, creature.sprite, creature.sprite + "_ss", std::move(frames)) && ok;
    }
    std::vector<std::string> portraits;
    for (const CreatureSheet& creature : creatures)
        portraits.push_back(creature.sprite);
    ok = buildPortraits(paths, portraits) && ok;
    ok = buildHudSheets(paths, portraits) && ok;
    // Helmets play the kelvo animations, area and distance attacks included.
    {
        std::vector<AnimationSpec> animations;
        for (const char* word : kKelvoWords) {
            const auto found = kelvo.find(word);
            if (found != kelvo.end() && found->second > 0) animations.push_back({word, found->second});
        }
        auto count = [&kelvo](const char* key) {
            const auto found = kelvo.find(key);
            return found == kelvo.end() ? 0 : found->second;
        };
        animations.push_back({"attack", count("aoe_start") + count("aoe_end")});
        animations.push_back(
            {"attack_distant", count("shoot_start") + 8 * count("shoot_middle") + count("shoot_end")});
        std::vector<std::string> helmets;
        ok = readHelmetSprites(paths.source + "/data/params/helmets.plist", helmets) && ok;
        if (const char* preview = std::getenv("KELVOS_CONTENT_PREVIEW")) {
            std::vector<std::string> wearers;
            for (const CreatureSheet& creature : creatures)
                wearers.push_back(creature.sprite);
            writeWearingPreview(preview, animations, wearers, helmets);
        }
        std::vector<SheetFrame> icons;
        for (const std::string& helmet : helmets) {
            // The helmet's sheet and its menu form (the shop panel's idle frames) in the helmet's
            // own folder.
            ok = writeSheetInto(paths, helmet, helmet + "_ss", drawHelmetFrames(helmet, animations)) && ok;
            // The shop panel shows "<helmet>_idle_01.png" of the menu form, 88 points wide.
            SheetFrame picture = drawHelmetPicture(helmet, 176, helmet + "_idle_01.png");
            for (int n = 2; n <= count("idle"); ++n) {
                char name[96];
                std::snprintf(name, sizeof name, "%s_idle_%02d.png", helmet.c_str(), n);
                picture.sameAs.emplace_back(name);
            }
            std::vector<SheetFrame> menuForm;
            menuForm.push_back(std::move(picture));
            ok = writeSheetInto(paths, helmet, helmet + "_frontend_ss", std::move(menuForm)) && ok;
            icons.push_back(drawHelmetIcon(helmet));
        }
        // The icons of the portrait lists, all helmets in one sheet.
        ok = writeSheet(paths, "frontend_helmet_ss", std::move(icons)) && ok;
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
            attack = std::max(attack, (begin == counts.end() ? 0 : begin->second) +
                                          (end == counts.end() ? 0 : end->second));
        }
        if (attack > 0) animations.push_back({"attack", attack});
        ok = writeSheet(paths, std::string(kind) + "_ss", drawCrustaceanFrames(kind, animations)) && ok;
    }
    ok = buildBossSheets(paths, settings["coconut_crab"]) && ok;
    return ok;
}

} // namespace kvcontent
