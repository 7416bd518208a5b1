// The content check: every file the game data names exists and loads through the
// engine's own readers, every frame the creature views ask for is in its sheet, every
// sound event the sound manager plays is in a table, and every localisation key the code
// uses is in all five tables with the placeholders the code passes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <tuple>

#include "ContentTestSupport.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/director/CCConfiguration.h"
#include "engine/files/CCFileUtils.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/files/CCZipUtils.h"
#include "engine/textures/CCDecodedImage.h"
#include "engine/textures/CCTexturePVR.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameParameters.h"
#include "game/rules/KVRuleCombo.h"
#include "game/shop/KVStorePacks.h"
#include "game/views/KVKelvoV.h"
#include "support/SoundEffectNames.h"

using namespace kvcontenttest;

namespace {
// Frames of a sheet, read through the engine's property-list reader.
std::set<std::string> sheetFrames(const std::string& sheetName) {
    std::set<std::string> names;
    for (const std::string& name : keysOf(dictAt(loadPlist(sheetName + ".plist"), "frames")))
        names.insert(name);
    return names;
}

// The five text tables (released by the caller); a table that does not load fails the test.
std::vector<kvengine::CCLocalizationManager*> loadTextTables() {
    std::vector<kvengine::CCLocalizationManager*> tables;
    for (const char* folder : {"English", "fr", "es", "de", "it"}) {
        tables.push_back(new kvengine::CCLocalizationManager());
        EXPECT_TRUE(tables.back()->loadStringsFile(std::string(folder) + ".lproj/localizable.strings"))
            << folder;
    }
    return tables;
}

std::string frameName(const std::string& sprite, const std::string& word, int number) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "%s_%s_%02d.png", sprite.c_str(), word.c_str(), number);
    return buffer;
}
} // namespace

TEST(ContentCheck, SettingsCarryEveryKeyTheGameReads) {
    PoolScope pool;
    Dict* setup = loadPlist("gameSetup.plist");
    ASSERT_NE(setup, nullptr);
    for (const char* key :
         {"DisableIntroductionVideo", "PhysicsUseFixedTimeStep", "DisableMenuMusic", "DisableGameMusic",
          "MenuMusicEvent", "DefaultTexturePixelFormal16bit", "ResetPlayerProfile", "IgnoreOFXForPlists",
          "DrawDebug", "DrawDebugAI", "DefaultTroops", "HUDHideOOS", "HUDHideExceptOOS"}) {
        EXPECT_FALSE(textAt(setup, key).empty()) << key;
    }
    EXPECT_EQ(textAt(setup, "DisableIntroductionVideo"), "YES"); // there is no introduction video
}

TEST(ContentCheck, GameParametersLoadAndMissionsHaveDefinitions) {
    PoolScope pool;
    for (const char* name : {"chapiterSolo", "mapHuddle", "kelvoStats", "kelvoStatsAI", "helmets",
                             "consumables", "animSettings", "powerups", "levelUpSettings", "OfflineStore"}) {
        EXPECT_NE(loadPlist(std::string(name) + ".plist"), nullptr) << name;
    }
    Dict* chapters = loadPlist("chapiterSolo.plist");
    for (const std::string& chapter : keysOf(chapters)) {
        Dict* record = dictAt(chapters, chapter);
        EXPECT_FALSE(textAt(record, "status_locked").empty()) << chapter;
        const std::vector<std::string> missions = textsOf(arrayAt(record, "mission_list"));
        EXPECT_FALSE(missions.empty()) << chapter;
        for (const std::string& mission : missions) {
            Dict* definition = loadPlist(mission + "_DEF.plist");
            ASSERT_NE(definition, nullptr) << mission;
            EXPECT_FALSE(textAt(definition, "status_locked").empty()) << mission;
            EXPECT_FALSE(textAt(dictAt(definition, "victory_condition"), "condition").empty()) << mission;
            EXPECT_FALSE(textAt(dictAt(definition, "fail_condition"), "condition").empty()) << mission;
        }
    }
}

TEST(ContentCheck, CreaturesHaveTheDefaultSquadAndCompleteStats) {
    PoolScope pool;
    Dict* kelvos = loadPlist("kelvoStats.plist");
    // The default squad and the two creatures the tutorial sells.
    for (const char* name : {"steev", "vahine", "kiwa", "kiwa0", "kiwa2", "clint", "sammo"})
        EXPECT_NE(dictAt(kelvos, name), nullptr) << name;
    for (const std::string& name : keysOf(kelvos)) {
        Dict* stats = dictAt(kelvos, name);
        for (const char* key :
             {"Class", "Voice", "status_locked", "sprite_name", "spritesheet_name", "Radius"})
            EXPECT_FALSE(textAt(stats, key).empty()) << name << " " << key;
        for (const char* stat : KV_STAT_NAMES)
            EXPECT_FALSE(textAt(stats, stat).empty()) << name << " " << stat;
    }
    Dict* enemies = loadPlist("kelvoStatsAI.plist");
    for (const char* name :
         {"crab", "shrimp", "hermit", "CoconutCrab", "CoconutCrabEye", "CoconutCrabMouth"}) {
        Dict* stats = dictAt(enemies, name);
        ASSERT_NE(stats, nullptr) << name;
        EXPECT_FALSE(textAt(stats, "engine_class").empty()) << name;
        EXPECT_FALSE(textAt(stats, "Pearl Reward").empty()) << name;
    }
    Dict* helmets = loadPlist("helmets.plist");
    ASSERT_NE(dictAt(helmets, "straw_hat"), nullptr);
    for (const std::string& name : keysOf(helmets)) {
        for (const char* stat : KV_STAT_NAMES)
            EXPECT_FALSE(textAt(dictAt(helmets, name), stat).empty()) << name << " " << stat;
        EXPECT_FALSE(textAt(dictAt(helmets, name), "Class").empty()) << name;
    }
}

TEST(ContentCheck, CatalogueSellsEveryConsumableHelmetAndOfferedCreatureForPearls) {
    PoolScope pool;
    Dict* store = loadPlist("OfflineStore.plist");
    auto sold = [store](const std::string& category, const std::string& item) {
        for (const std::string& key : keysOf(store)) {
            Dict* entry = dictAt(store, key);
            if (textAt(entry, "category") == category && textAt(entry, "deliverable_identifier") == item)
                return textAt(entry, "currency_identifier") == "pearl" &&
                       std::atoi(textAt(entry, "cost").c_str()) > 0;
        }
        return false;
    };
    Dict* consumables = loadPlist("consumables.plist");
    for (const std::string& key : keysOf(consumables))
        EXPECT_TRUE(sold("consumables", textAt(dictAt(consumables, key), "name"))) << key;
    for (const std::string& key : keysOf(loadPlist("helmets.plist")))
        EXPECT_TRUE(sold("helmets", key)) << key;
    Dict* kelvos = loadPlist("kelvoStats.plist");
    for (const std::string& key : keysOf(kelvos)) {
        if (textAt(dictAt(kelvos, key), "status_locked") == "2") {
            EXPECT_TRUE(sold("kelvos", key)) << key;
        }
    }
}

TEST(ContentCheck, CreatureSheetsHoldEveryFrameTheViewsAskFor) {
    PoolScope pool;
    Dict* kelvos = loadPlist("kelvoStats.plist");
    Dict* counts = dictAt(loadPlist("animSettings.plist"), "kelvo");
    ASSERT_NE(counts, nullptr);
    std::set<std::string> checkedSheets;
    for (const std::string& name : keysOf(kelvos)) {
        Dict* stats = dictAt(kelvos, name);
        const std::string sheet = textAt(stats, "spritesheet_name");
        const std::string sprite = textAt(stats, "sprite_name");
        const std::set<std::string> frames = sheetFrames(sheet);
        ASSERT_FALSE(frames.empty()) << sheet;
        for (const char* word :
             {"idle", "stretch", "stretch_idle", "stretch_release", "launched", "hit", "hit_healed"}) {
            const int n = std::atoi(textAt(counts, word).c_str());
            EXPECT_GT(n, 0) << word;
            for (int i = 1; i <= n; ++i)
                EXPECT_TRUE(frames.count(frameName(sprite, word, i))) << frameName(sprite, word, i);
        }
        // The blinks of the stretch, of the flight and of the held anchor pose.
        for (int i = 1; i <= std::atoi(textAt(counts, "stretch").c_str()); ++i)
            EXPECT_TRUE(frames.count(frameName(sprite, "stretch_blink", i)))
                << frameName(sprite, "stretch_blink", i);
        for (const char* blink : {"_launched_blink.png", "_anchor_blink.png"})
            EXPECT_TRUE(frames.count(sprite + blink)) << sprite << blink;
        if (textAt(stats, "hasAOEAttack") == "YES") {
            const int n =
                std::atoi(textAt(counts, "aoe_start").c_str()) + std::atoi(textAt(counts, "aoe_end").c_str());
            EXPECT_TRUE(frames.count(frameName(sprite, "attack", n))) << sprite;
        }
        if (textAt(stats, "hasDistanceAttack") == "YES") {
            const int n = std::atoi(textAt(counts, "shoot_start").c_str()) +
                          std::atoi(textAt(counts, "shoot_middle").c_str()) +
                          std::atoi(textAt(counts, "shoot_end").c_str());
            EXPECT_TRUE(frames.count(frameName(sprite, "attack_distant", n))) << sprite;
        }
        checkedSheets.insert(sheet);
    }
    // Each sheet's texture is read and unpacked by the engine's PVR loader, on a graphics
    // configuration with the smallest maximum texture size the game supports.
    kvengine::CCConfiguration::getInstance()->initWithExtensions("", 2048);
    for (const std::string& sheet : checkedSheets) {
        const std::string path =
            resourcePath(textAt(dictAt(loadPlist(sheet + ".plist"), "metadata"), "textureFileName"));
        ASSERT_FALSE(path.empty()) << sheet;
        kvengine::CCTexturePVR::FileBytes bytes;
        ASSERT_TRUE(kvengine::CCTexturePVR::readPVRFile(path.c_str(), &bytes)) << sheet;
        kvengine::CCTexturePVR pvr;
        ASSERT_TRUE(pvr.unpackPVRData(bytes.data.get(), bytes.size)) << sheet;
        EXPECT_EQ(pvr.getLevelCount(), 1) << sheet;
        EXPECT_TRUE(pvr.hasAlpha()) << sheet;
        EXPECT_GE(pvr.getWidth(), 512u) << sheet;
    }
}

TEST(ContentCheck, HelmetSheetsFollowEveryKelvoAnimation) {
    PoolScope pool;
    Dict* helmets = loadPlist("helmets.plist");
    Dict* counts = dictAt(loadPlist("animSettings.plist"), "kelvo");
    for (const std::string& name : keysOf(helmets)) {
        Dict* helmet = dictAt(helmets, name);
        const std::string sprite = textAt(helmet, "sprite_name");
        const std::set<std::string> frames = sheetFrames(textAt(helmet, "spritesheet_name"));
        ASSERT_FALSE(frames.empty()) << name;
        for (const char* word : {"idle", "stretch", "stretch_idle", "stretch_release", "launched", "hit",
                                 "hit_healed", "wait", "victory", "ko", "fall", "anchor"}) {
            const int n = std::atoi(textAt(counts, word).c_str());
            for (int i = 1; i <= n; ++i)
                EXPECT_TRUE(frames.count(frameName(sprite, word, i))) << frameName(sprite, word, i);
        }
    }
}

TEST(ContentCheck, CrustaceanSheetsHoldEveryFrameTheirViewsAskFor) {
    PoolScope pool;
    Dict* enemies = loadPlist("kelvoStatsAI.plist");
    Dict* settings = loadPlist("animSettings.plist");
    const std::pair<const char*, const char*> kinds[] = {
        {"KVCrab", "crab"}, {"KVShrimp", "shrimp"}, {"KVHermit", "hermit"}};
    int checked = 0;
    for (const std::string& name : keysOf(enemies)) {
        Dict* stats = dictAt(enemies, name);
        for (const auto& kind : kinds) {
            if (textAt(stats, "engine_class") != kind.first) continue;
            Dict* counts = dictAt(settings, kind.second);
            ASSERT_NE(counts, nullptr) << kind.second;
            const std::string sprite = textAt(stats, "sprite_name");
            const std::set<std::string> frames = sheetFrames(textAt(stats, "spritesheet_name"));
            for (const char* word : {"idle", "throw", "hit"}) {
                const int n = std::atoi(textAt(counts, word).c_str());
                EXPECT_GT(n, 0) << kind.second << " " << word;
                for (int i = 1; i <= n; ++i)
                    EXPECT_TRUE(frames.count(frameName(sprite, word, i))) << frameName(sprite, word, i);
            }
            ++checked;
        }
    }
    EXPECT_GE(checked, 3);
}

TEST(ContentCheck, MainMenuFindsItsFramesInTheSheetsTheMenuManagerLoads) {
    PoolScope pool;
    std::set<std::string> frames;
    std::string sheets = "menu_88_ss caustic_ss";
    for (char c = 'A'; c <= 'N'; ++c)
        sheets += std::string(" bgr_main_anim_") + c + "_ss";
    size_t start = 0;
    while (start < sheets.size()) {
        size_t end = sheets.find(' ', start);
        if (end == std::string::npos) end = sheets.size();
        const std::set<std::string> some = sheetFrames(sheets.substr(start, end - start));
        EXPECT_FALSE(some.empty()) << sheets.substr(start, end - start);
        frames.insert(some.begin(), some.end());
        start = end + 1;
    }
    for (int i = 0; i < 80; ++i) {
        char name[40];
        std::snprintf(name, sizeof name, "bgr_main_anim_%02d.png", i);
        EXPECT_TRUE(frames.count(name)) << name;
    }
    for (int i = 1; i <= 16; ++i) {
        char name[40];
        std::snprintf(name, sizeof name, "caustic_%02d.png", i);
        EXPECT_TRUE(frames.count(name)) << name;
    }
    for (const char* name : {"KV_Bt_ReglageUp.png", "KV_Bt_ReglageDown.png", "KV_Bt_CreditUp.png",
                             "KV_Bt_CreditDown.png", "KV_BT_Quit2_UP_PC.png", "KV_BT_Quit2_Down_PC.png",
                             "KV_Bt_PlayUp.png", "KV_Bt_PlayDown.png", "KV_Logo.png"}) {
        EXPECT_TRUE(frames.count(name)) << name;
    }
    EXPECT_FALSE(resourcePath("plankton.png").empty());
    // Play takes the chapter "Prologue": it must be a chapter of the game data.
    EXPECT_NE(dictAt(loadPlist("chapiterSolo.plist"), "Prologue"), nullptr);
}

TEST(ContentCheck, PopUpsButtonsAndPearlCounterFindTheirFrames) {
    PoolScope pool;
    const std::set<std::string> frontEnd = sheetFrames("frontEnd_88_ss");
    for (const char* name : {"Kv_BT_Down.png", "Kv_BT_Up.png", "KV_Perl2.png"})
        EXPECT_TRUE(frontEnd.count(name)) << name;
    const std::set<std::string> popUps = sheetFrames("menu_TC2_ss");
    for (const char* name :
         {"KV_PopupWindow.png", "Bg_GreyLayer.png", "Bg_PopUp.png", "Bg_PopUpHelmetInfo.png",
          "Bg_PopUpLevelInfo.png", "Bg_PopUpSquad.png", "Pic_Check.png", "Pic_Lock.png"})
        EXPECT_TRUE(popUps.count(name)) << name;
    for (const char* name : {"KV_StarFound.png", "KV_StarNotFound.png"})
        EXPECT_TRUE(frontEnd.count(name)) << name;
    // An unlocked creature of the catalogue greets the player from the item pop-up.
    const std::set<std::string> faces = sheetFrames("characterchatter2_TC4_ss");
    Dict* store = loadPlist("OfflineStore.plist");
    for (const std::string& product : keysOf(store)) {
        Dict* entry = dictAt(store, product);
        if (textAt(entry, "category") != "kelvos") continue;
        const std::string face = textAt(entry, "deliverable_identifier") + "_neutral_chatterLight.png";
        EXPECT_TRUE(faces.count(face)) << face;
    }
}

TEST(ContentCheck, AreaAttackAndDashFramesExist) {
    PoolScope pool;
    const std::set<std::string> frames = sheetFrames("top_sfx_51_ss");
    std::vector<std::string> names = {"AE_Area_BGR.png", "AE_Area_CHR.png"};
    char name[32];
    for (int i = 1; i <= 9; ++i) {
        std::snprintf(name, sizeof name, "AoE_melee_%02d.png", i);
        names.push_back(name);
        std::snprintf(name, sizeof name, "AoE_enemy_%02d.png", i);
        names.push_back(name);
    }
    for (int i = 1; i <= 6; ++i) {
        std::snprintf(name, sizeof name, "doubledash_%02d.png", i);
        names.push_back(name);
    }
    for (const std::string& frame : names)
        EXPECT_TRUE(frames.count(frame)) << frame;
}

TEST(ContentCheck, PawnViewsAndEffectsFindTheirFrames) {
    PoolScope pool;
    struct Numbered {
        const char* sheet;
        const char* stem;
        int last;
    } const numbered[] = {{"top_sfx_51_ss", "puff_enemy", 6}, {"top_sfx_51_ss", "puff_kelvo", 6},
                          {"top_sfx_51_ss", "puff_dirt", 6},  {"top_sfx_51_ss", "hit_enemy", 4},
                          {"top_sfx_51_ss", "hit_kelvo", 4},  {"top_sfx_51_ss", "hit_heal", 4},
                          {"top_sfx_51_ss", "spawn_pawn", 13}};
    std::map<std::string, std::set<std::string>> sheets;
    auto frames = [&sheets](const std::string& sheet) -> const std::set<std::string>& {
        auto found = sheets.find(sheet);
        if (found == sheets.end()) found = sheets.emplace(sheet, sheetFrames(sheet)).first;
        return found->second;
    };
    char name[64];
    for (const Numbered& n : numbered)
        for (int i = 1; i <= n.last; ++i) {
            std::snprintf(name, sizeof name, "%s_%02d.png", n.stem, i);
            EXPECT_TRUE(frames(n.sheet).count(name)) << n.sheet << ": " << name;
        }
    const std::pair<const char*, const char*> single[] = {
        {"top_sfx_51_ss", "combo_hit_01.png"},
        {"top_sfx_51_ss", "HP_GaugeSmall_GreenFill.png"},
        {"top_sfx_51_ss", "HP_GaugeSmall_RedFill.png"},
        {"top_sfx_51_ss", "HP_GaugeSmall_Stroke.png"},
        {"low_sfx_88_ss", "PlayingChar_CircleGrey.png"},
        {"low_sfx_88_ss", "PlayingChar_Circle.png"},
        {"low_sfx_88_ss", "PlayingChar_Bubble.png"},
        {"low_sfx_88_ss", "target_enemy.png"},
        {"low_sfx_88_ss", "KV_DommageBulleBlanche1.png"},
        {"low_sfx_88_ss", "KV_DommageBulleBlanche2.png"},
        {"low_sfx_88_ss", "Kv_EncartHP_bleu.png"},
        {"low_sfx_88_ss", "Kv_EncartHP_Vert.png"},
        {"low_sfx_51_ss", "NinjaLog.png"},
        {"low_sfx_51_ss", "spikyshell.png"},
    };
    for (const auto& frame : single)
        EXPECT_TRUE(frames(frame.first).count(frame.second)) << frame.first << ": " << frame.second;
}

TEST(ContentCheck, ComboStickersAndTheKelvosAttackAndPowerupFramesExist) {
    PoolScope pool;
    // Every sticker a combo can carry, the badge and the band, in a sheet every mission loads.
    const std::set<std::string> stickers = sheetFrames("top_sfx_88_ss");
    std::set<std::string> wanted = {"combo_pearls.png", "combo_sticker.png"};
    for (int type = 0; type < kComboTypeCount; ++type)
        for (int counter = 0; counter <= 6; ++counter) {
            const char* sticker = KVEffectComboPearl::rewardFor(type, counter).sticker;
            if (std::string(sticker) != "Undefined") wanted.insert(sticker);
        }
    EXPECT_EQ(wanted.size(), 11u);
    for (const std::string& frame : wanted)
        EXPECT_TRUE(stickers.count(frame)) << frame;
    const std::set<std::string> low51 = sheetFrames("low_sfx_51_ss");
    for (const char* frame :
         {"spikyshell.png", "spikyshell_active.png", "spikyshell_blink.png", "NinjaLog.png"})
        EXPECT_TRUE(low51.count(frame)) << frame;
    EXPECT_TRUE(sheetFrames("low_sfx_88_ss").count("PlayingChar_BubbleRed.png"));

    // Every frame of the area and distance attacks of each creature that has them: the wind-up,
    // the eight aimed shoot strips and the recoveries.
    Dict* kelvos = loadPlist("kelvoStats.plist");
    Dict* counts = dictAt(loadPlist("animSettings.plist"), "kelvo");
    ASSERT_NE(counts, nullptr);
    auto count = [counts](const char* key) { return std::atoi(textAt(counts, key).c_str()); };
    for (const std::string& name : keysOf(kelvos)) {
        Dict* stats = dictAt(kelvos, name);
        const std::set<std::string> frames = sheetFrames(textAt(stats, "spritesheet_name"));
        const std::string sprite = textAt(stats, "sprite_name");
        struct Strip {
            const char* has;
            const char* word;
            int frames;
        } const strips[] = {
            {"hasAOEAttack", "attack", count("aoe_start") + count("aoe_end")},
            {"hasDistanceAttack", "attack_distant",
             count("shoot_start") + 8 * count("shoot_middle") + count("shoot_end")},
        };
        for (const Strip& strip : strips) {
            if (textAt(stats, strip.has) != "YES") continue;
            EXPECT_GT(strip.frames, 0) << name << " " << strip.word;
            for (int i = 1; i <= strip.frames; ++i)
                EXPECT_TRUE(frames.count(frameName(sprite, strip.word, i)))
                    << frameName(sprite, strip.word, i);
        }
        // The area attack strikes when the body shows the impact frame: the picture of the
        // wind-up's last frame, unless the wind-up is long enough to hold a frame of its own.
        if (textAt(stats, "hasAOEAttack") == "YES") {
            const std::string impact = frameName(sprite, "attack", KVKelvoV::kAoeImpactFrame);
            ASSERT_TRUE(frames.count(impact)) << impact;
            if (count("aoe_start") < KVKelvoV::kAoeImpactFrame) {
                Dict* sheetFrameTable =
                    dictAt(loadPlist(textAt(stats, "spritesheet_name") + ".plist"), "frames");
                EXPECT_EQ(
                    textAt(dictAt(sheetFrameTable, impact), "frame"),
                    textAt(dictAt(sheetFrameTable, frameName(sprite, "attack", count("aoe_start"))), "frame"))
                    << impact;
            }
        }
    }
    // The helmets follow both attacks of any kelvo that wears them.
    Dict* helmets = loadPlist("helmets.plist");
    for (const std::string& name : keysOf(helmets)) {
        Dict* helmet = dictAt(helmets, name);
        const std::set<std::string> frames = sheetFrames(textAt(helmet, "spritesheet_name"));
        const std::string sprite = textAt(helmet, "sprite_name");
        for (const auto& [word, n] :
             {std::pair<const char*, int>{"attack", count("aoe_start") + count("aoe_end")},
              {"attack_distant", count("shoot_start") + 8 * count("shoot_middle") + count("shoot_end")}})
            for (int i = 1; i <= n; ++i)
                EXPECT_TRUE(frames.count(frameName(sprite, word, i))) << frameName(sprite, word, i);
    }
}

TEST(ContentCheck, MissionLoadingScreenAndEveryMissionSheetExist) {
    PoolScope pool;
    const std::set<std::string> back = sheetFrames("loading_screen_pvrtc2_ss");
    EXPECT_TRUE(back.count("Loading_layer_background.png"));
    const std::set<std::string> front = sheetFrames("loading_screen_pvrtc4_ss");
    for (const char* name :
         {"Loading_layer_middle.png", "Loading_layer_foreground.png", "KV_Loading_Banner.png"})
        EXPECT_TRUE(front.count(name)) << name;
    // The gameplay layer loads these for every mission: each needs its plist and texture.
    for (const char* sheet :
         {"global_ss", "top_sfx_51_ss", "low_sfx_51_ss", "top_sfx_88_ss", "low_sfx_88_ss",
          "low_sfx_PVRTC4_ss", "low_sfx_PVRTC4_2_ss", "hidden_char1_TC2_ss", "frontend_helmet_ss"}) {
        for (const char* extension : {"plist", "pvr.ccz"}) {
            EXPECT_TRUE(kvengine::CCResourceIndex::getInstance()->containsFileName(std::string(sheet) + "." +
                                                                                   extension))
                << sheet << "." << extension;
        }
    }
}

TEST(ContentCheck, PearlsReachPointsAndTheHiddenCharacterFindTheirFrames) {
    PoolScope pool;
    const std::set<std::string> global = sheetFrames("global_ss");
    for (const char* name : {"pearl.png", "pearl_glow.png"})
        EXPECT_TRUE(global.count(name)) << name;
    // The trigger views loop their frames from _01 until the first missing number: at least two.
    const std::pair<const char*, const char*> animated[] = {{"low_sfx_88_ss", "reachpoint"},
                                                            {"hidden_char1_TC2_ss", "HiddenChar"}};
    for (const auto& [sheet, stem] : animated) {
        const std::set<std::string> frames = sheetFrames(sheet);
        for (int i = 1; i <= 2; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "%s_%02d.png", stem, i);
            EXPECT_TRUE(frames.count(name)) << sheet << ": " << name;
        }
    }
}

TEST(ContentCheck, ProjectilesHazardsAndPowerupsFindTheirFrames) {
    PoolScope pool;
    const std::set<std::string> global = sheetFrames("global_ss");
    for (const char* name : {"projectile_enemy.png", "projectile_kelvos.png"})
        EXPECT_TRUE(global.count(name)) << name;
    const std::set<std::string> top = sheetFrames("top_sfx_51_ss");
    // The flying shuriken and each power-up's icon with its HUD twin.
    for (const char* stem :
         {"ShurikenIcon", "powerup_cocktail", "Powerup_sushi", "powerup_spikyshell", "powerup_ninjalog"}) {
        EXPECT_TRUE(top.count(std::string(stem) + ".png")) << stem;
        EXPECT_TRUE(top.count(std::string(stem) + "Hud.png")) << stem;
    }
    const std::set<std::string> low = sheetFrames("low_sfx_51_ss");
    for (const char* name : {"vortex-0.png", "vortex-1.png", "vortex-2.png", "vortex-3.png", "powerup.png"})
        EXPECT_TRUE(low.count(name)) << name;
    // The geyser's particles take their texture from the resource index.
    EXPECT_TRUE(kvengine::CCResourceIndex::getInstance()->containsFileName("plankton.png"));
}

TEST(ContentCheck, LevelObjectsFindTheirFrames) {
    PoolScope pool;
    const std::set<std::string> global = sheetFrames("global_ss");
    for (const char* name :
         {"GPE_Ball.png", "GPE_SpikyBall.png", "GPE_Anchor.png", "GPE_Fugu.png", "GPE_Fugu_angry.png"})
        EXPECT_TRUE(global.count(name)) << name;
}

// The chests' pictures of the stem the levels use, the hidden star, and the kraken's forty frames
// spread over the three sheets the gameplay layer loads when the profile holds a kraken.
TEST(ContentCheck, ChestsTheHiddenStarAndTheKrakenFindTheirFrames) {
    PoolScope pool;
    const std::set<std::string> global = sheetFrames("global_ss");
    for (const char* name : {"chest_closed.png", "chest_opened.png", "hidden_star.png"})
        EXPECT_TRUE(global.count(name)) << name;
    std::set<std::string> kraken;
    for (const char* sheet : {"kraken_fx_a_ss", "kraken_fx_b_ss", "kraken_fx_c_ss"}) {
        const std::set<std::string> frames = sheetFrames(sheet);
        EXPECT_FALSE(frames.empty()) << sheet;
        kraken.insert(frames.begin(), frames.end());
    }
    for (int i = 1; i <= 40; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "kraken_fx_%02d.png", i);
        EXPECT_TRUE(kraken.count(name)) << name;
    }
}

// The boss view asks every part for every frame of its animations, with the counts of the set
// "coconut_crab"; its effects for fixed counts.
TEST(ContentCheck, TheCoconutCrabFindsEveryFrameOfItsSheets) {
    PoolScope pool;
    Dict* counts = dictAt(loadPlist("animSettings.plist"), "coconut_crab");
    ASSERT_NE(counts, nullptr);
    auto expectFrames = [](const std::string& sheet, const std::string& stem, int count) {
        const std::set<std::string> frames = sheetFrames(sheet);
        EXPECT_GT(count, 0) << stem;
        for (int i = 1; i <= count; ++i) {
            char name[96];
            std::snprintf(name, sizeof name, "%s_%02d.png", stem.c_str(), i);
            EXPECT_TRUE(frames.count(name)) << sheet << ": " << name;
        }
    };
    for (const char* part : {"body", "head", "l_arm", "r_arm", "l_claw", "r_claw"})
        for (const char* word : {"idle", "quake", "swipe", "throw_left", "throw_right"})
            expectFrames(std::string("coconut_crab_") + part + "_ss", std::string(part) + "_" + word,
                         std::atoi(textAt(counts, word).c_str()));
    for (const char* pose : {"idle_ko_left", "idle_ko_right", "idle_ko", "idle_weakpoint"})
        expectFrames("coconut_crab_head_ss", std::string("head_") + pose,
                     std::atoi(textAt(counts, pose).c_str()));
    expectFrames("coconut_crab_sfx_ss", "swipe_sfx", 9);
    expectFrames("coconut_crab_sfx_weakpoint_ss", "weak_sfx", 23);
    // The boss parts' stats name the body's sheet, which brings the other seven with it.
    Dict* stats = loadPlist("kelvoStatsAI.plist");
    for (const char* entry : {"CoconutCrab", "CoconutCrabEye", "CoconutCrabMouth"})
        EXPECT_EQ(textAt(dictAt(stats, entry), "spritesheet_name"), "coconut_crab_body_ss") << entry;
}

TEST(ContentCheck, FrontEndSheetsHoldEveryButtonMarkAndBubble) {
    PoolScope pool;
    const std::set<std::string> frontEnd = sheetFrames("frontEnd_88_ss");
    std::vector<std::string> names = {
        // The pictures of every button kind.
        "Bt_Small_Up.png", "Bt_Small_Down.png", "Bt_Mid_Up.png", "Bt_Mid_Down.png", "Bt_Big_Up.png",
        "Bt_Big_Down.png", "Bt_SpecialProp_Up.png", "Bt_SpecialProp_Down.png", "Kv_BT_Up.png",
        "Kv_BT_Down.png", "KV_BT_Back.png", "KV_BT_BackDown.png", "KV_BT_Squad.png", "KV_BT_SquadDown.png",
        "KV_Bt_BuyNormal.png", "KV_Bt_BuyDown.png", "KV_BT_FreePearls.png", "KV_BT_FreePearls_Down.png",
        "KV_Bt_ViewSmallNormal.png", "KV_Bt_ViewSmallDown.png", "KV_Bt_up_Transfert.png",
        "KV_Bt_Down_Transfert.png",
        // Arrows, pearls, stars, bubbles, marks and card frames.
        "KV_Bt_FlecheGauche_Normal.png", "KV_Bt_FlecheGauche_Down.png", "KV_Bt_FlecheDroite_Normal.png",
        "KV_Bt_FlecheDroite_Down.png", "KV_Perl2.png", "KV_Perl3.png", "KV_Star.png", "KV_StarFound.png",
        "KV_StarNotFound.png", "KV_ZoneStarFound.png", "KV_CadreBulle.png", "KV_CadreBulleLocked.png",
        "KV_bubbleMissionDefault.png", "KV_IconeNew.png", "KV_hilightLongStats.png", "KV_MotifPerso.png",
        "KV_hilightLevel.png", "KV_CadreLargeNormal.png", "KV_CadreLargeSelect.png",
        "KV_CadreStuffNormal.png", "KV_CadreStuffSelect.png", "KV_IconeEquip.png", "KV_Iconelocked.png",
        "KV_hiddenLarge.png"};
    for (const char* tab : {"Stuff", "Helmets", "Kelvos"})
        for (const char* state : {"Normal", "Down", "Select"})
            names.push_back(std::string("KV_BT_") + tab + state + ".png");
    for (const char* cls : {"Frigate", "Destroyer", "Torpedo", "Zodiac"})
        names.push_back(std::string("KV_Bt_") + cls + ".png");
    for (int i = 1; i <= 12; ++i) {
        char name[40];
        std::snprintf(name, sizeof name, "Kv_BT_Levelup%02d.png", i);
        names.push_back(name);
    }
    for (int i = 1; i <= 9; ++i) {
        char name[40];
        std::snprintf(name, sizeof name, "doubletap%02d.png", i);
        names.push_back(name);
    }
    // One bubble of its own per mission of the solo chapters.
    Dict* chapters = loadPlist("chapiterSolo.plist");
    for (const std::string& chapter : keysOf(chapters)) {
        Array* missions = arrayAt(dictAt(chapters, chapter), "mission_list");
        ASSERT_NE(missions, nullptr) << chapter;
        for (const std::string& mission : textsOf(missions))
            names.push_back("KV_bubbleMission" + mission + ".png");
    }
    for (const std::string& name : names)
        EXPECT_TRUE(frontEnd.count(name)) << name;
    for (const char* sheet : {"background_ss", "ipad_menu_88_ss"})
        EXPECT_TRUE(sheetFrames(sheet).count("KV_Fond.png")) << sheet;
    for (const char* name : {"KV_FondBasZoneShop.png", "KV_FondhautZoneShop.png"})
        EXPECT_TRUE(sheetFrames("background_ss").count(name)) << name;
}

TEST(ContentCheck, ResultScreensFindTheirFramesAndMissionsNameKnownItemsAndTexts) {
    PoolScope pool;
    std::set<std::string> victory = sheetFrames("victory_screen_88_ss");
    for (const std::string& name : sheetFrames("victory_screen_tc4_ss"))
        victory.insert(name);
    for (const char* name : {"KV_AllTotems.png", "KV_Bulle.png", "KV_Bulle_boo.png", "KV_IconeNew.png"})
        EXPECT_TRUE(victory.count(name)) << name;
    for (int star = 1; star <= 3; ++star)
        for (const char* suffix : {"", "_boo"})
            EXPECT_TRUE(victory.count("KV_Star" + std::to_string(star) + suffix + ".png")) << star << suffix;
    std::set<std::string> defeat = sheetFrames("fail_screen_5551_ss");
    for (const std::string& name : sheetFrames("fail_screen_8888_ss"))
        defeat.insert(name);
    for (const char* name :
         {"defeat.png", "ooze_corner.png", "ooze_splat.png", "vignette_fx.png", "KV_IconeNew.png"})
        EXPECT_TRUE(defeat.count(name)) << name;

    // What a first win unlocks or locks is in the game data with the type it is named with, and
    // every message is a text of every table.
    const std::map<std::string, Dict*> tables = {{"kelvo", loadPlist("kelvoStats.plist")},
                                                 {"helmet", loadPlist("helmets.plist")},
                                                 {"consumable", loadPlist("consumables.plist")}};
    std::vector<kvengine::CCLocalizationManager*> texts = loadTextTables();
    Dict* chapters = loadPlist("chapiterSolo.plist");
    for (const std::string& chapter : keysOf(chapters)) {
        for (const std::string& mission : textsOf(arrayAt(dictAt(chapters, chapter), "mission_list"))) {
            Dict* definition = loadPlist(mission + "_DEF.plist");
            // The mission's name, which the world map and the result screens show.
            for (kvengine::CCLocalizationManager* table : texts)
                EXPECT_NE(table->stringForKey(mission), nullptr) << table->path() << ": " << mission;
            for (const char* list : {"unlockable_items", "lockable_items"}) {
                Dict* items = dictAt(definition, list);
                if (items == nullptr) continue;
                for (const std::string& item : keysOf(items)) {
                    const auto table = tables.find(textAt(items, item));
                    ASSERT_NE(table, tables.end()) << mission << " " << list << ": " << item;
                    EXPECT_NE(dictAt(table->second, item), nullptr) << mission << ": " << item;
                }
            }
            for (const char* list : {"victory_messages", "defeat_messages"})
                for (const std::string& key : textsOf(arrayAt(definition, list)))
                    for (kvengine::CCLocalizationManager* table : texts)
                        EXPECT_NE(table->stringForKey(key), nullptr) << mission << ": " << key;
        }
    }
    for (kvengine::CCLocalizationManager* table : texts)
        table->release();
}

TEST(ContentCheck, HudSheetsHoldEveryButtonIconBubbleAndConsumableFrame) {
    PoolScope pool;
    std::set<std::string> hud = sheetFrames("hud_51_ss");
    for (const std::string& name : sheetFrames("hud_88_ss"))
        hud.insert(name);
    for (const char* name :
         {"pause_button.png", "KV_PauseDown.png", "skip_turn_image.png", "KV_SkipDown.png",
          "KV_ZoneObjectif.png", "oof_bubble.png", "KV_FondIconeHud.png", "KV_IconeTorpedo.png",
          "KV_IconeDestroyer.png", "KV_IconeFrigate.png", "KV_IconeZodiac.png", "KV_BTDashUp.png",
          "KV_BTDashDown.png", "KV_Bt_consumablesUP.png", "KV_Bt_consumablesDown.png"})
        EXPECT_TRUE(hud.count(name)) << name;
    for (int i = 0; i <= 3; ++i)
        EXPECT_TRUE(hud.count(frameName("oof_bubble", "pop", i))) << i;
    for (int i = 1; i <= 9; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "doubletap%02d.png", i);
        EXPECT_TRUE(hud.count(name)) << name;
    }
    for (const char* consumable :
         {"miracle_tentacle_final", "mighty_kraken", "tentacle_grip", "cocktail", "sushi", "shuriken"})
        for (const char* suffix : {"_game.png", "_game_disabled.png"})
            EXPECT_TRUE(hud.count(std::string(consumable) + suffix)) << consumable << suffix;
    // Every creature has its portrait for the out-of-screen bubble.
    Dict* kelvos = loadPlist("kelvoStats.plist");
    for (const std::string& kelvo : keysOf(kelvos)) {
        const std::string sprite = textAt(dictAt(kelvos, kelvo), "sprite_name");
        EXPECT_FALSE(sprite.empty()) << kelvo;
        EXPECT_TRUE(hud.count("oof_bubble_" + sprite + ".png")) << kelvo;
    }
    // The help cases' dialogues.
    Dict* tutorials = loadPlist("Tutos_CHAT.plist");
    for (const char* dialogue : {"Tutos_chatot", "Tutos_chatmp", "Tutos_chatrn", "Tutos_chatah"})
        EXPECT_NE(dictAt(tutorials, dialogue), nullptr) << dialogue;
}

TEST(ContentCheck, PortraitListsFindTheirFramesAndIcons) {
    PoolScope pool;
    const std::set<std::string> shop = sheetFrames("shop_88_ss");
    for (const char* name : {"KV_Fond_Nb_Item.png", "KV_IconeRemoveHelmet.png", "KV_IconeNew_Helmets.png",
                             "KV_BT_ClassFrigate.png", "KV_BT_ClassDestroyer.png", "KV_BT_ClassTorpedo.png",
                             "KV_BT_ClassZodiac.png"})
        EXPECT_TRUE(shop.count(name)) << name;
    // Every helmet's icon, and every consumable's shop picture, under the game data's sprite name.
    const std::set<std::string> helmetIcons = sheetFrames("frontend_helmet_ss");
    Dict* helmets = loadPlist("helmets.plist");
    ASSERT_FALSE(keysOf(helmets).empty());
    for (const std::string& helmet : keysOf(helmets))
        EXPECT_TRUE(helmetIcons.count(textAt(dictAt(helmets, helmet), "sprite_name") + "_frontend_01.png"))
            << helmet;
    const std::set<std::string> consumableIcons = sheetFrames("consumables_51_ss");
    Dict* consumables = loadPlist("consumables.plist");
    ASSERT_FALSE(keysOf(consumables).empty());
    for (const std::string& consumable : keysOf(consumables)) {
        const std::string sprite = textAt(dictAt(consumables, consumable), "sprite_name");
        EXPECT_FALSE(sprite.empty()) << consumable;
        EXPECT_TRUE(consumableIcons.count(sprite + "_shop.png")) << consumable;
    }
}

// The shop screen and its panel: the menu frames, each consumable's panel picture, each helmet's
// menu-form sheet and each creature's sheet in the folder named after the item (where the panel
// loads them by path, not through the index), and a catalogue entry for every item offered.
TEST(ContentCheck, TheShopFindsItsFramesItemSheetsAndCatalogueEntries) {
    PoolScope pool;
    const std::set<std::string> frontEnd = sheetFrames("frontEnd_88_ss");
    for (const char* name : {"KV_BT_StuffSelect.png", "KV_BT_HelmetsSelect.png", "KV_BT_KelvosSelect.png",
                             "KV_IconeNew.png", "KV_MotifPerso.png", "KV_hilightLongStats.png",
                             "Kv_BT_Levelup01.png", "Kv_BT_Levelup12.png", "doubletap09.png"})
        EXPECT_TRUE(frontEnd.count(name)) << name;
    const std::set<std::string> background = sheetFrames("background_ss");
    for (const char* name : {"KV_Fond.png", "KV_FondBasZoneShop.png"})
        EXPECT_TRUE(background.count(name)) << name;
    const std::set<std::string> pictures = sheetFrames("consumables_TC4_ss");
    Dict* consumables = loadPlist("consumables.plist");
    for (const std::string& consumable : keysOf(consumables))
        EXPECT_TRUE(pictures.count(textAt(dictAt(consumables, consumable), "sprite_name") + "_full.png"))
            << consumable;

    Dict* store = loadPlist("OfflineStore.plist");
    ASSERT_NE(store, nullptr);
    std::set<std::pair<std::string, std::string>> sold;
    for (const std::string& key : keysOf(store))
        sold.emplace(textAt(dictAt(store, key), "category"),
                     textAt(dictAt(store, key), "deliverable_identifier"));
    const std::string root = kvengine::resourceRootPath();
    auto framesOf = [&root](const std::string& sheet, const std::string& folder) {
        std::set<std::string> names;
        const std::string path = root + "/" + folder + "/" + sheet + ".plist";
        EXPECT_TRUE(std::filesystem::exists(path)) << path;
        EXPECT_TRUE(std::filesystem::exists(root + "/" + folder + "/" + sheet + ".pvr.ccz")) << sheet;
        for (const std::string& name : keysOf(dictAt(loadPlist(sheet + ".plist"), "frames")))
            names.insert(name);
        return names;
    };
    struct Table {
        const char* file;
        const char* category;
        bool helmet;
    };
    for (const Table& table :
         {Table{"helmets.plist", "helmets", true}, Table{"kelvoStats.plist", "kelvos", false}}) {
        Dict* items = loadPlist(table.file);
        for (const std::string& name : keysOf(items)) {
            SCOPED_TRACE(name);
            Dict* row = dictAt(items, name);
            const std::string sprite = textAt(row, "sprite_name");
            const std::string sheet =
                table.helmet ? sprite + "_frontend_ss" : textAt(row, "spritesheet_name");
            EXPECT_TRUE(framesOf(sheet, sprite).count(sprite + "_idle_01.png"));
            // The portrait lists place an item by its number.
            EXPECT_FALSE(textAt(row, "item_number").empty());
            if (textAt(row, "status_locked") == "2") {
                EXPECT_TRUE(sold.count({table.category, name}));
            }
        }
    }
    // The one pack of the shipped catalogue is sold for pearls and described with its quantity.
    EXPECT_EQ(textAt(dictAt(consumables, "miracle_pack"), "Class"), "powerUpPack");
    EXPECT_EQ(textAt(dictAt(store, "consumables.miracle_pack"), "currency_identifier"), "pearl");
}

TEST(ContentCheck, EveryCreatureHasItsCardAndTheTroopsScreenItsPanelAndClassIcons) {
    PoolScope pool;
    const std::set<std::string> squad = sheetFrames("frontEnd_51_ss");
    EXPECT_TRUE(squad.count("KV_ZoneSquad.png"));
    const std::set<std::string> classes = {"Frigate", "Destroyer", "Torpedo", "Zodiac"};
    for (const std::string& cls : classes)
        EXPECT_TRUE(squad.count("KV_Icone_" + cls + ".png")) << cls;
    const std::set<std::string> portraits = sheetFrames("frontend_kelvo_ss");
    EXPECT_TRUE(portraits.count("KV_vesperLarge.png"));
    Dict* creatures = loadPlist("kelvoStats.plist");
    ASSERT_NE(creatures, nullptr);
    std::set<int> numbers;
    for (const std::string& name : keysOf(creatures)) {
        Dict* row = dictAt(creatures, name);
        const std::string sprite = textAt(row, "sprite_name");
        EXPECT_TRUE(portraits.count("KV_" + sprite + "Large.png")) << name;
        EXPECT_TRUE(portraits.count("KV_" + sprite + "LargeLock.png")) << name;
        EXPECT_TRUE(classes.count(textAt(row, "Class"))) << name << ": " << textAt(row, "Class");
        const int number = std::atoi(textAt(row, "item_number").c_str());
        EXPECT_TRUE(numbers.insert(number).second) << name << ": item_number " << number << " twice";
    }
    // The cards are numbered from 1 without gaps.
    ASSERT_FALSE(numbers.empty());
    EXPECT_EQ(*numbers.begin(), 1);
    EXPECT_EQ(*numbers.rbegin(), static_cast<int>(numbers.size()));
}

// Each creature of the stats table is whole: a computer-played twin for rival squads, the
// level-up steps of its base stats, its name in every language and the face the item pop-up
// greets it with.
TEST(ContentCheck, EveryCreatureHasItsRivalTwinLevelUpStepsNameAndFace) {
    PoolScope pool;
    Dict* creatures = loadPlist("kelvoStats.plist");
    Dict* rivals = loadPlist("kelvoStatsAI.plist");
    ASSERT_NE(creatures, nullptr);
    ASSERT_NE(rivals, nullptr);
    const std::set<std::string> faces = sheetFrames("characterchatter2_TC4_ss");
    std::vector<kvengine::CCLocalizationManager*> tables = loadTextTables();
    const char* const folders[] = {"English", "fr", "es", "de", "it"};
    for (const std::string& name : keysOf(creatures)) {
        SCOPED_TRACE(name);
        Dict* row = dictAt(creatures, name);
        Dict* rival = dictAt(rivals, name + "AI");
        ASSERT_NE(rival, nullptr) << "no computer-played " << name << "AI";
        EXPECT_EQ(textAt(rival, "engine_class"), "KVKelvoAI");
        for (const char* key : {"sprite_name", "spritesheet_name", "Class", "Voice"})
            EXPECT_EQ(textAt(rival, key), textAt(row, key)) << key;
        for (const char* key : {"Pearl Reward", "level", "useAllStamina"})
            EXPECT_FALSE(textAt(rival, key).empty()) << key;
        for (const char* stat : {"HP", "SP", "DMG Melee"}) {
            const std::vector<std::string> steps = textsOf(arrayAt(row, std::string(stat) + " LevelUp"));
            ASSERT_GE(steps.size(), 2u) << stat;
            EXPECT_EQ(steps.size() % 2, 0u) << stat;
            for (size_t i = 2; i < steps.size(); i += 2)
                EXPECT_GT(std::atoi(steps[i].c_str()), std::atoi(steps[i - 2].c_str())) << stat;
        }
        for (size_t i = 0; i < tables.size(); ++i)
            EXPECT_NE(tables[i]->stringForKey(name), nullptr) << folders[i];
        EXPECT_TRUE(faces.count(textAt(row, "sprite_name") + "_neutral_chatterLight.png"));
    }
    for (kvengine::CCLocalizationManager* table : tables)
        table->release();
}

// A creature's pack ("<creature>_pack") is sold for pearls, grants what the game knows and is
// announced in every language.
TEST(ContentCheck, EveryCreaturePackIsSoldAndGrantsKnownThings) {
    PoolScope pool;
    Dict* creatures = loadPlist("kelvoStats.plist");
    Dict* consumables = loadPlist("consumables.plist");
    Dict* helmets = loadPlist("helmets.plist");
    Dict* store = loadPlist("OfflineStore.plist");
    ASSERT_NE(store, nullptr);
    std::vector<kvengine::CCLocalizationManager*> tables = loadTextTables();
    int packs = 0;
    for (const std::string& name : keysOf(creatures)) {
        const kvstore::PackRow* pack = kvstore::findPack(name + "_pack");
        if (pack == nullptr) continue;
        SCOPED_TRACE(pack->identifier);
        ++packs;
        Dict* entry = dictAt(store, std::string("consumables.") + pack->identifier);
        ASSERT_NE(entry, nullptr) << "not in the catalogue";
        EXPECT_EQ(textAt(entry, "category"), "consumables");
        EXPECT_EQ(textAt(entry, "deliverable_identifier"), pack->identifier);
        EXPECT_EQ(textAt(entry, "currency_identifier"), "pearl");
        EXPECT_GT(std::atoi(textAt(entry, "cost").c_str()), 0);
        // Listed in the shop's Stuff tab, once at most (it grants its creature for good).
        Dict* row = dictAt(consumables, pack->identifier);
        ASSERT_NE(row, nullptr) << "not in the consumables the shop lists";
        EXPECT_EQ(textAt(row, "max_amount"), "1");
        if (pack->creature != nullptr) {
            EXPECT_EQ(pack->creature, name);
        }
        if (pack->consumable != nullptr) {
            EXPECT_NE(dictAt(consumables, pack->consumable), nullptr);
        }
        if (pack->helmet != nullptr) {
            EXPECT_NE(dictAt(helmets, pack->helmet), nullptr) << pack->helmet;
            EXPECT_NE(dictAt(store, std::string("helmets.") + pack->helmet), nullptr) << pack->helmet;
            for (kvengine::CCLocalizationManager* table : tables)
                EXPECT_NE(table->stringForKey(pack->helmet), nullptr) << pack->helmet;
        }
        const char* announce = kvstore::packTextKey(pack->identifier);
        ASSERT_NE(announce, nullptr);
        for (kvengine::CCLocalizationManager* table : tables)
            EXPECT_NE(table->stringForKey(announce), nullptr) << announce;
    }
    EXPECT_GT(packs, 0);
    for (kvengine::CCLocalizationManager* table : tables)
        table->release();
}

TEST(ContentCheck, PlayModeChapterAndHuddleScreensFindTheirPicturesCardsAndTexts) {
    PoolScope pool;
    EXPECT_TRUE(sheetFrames("background_HD_ss").count("Bg_Tiki.png"));
    const std::set<std::string> cards = sheetFrames("frontEnd_51_ss");
    for (const char* name : {"Bt_2Player_Up.png", "Bt_2Player_Down.png", "Bt_3Player_Up.png",
                             "Bt_3Player_Down.png", "Bt_4Player_Up.png", "Bt_4Player_Down.png",
                             "Bt_HuddleGrey.png", "KV_CadreImageChapitre.png", "KV_ImageChapitre1.png"})
        EXPECT_TRUE(cards.count(name)) << name;
    std::vector<std::string> keys = {"Story_Screen_Back", "Play_Screen_Story",    "Play_Screen_Replay",
                                     "Play_Screen_Back",  "Huddle_Screen_Huddle", "Huddle_Screen_Back",
                                     "Huddle_2_Player",   "Huddle_3_Player",      "Huddle_4_Player"};
    // Every chapter: its card picture, a place in the list (1 to 12, once each), its title and the
    // title of its locked card.
    Dict* chapters = loadPlist("chapiterSolo.plist");
    ASSERT_FALSE(keysOf(chapters).empty());
    std::set<int> places;
    for (const std::string& chapter : keysOf(chapters)) {
        Dict* definition = dictAt(chapters, chapter);
        EXPECT_TRUE(cards.count(textAt(definition, "sprite_name"))) << chapter;
        const int place = std::atoi(textAt(definition, "item_number").c_str());
        EXPECT_TRUE(place >= 1 && place <= 12) << chapter << ": item_number " << place;
        EXPECT_TRUE(places.insert(place).second) << chapter << ": item_number " << place << " twice";
        keys.push_back("Story_Screen_" + chapter);
        keys.push_back("Story_Screen_" + chapter + "_ComingSoon");
    }
    // The Prologue is open from the start: its card must be the framed, tappable kind.
    EXPECT_NE(textAt(dictAt(chapters, "Prologue"), "sprite_name").find("CommingSoon"), std::string::npos);
    // The huddle screen's carousel titles every map it offers by the map's name.
    Dict* huddle = loadPlist("mapHuddle.plist");
    for (const std::string& group : keysOf(huddle)) {
        if (!textAt(dictAt(huddle, group), "item_number").empty()) {
            keys.push_back(group); // a map standing at the top
            continue;
        }
        for (const std::string& map : keysOf(dictAt(huddle, group)))
            keys.push_back(map);
    }
    for (kvengine::CCLocalizationManager* table : loadTextTables()) {
        for (const std::string& key : keys)
            EXPECT_NE(table->stringForKey(key), nullptr) << table->path() << ": " << key;
        table->release();
    }
}

TEST(ContentCheck, StartUpPicturesAndFontsExist) {
    PoolScope pool;
    const std::tuple<const char*, unsigned, unsigned> pictures[] = {
        {"splash.png", 960, 600},     {"open.png", 64, 64},           {"open_grab.png", 64, 64},
        {"pinch.png", 64, 64},        {"pinch_released.png", 64, 64}, {"point.png", 64, 64},
        {"point_pressed.png", 64, 64}};
    for (const auto& picture : pictures) {
        const char* name = std::get<0>(picture);
        const std::string path = resourcePath(name);
        ASSERT_FALSE(path.empty()) << name;
        kvengine::CCFileBuffer file(path.c_str(), "rb"); // unscrambled on reading
        kvengine::CCDecodedImage image;
        ASSERT_TRUE(image.initWithPngData(file.data, file.size)) << name;
        EXPECT_EQ(image.width, std::get<1>(picture)) << name;
        EXPECT_EQ(image.height, std::get<2>(picture)) << name;
    }
    for (const char* name :
         {"fonts/Kelvos-Kelvos.ttf", "fonts/Junction 02.ttf", "Junction 02.ttf", "fonts/LICENSE-DejaVu"}) {
        kvengine::CCFileBuffer file(name, "rb");
        EXPECT_GT(file.size, 0u) << name;
    }
    // The drifting specks of every menu screen's backdrop and of the missions' particle layers.
    for (const char* name : {"Environment/hawaii/plankton.png", "Environment/hawaii/env_plankton.png"}) {
        kvengine::CCFileBuffer file(name, "rb");
        EXPECT_GT(file.size, 0u) << name;
    }
    for (const char* font : {"times32.fnt", "times32-hd.fnt", "junction12.fnt", "junction12-hd.fnt",
                             "junction16.fnt", "junction16-hd.fnt"}) {
        const std::string path = resourcePath(font);
        kvengine::CCFileBuffer file(path.c_str(), "rb");
        ASSERT_GT(file.size, 0u) << font;
        const std::string text(file.data, file.size);
        const size_t quote = text.find("page id=0 file=\"");
        ASSERT_NE(quote, std::string::npos) << font;
        const size_t start = quote + std::strlen("page id=0 file=\"");
        const std::string page = text.substr(start, text.find('"', start) - start);
        EXPECT_FALSE(resourcePath(page).empty()) << page;
        EXPECT_NE(text.find("char id=65 "), std::string::npos) << font;
    }
}

TEST(ContentCheck, EverySoundTheSoundManagerPlaysIsInATable) {
    PoolScope pool;
    Dict* sfx = dictAt(loadPlist("kelvos.fev"), "events");
    Dict* music = dictAt(loadPlist("kelvos_music.fev"), "events");
    ASSERT_NE(sfx, nullptr);
    ASSERT_NE(music, nullptr);
    std::vector<std::string> paths;
    for (const char* name : kvtest::kSoundManagerEffects)
        paths.push_back(std::string("kelvos/SFX/") + name);
    // Voice lines of every voice the creatures use, and of the fallback voice.
    std::set<std::string> voices = {"Female"};
    for (const char* table : {"kelvoStats.plist", "kelvoStatsAI.plist"}) {
        Dict* creatures = loadPlist(table);
        for (const std::string& name : keysOf(creatures))
            voices.insert(textAt(dictAt(creatures, name), "Voice"));
    }
    for (const std::string& voice : voices) {
        for (const char* line : {"stretch", "ko", "powerup1", "powerup2", "combo", "hiddenstar_pickup",
                                 "impact_light", "impact_heavy", "heal"}) {
            paths.push_back("kelvos/SFX/" + voice + "_" + line);
        }
    }
    for (const std::string& path : paths) {
        Dict* event = dictAt(sfx, path);
        ASSERT_NE(event, nullptr) << path;
        EXPECT_EQ(textAt(event, "category"), "SFX") << path;
        EXPECT_FALSE(resourcePath(textAt(event, "file").substr(textAt(event, "file").rfind('/') + 1)).empty())
            << path;
    }
    const std::string menuMusic = textAt(loadPlist("gameSetup.plist"), "MenuMusicEvent");
    for (const std::string& name : {menuMusic, std::string("jingle_win"), std::string("jingle_lose")}) {
        Dict* event = dictAt(music, "kelvos_music/music/" + name);
        ASSERT_NE(event, nullptr) << name;
        EXPECT_EQ(textAt(event, "category"), "music") << name;
    }
    EXPECT_EQ(textAt(dictAt(music, "kelvos_music/music/" + menuMusic), "loop"), "YES");
}

TEST(ContentCheck, LocalisationKeysUsedByTheCodeAreInEveryLanguage) {
    PoolScope pool;
    // Keys the code asks for, with the placeholders it passes.
    std::vector<std::pair<std::string, std::string>> keys = {
        {"Language_english", ""},
        {"Language_french", ""},
        {"Language_spanish", ""},
        {"Language_german", ""},
        {"Language_italian", ""},
        {"Option_Change_Language", "%s"},
        {"Pop Up Ok", ""},
        {"PEARL", ""},
        {"Pop Up Cancel", ""},
        {"Pop Up Medusa Confirmation", "%s%d"},
        {"Main_Screen_Play", ""},
        {"Shop_Screen_Buy", ""},
        {"Train", ""},
        {"Max Level", ""},
        {"Frigate", ""},
        {"Destroyer", ""},
        {"Torpedo", ""},
        {"Zodiac", ""},
        {"Pop Up Locked Item OK", ""},
        {"Pause quit", ""},
        {"Pop Up Quit Game", ""},
        {"Quit_Game", ""},
        {"WorldMap_Screen_Back", ""},
        {"WorldMap_Screen_Squad", ""},
        {"WorldMap_Screen_Secret_label", ""},
        {"WorldMap_Screen_Survival_label", ""},
        {"WorldMap_Screen_Speed_label", ""},
        {"Troops_Screen_Troops", ""},
        {"WorldMap_Screen_Shop", ""},
        {"Shop_Screen_Back", ""},
        {"Shop_NothingToDisplay", ""},
        {"Shop_ComeBackLater", ""},
        {"M01a", ""},
        {"M01b", ""},
        {"M01c", ""},
        {"C0M01", ""},
        {"C0M02", ""},
        {"C0M03", ""},
        {"C0M04", ""},
        {"C0M05", ""},
        {"C0M06", ""},
        {"C0M07", ""},
        {"C0M08", ""},
        {"C0M09", ""},
        {"C0M10", ""},
        {"C0M11", ""},
        {"C0M12", ""},
        {"C0M13", ""},
        {"C0M14", ""},
        {"On touched pawn", "%d%d"},
        {"Injured pawn", "%d"},
        {"Healed pawn", "%d%d%d"},
        {"Replay_Mission_To_Ear_Pearls", ""},
        {"Shop_Discription_MaximalAmount", ""},
        {"Shop_Discription_LackPearl", ""},
        {"Pop Up Kelvo Bought", "%s"},
        {"Pop Up Helmet Bought", "%s%s"},
        {"Pop Up Consumable Bought", "%s"},
        {"Pop Up Power Up Bought", "%d%s"},
        {"Pop Up Kelvo Unlocked", "%s"},
        {"Pop Up Helmet Unlocked", "%s%s"},
        {"Pop Up Consumable Gained", "%s"},
        {"Pop Up Kelvo Locked", "%s"},
        {"Pop Up Helmet Locked", "%s"},
        {"Pop Up Brainwash Bought", ""},
        {"Pop_Up_MiraclePack_Bought", ""},
        {"Pop Up Pearls Bought", ""},
        {"Pop Up PearlsPack1 Bought", ""},
        {"Pop Up PearlsPack2 Bought", ""},
        {"Pop Up PearlsPack3 Bought", ""},
        {"Pop Up Buy More Pearls", ""},
        {"Hidden Star:", ""},
        {"Tactical Star:", ""},
        {"Speed Star:", ""},
        {"loading screen caption 1", "%s"},
        {"loading screen caption 2", "%s"},
        {"loading screen caption 3", "%s"},
        {"loading screen caption 4", "%s"},
        {"Prepping", ""},
        {"Option_Screen_Back", ""},
        {"Option_Screen_Help", ""},
        {"Option_Screen_Sound", ""},
        {"Option_Screen_Social_Win32", ""},
        {"Option_Language_Select", ""},
        {"OPTION SOUND SFX", ""},
        {"OPTION SOUND MUSIC", ""},
        {"DOWNLOAD_SOUNDTRACK", ""},
        {"HELP_MENU_WRITE_TO_US_WIN32", ""},
        {"Option_Screen_Help_View", ""},
        {"Shop_Screen_Stuff", ""},
        {"Shop_Screen_Helmets", ""},
        {"Shop_Screen_Kelvos", ""},
        {"Shop_Screen_Recruit", ""},
        {"Shop_Screen_Unavailable", ""},
        {"Shop_Screen_Back", ""},
        {"Level", ""},
        {"HP", ""},
        {"SP", ""},
        {"Attack", ""},
        {"Defense", ""},
        {"Kelvo stats: Push of coef target", ""},
        {"Kelvo stats: Push of coef AOE", ""},
        {"Kelvo stats: heal", ""},
        {"Kelvo stats: dash", ""},
        {"Brainwash", ""},
        {"Equip_screen Transfer button", ""},
        {"PEARL LOOT TEXT", ""},
        {"SPEED STAR TEXT", "%d%d"},
        {"SPEED STAR TEXT 1 TURN", "%d"},
        {"STAR NOT OBTAINED REWARD", ""},
        {"SECRET STAR NOT FOUND", ""},
        {"SECRET STAR JUST FOUND", ""},
        {"SECRET STAR ALREADY FOUND", ""},
        {"SURVIVAL STAR NOT FOUND", ""},
        {"SURVIVAL STAR JUST FOUND", ""},
        {"SURVIVAL STAR ALREADY FOUND", ""},
        {"Pause continue", ""},
        {"Pause restart", ""},
        {"Final Score", ""},
        {"Restart", ""},
        {"Quit", ""},
        {"Hud Skip Turn label", ""},
        {"Hud Inventory label", ""},
        {"Hud_Your_turn", ""},
        {"Hud_Turn", ""},
        {"Hud_Enemy_turn", ""},
        {"Hud_Helmet_found", "%s"},
    };
    // Every consumable is named in the purchase texts, alone and in numbers.
    std::vector<std::string> itemKeys;
    Dict* consumables = loadPlist("consumables.plist");
    for (const std::string& consumable : keysOf(consumables)) {
        itemKeys.push_back(consumable + "_name");
        itemKeys.push_back(consumable + "_plural");
        // The shop panel's description; a pack's takes its quantity.
        Dict* row = dictAt(consumables, consumable);
        const std::string textName = textAt(row, "text_name");
        EXPECT_FALSE(textName.empty()) << consumable;
        if (!textName.empty()) keys.emplace_back(textName, textAt(row, "Class") == "powerUpPack" ? "%d" : "");
    }
    for (const char* folder : {"English", "fr", "es", "de", "it"}) {
        kvengine::CCLocalizationManager* table = new kvengine::CCLocalizationManager();
        ASSERT_TRUE(table->loadStringsFile(std::string(folder) + ".lproj/localizable.strings")) << folder;
        for (const std::string& key : itemKeys)
            EXPECT_NE(table->stringForKey(key), nullptr) << folder << ": " << key;
        for (const auto& key : keys) {
            kvengine::CCString* text = table->stringForKey(key.first);
            ASSERT_NE(text, nullptr) << folder << ": " << key.first;
            const char16_t* wide = text->makeWideString();
            ASSERT_NE(wide, nullptr);
            const std::u16string value(wide);
            EXPECT_FALSE(value.empty()) << folder << ": " << key.first;
            std::string found;
            for (size_t i = 0; i + 1 < value.size(); ++i) {
                if (value[i] == u'%') found += std::string("%") + static_cast<char>(value[i + 1]);
            }
            EXPECT_EQ(found, key.second) << folder << ": " << key.first;
        }
        table->release();
    }
}

TEST(ContentCheck, DialoguesFindTheirTextsPortraitsAndPictures) {
    PoolScope pool;
    const std::set<std::string> boxes = sheetFrames("characterchatter_88_ss");
    for (const char* name :
         {"TextBox_chatter.png", "TextBox_chatterLight.png", "Bg_GreyLayer.png", "Kv_Bt_SkipBigChatterUp.png",
          "Kv_Bt_SkipBigChatterDown.png", "Kv_Bt_SkipMiniChatterUp.png", "Kv_Bt_SkipMiniChatterDown.png",
          "Kv_Bt_SkipMiniChatterFleche.png"}) {
        EXPECT_TRUE(boxes.count(name)) << name;
    }
    const std::set<std::string> portraits = sheetFrames("characterchatter_TC4_ss");
    const std::set<std::string> badges = sheetFrames("characterchatter2_TC4_ss");
    const std::vector<kvengine::CCLocalizationManager*> tables = loadTextTables();
    auto lower = [](std::string text) {
        for (char& c : text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    // Every dialogue file the content ships, the tutorial's and the missions'.
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(
             std::filesystem::path(KELVOS_RESOURCES_DIR) / "data" / "chatter", error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 11 && name.compare(name.size() - 11, 11, "_CHAT.plist") == 0) files.push_back(name);
    }
    std::sort(files.begin(), files.end());
    for (const char* needed : {"Tutos_CHAT.plist", "M01a_CHAT.plist"})
        EXPECT_NE(std::find(files.begin(), files.end(), needed), files.end()) << needed;
    std::set<std::string> identifiers;
    for (const std::string& file : files) {
        Dict* dialogues = loadPlist(file);
        ASSERT_NE(dialogues, nullptr) << file;
        for (const std::string& id : keysOf(dialogues)) {
            identifiers.insert(id);
            Dict* entry = dictAt(dialogues, id);
            EXPECT_FALSE(textAt(entry, "light_mode").empty()) << id;
            for (const std::string& key : keysOf(entry)) {
                Dict* step = dictAt(entry, key);
                if (key.rfind("Effect", 0) == 0) {
                    const std::string background = textAt(step, "background");
                    EXPECT_TRUE(!resourcePath(background + ".pvr.ccz").empty() ||
                                !resourcePath(background + "_960.pvr.ccz").empty())
                        << id << " " << key << " " << background;
                    continue;
                }
                if (key.rfind("Dialog", 0) != 0) continue;
                EXPECT_FALSE(textAt(step, "reset_background").empty()) << id << " " << key;
                const std::string kelvo = lower(textAt(step, "kelvo_name"));
                EXPECT_TRUE(portraits.count(kelvo + "_chatter.png")) << id << " " << kelvo;
                EXPECT_TRUE(badges.count(kelvo + "_chatterLight.png")) << id << " " << kelvo;
                const std::string animation = textAt(step, "animation_name");
                if (!animation.empty()) {
                    EXPECT_TRUE(sheetFrames(lower(animation) + "_ss").count(animation + "01.png"))
                        << animation;
                }
                const std::string text = textAt(step, "text_name");
                for (kvengine::CCLocalizationManager* table : tables)
                    EXPECT_NE(table->stringForKey(text), nullptr) << table->path() << ": " << text;
            }
        }
    }
    for (kvengine::CCLocalizationManager* table : tables)
        table->release();
    // The help dialogues the tutorial plays.
    for (const char* id : {"Tutos_chatot", "Tutos_chatmp", "Tutos_chatrn", "Tutos_chatah"})
        EXPECT_TRUE(identifiers.count(id)) << id;
}

TEST(ContentCheck, OptionsScreenFindsItsFramesAndEveryHelpDialogue) {
    PoolScope pool;
    const std::set<std::string> options = sheetFrames("option_88_ss");
    for (const char* name :
         {"KV_Track_SFX.png", "KV_Track_Music.png", "KV_BT_Slider_UP.png", "Bt_OST.png",
          "KV_OptionSelectionFrame.png", "KV_BT_FlecheHaut_UP.png", "KV_BT_FlecheHaut_Down.png",
          "KV_BT_FlecheBas_UP.png", "KV_BT_FlecheBas_Down.png", "KV_WriteToUs.png", "KV_ZoneSocial_Fond.png",
          "KV_BT_FaceBook_Normal.png", "KV_BT_FaceBook_Down.png", "KV_BT_Twitter_Normal.png",
          "KV_BT_Twitter_Down.png"})
        EXPECT_TRUE(options.count(name)) << name;
    // Every help entry has a title in every language and a dialogue whose first step names a
    // talking portrait (the help tab unloads that sheet when the dialogue ends).
    const std::vector<kvengine::CCLocalizationManager*> tables = loadTextTables();
    Dict* dialogues = loadPlist("Tutos_CHAT.plist");
    ASSERT_NE(dialogues, nullptr);
    std::string list = TUTORIAL_CHATTER_LIST_SHORT->c_str();
    int count = 0;
    for (size_t start = 0; start <= list.size(); ++count) {
        const size_t end = std::min(list.find(',', start), list.size());
        const std::string id = list.substr(start, end - start);
        start = end + 1;
        for (kvengine::CCLocalizationManager* table : tables)
            EXPECT_NE(table->stringForKey(id), nullptr) << table->path() << ": " << id;
        Dict* first = dictAt(dictAt(dialogues, id), "Dialog1");
        ASSERT_NE(first, nullptr) << id;
        const std::string animation = textAt(first, "animation_name");
        EXPECT_FALSE(animation.empty()) << id; // its frames are checked with every dialogue's
    }
    EXPECT_EQ(count, 16);
    for (kvengine::CCLocalizationManager* table : tables)
        table->release();
}

TEST(ContentCheck, AboutScreenHasEveryMemberInARowWithBubbleAndTexts) {
    PoolScope pool;
    Dict* staff = loadPlist("staffList.plist");
    ASSERT_NE(staff, nullptr);
    const std::set<std::string> frontEnd = sheetFrames("frontEnd_88_ss");
    for (const char* shared : {"KV_bubbleAboutDefault.png", "KV_CadreBulle.png"})
        EXPECT_TRUE(frontEnd.count(shared)) << shared;
    const std::vector<kvengine::CCLocalizationManager*> tables = loadTextTables();
    std::set<int> positions;
    for (const std::string& key : keysOf(staff)) {
        SCOPED_TRACE(key);
        Dict* member = dictAt(staff, key);
        ASSERT_NE(member, nullptr);
        positions.insert(std::atoi(textAt(member, "position").c_str()));
        EXPECT_FALSE(textAt(member, "name").empty());
        // Only the first space becomes "_" in the description's key.
        EXPECT_LE(std::count(key.begin(), key.end(), ' '), 1);
        EXPECT_TRUE(frontEnd.count("KV_bubbleAbout_" + key + ".png"));
        std::string description = "about_screen_" + key;
        for (char& c : description)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::replace(description.begin(), description.end(), ' ', '_');
        for (kvengine::CCLocalizationManager* table : tables)
            EXPECT_NE(table->stringForKey(description), nullptr) << table->path() << ": " << description;
    }
    EXPECT_EQ(positions.size(), keysOf(staff).size()) << "a position used twice";
    EXPECT_EQ(positions.empty() ? -1 : *positions.rbegin(), static_cast<int>(positions.size()) - 1)
        << "positions from 0 without gaps";
    for (kvengine::CCLocalizationManager* table : tables)
        table->release();
}
