// The sound recipes of the game and the event tables of its two sound projects.
// Every effect and tune is synthesised here; the tables map the game's event paths to
// the files with their category, designed volume, looping and fade-out.
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "tools/content/ContentFiles.h"
#include "tools/content/ContentSteps.h"
#include "tools/content/Plist.h"
#include "tools/content/Synth.h"

namespace kvcontent {

namespace {
struct Effect {
    const char* name; // event name below "kelvos/SFX/" and file stem
    double volume;
    std::function<void(Sound&)> draw;
};

// Vowel resonances (Hz) of the gibberish the creatures speak.
struct Vowel {
    double f1, f2;
};
const Vowel kA{800, 1250}, kO{520, 900}, kU{360, 800}, kI{320, 2250};

struct Voice {
    const char* name;
    double pitch;   // base pitch, Hz
    double formant; // formant scale: smaller creatures sound brighter
    double rasp;    // breath and grit
};
const Voice kVoices[] = {{"Female", 330, 1.15, 0.05},      {"Male", 170, 0.95, 0.08},
                         {"Male_girly", 260, 1.1, 0.04},   {"Crab", 120, 0.8, 0.6},
                         {"Male_deep", 105, 0.82, 0.16},   {"Female_proud", 285, 1.05, 0.07},
                         {"Female_soft", 370, 1.22, 0.12}, {"Male_squeaky", 430, 1.32, 0.03}};

void say(Sound& s, const Voice& v, double at, double duration, double p0, double p1, Vowel vowel,
         double amp = 0.5) {
    s.syllable(at, duration, v.pitch * p0, v.pitch * p1, vowel.f1 * v.formant, vowel.f2 * v.formant, amp,
               v.rasp);
}

struct VoiceLine {
    const char* line;
    double volume;
    std::function<void(Sound&, const Voice&)> draw;
};
const std::vector<VoiceLine>& voiceLines() {
    static const std::vector<VoiceLine> lines = {
        {"stretch", 0.7, [](Sound& s, const Voice& v) { say(s, v, 0, 0.55, 0.9, 1.5, kU); }},
        {"ko", 0.8,
         [](Sound& s, const Voice& v) {
             say(s, v, 0, 0.18, 1.3, 1.2, kA);
             say(s, v, 0.2, 0.6, 1.1, 0.6, kO);
         }},
        {"powerup1", 0.8,
         [](Sound& s, const Voice& v) {
             say(s, v, 0, 0.12, 1.0, 1.1, kI);
             say(s, v, 0.12, 0.3, 1.2, 1.7, kA);
         }},
        {"powerup2", 0.8,
         [](Sound& s, const Voice& v) {
             say(s, v, 0, 0.2, 1.2, 1.4, kU);
             say(s, v, 0.25, 0.3, 1.5, 1.9, kU);
         }},
        {"combo", 0.8,
         [](Sound& s, const Voice& v) {
             for (int i = 0; i < 3; ++i)
                 say(s, v, i * 0.14, 0.11, 1.3 + 0.1 * i, 1.3 + 0.1 * i, kA);
         }},
        {"hiddenstar_pickup", 0.8, [](Sound& s, const Voice& v) { say(s, v, 0, 0.45, 1.0, 1.8, kO); }},
        {"impact_light", 0.7, [](Sound& s, const Voice& v) { say(s, v, 0, 0.16, 1.2, 0.9, kU); }},
        {"impact_heavy", 0.9,
         [](Sound& s, const Voice& v) {
             s.noise(0, 0.08, 1500, 0.3);
             say(s, v, 0.02, 0.32, 1.1, 0.7, kO, 0.6);
         }},
        {"heal", 0.7,
         [](Sound& s, const Voice& v) {
             say(s, v, 0, 0.5, 1.0, 1.1, kA, 0.4);
             for (int i = 0; i < 4; ++i)
                 s.tone(0.1 + i * 0.08, 0.25, noteHz(84 + i * 4), noteHz(84 + i * 4), Wave::Sine, 0.12);
         }},
    };
    return lines;
}

void arpeggio(Sound& s, double at, const std::vector<int>& notes, double step, Wave wave, double amp,
              double length) {
    for (size_t i = 0; i < notes.size(); ++i) {
        const double f = noteHz(notes[i]);
        s.tone(at + i * step, length, f, f, wave, amp, 0.004, length * 0.8);
    }
}

const std::vector<Effect>& effects() {
    static const std::vector<Effect> list = {
        {"Kelvo_launch_light", 0.8,
         [](Sound& s) {
             s.tone(0, 0.25, 300, 900, Wave::Sine, 0.5, 0.005, 0.15);
             s.noise(0, 0.2, 2500, 0.2);
         }},
        {"Kelvo_launch_max", 0.9,
         [](Sound& s) {
             s.tone(0, 0.35, 200, 1200, Wave::Triangle, 0.5, 0.005, 0.2);
             s.noise(0, 0.3, 4000, 0.35);
             for (int i = 0; i < 4; ++i)
                 s.bubble(0.1 + i * 0.05, 0.6 + 0.2 * i, 0.3);
         }},
        {"Pawn_hit_pawn", 0.9,
         [](Sound& s) {
             s.tone(0, 0.18, 180, 90, Wave::Sine, 0.8, 0.002, 0.15);
             s.noise(0, 0.06, 3000, 0.4);
         }},
        {"Pawn_bounce", 0.7, [](Sound& s) { s.tone(0, 0.15, 260, 520, Wave::Sine, 0.6, 0.002, 0.12); }},
        {"UI_Cam_AutoFocus", 0.5, [](Sound& s) { s.tone(0, 0.2, 600, 1200, Wave::Sine, 0.25, 0.01, 0.15); }},
        {"Kelvo_stretch", 0.6,
         [](Sound& s) {
             s.tone(0, 0.5, 120, 260, Wave::Saw, 0.15, 0.02, 0.2);
             s.noise(0, 0.45, 600, 0.15);
         }},
        {"UI_skip_turn", 0.6,
         [](Sound& s) {
             arpeggio(s, 0, {67, 62}, 0.12, Wave::Triangle, 0.4, 0.2);
         }},
        {"Pawn_fall", 0.8,
         [](Sound& s) {
             s.tone(0, 0.7, 900, 120, Wave::Sine, 0.5, 0.01, 0.3);
             for (int i = 0; i < 6; ++i)
                 s.bubble(0.3 + i * 0.06, 1.0 + 0.15 * i, 0.3);
         }},
        {"Crab_Aoe_Attack", 0.9,
         [](Sound& s) {
             s.noise(0, 0.5, 500, 0.7);
             s.tone(0, 0.4, 80, 40, Wave::Sine, 0.7, 0.005, 0.3);
             for (int i = 0; i < 5; ++i)
                 s.tone(0.05 + i * 0.06, 0.04, 2200, 1800, Wave::Square, 0.1);
         }},
        {"Kelvo_Aoe_Attack", 0.9,
         [](Sound& s) {
             s.noise(0, 0.45, 900, 0.6);
             s.tone(0, 0.35, 160, 60, Wave::Sine, 0.7, 0.005, 0.3);
             for (int i = 0; i < 8; ++i)
                 s.bubble(0.05 + i * 0.03, 0.5 + 0.1 * (i % 3), 0.25);
         }},
        {"Kelvo_distant_attack", 0.8,
         [](Sound& s) {
             s.tone(0, 0.22, 1400, 400, Wave::Square, 0.25, 0.003, 0.15);
             s.noise(0, 0.12, 5000, 0.25);
         }},
        {"Stat_levelup", 0.8,
         [](Sound& s) {
             arpeggio(s, 0, {72, 76, 79, 84}, 0.07, Wave::Square, 0.25, 0.18);
         }},
        {"UI_Bt_Validated", 0.7,
         [](Sound& s) {
             arpeggio(s, 0, {76, 83}, 0.06, Wave::Triangle, 0.45, 0.15);
             s.bubble(0, 0.5, 0.3);
         }},
        {"UI_bt_validated_light", 0.6, [](Sound& s) { s.bubble(0, 0.5, 0.6); }},
        {"UI_bt_not_validated_light", 0.6,
         [](Sound& s) { s.tone(0, 0.14, 220, 180, Wave::Square, 0.25, 0.003, 0.08); }},
        {"Pearls_pickup", 0.6,
         [](Sound& s) {
             s.tone(0, 0.12, noteHz(88), noteHz(88), Wave::Sine, 0.4, 0.002, 0.1);
             s.tone(0.04, 0.14, noteHz(95), noteHz(95), Wave::Sine, 0.3, 0.002, 0.12);
         }},
        {"Pearls_spawn", 0.6,
         [](Sound& s) {
             for (int i = 0; i < 3; ++i)
                 s.tone(i * 0.05, 0.1, noteHz(84 + 3 * i), noteHz(84 + 3 * i), Wave::Sine, 0.3, 0.002, 0.08);
         }},
        {"UI_Chatter_Next", 0.5,
         [](Sound& s) {
             s.bubble(0, 0.7, 0.5);
             s.bubble(0.05, 0.5, 0.35);
         }},
        {"UI_Menu_Scroll", 0.5,
         [](Sound& s) {
             s.noise(0, 0.2, 1800, 0.25);
             s.tone(0, 0.2, 400, 700, Wave::Sine, 0.15, 0.02, 0.1);
         }},
        {"UI_BubblePop", 0.6,
         [](Sound& s) {
             s.bubble(0, 0.4, 0.7);
             s.noise(0, 0.02, 6000, 0.2);
         }},
        {"Kelvo_Dash", 0.8,
         [](Sound& s) {
             s.noise(0, 0.3, 3000, 0.5);
             s.tone(0, 0.25, 500, 1500, Wave::Triangle, 0.3, 0.005, 0.1);
         }},
        {"Kelvo_Grab_Anchor", 0.8,
         [](Sound& s) {
             s.tone(0, 0.3, 700, 690, Wave::Square, 0.2, 0.001, 0.28);
             s.tone(0, 0.3, 1050, 1040, Wave::Sine, 0.3, 0.001, 0.28);
         }},
        {"Shuriken_throw", 0.8,
         [](Sound& s) {
             for (int i = 0; i < 3; ++i)
                 s.noise(i * 0.07, 0.09, 5000, 0.4);
         }},
        {"Spiky_shell_drop", 0.8,
         [](Sound& s) {
             s.tone(0, 0.25, 300, 200, Wave::Triangle, 0.5, 0.002, 0.2);
             s.noise(0, 0.1, 4000, 0.3);
         }},
        {"VictoryScreen_StarAppear", 0.8,
         [](Sound& s) {
             arpeggio(s, 0, {84, 88, 91, 96}, 0.05, Wave::Sine, 0.35, 0.3);
         }},
        {"VictoryScreen_StarNotGained", 0.7,
         [](Sound& s) { s.tone(0, 0.35, 300, 200, Wave::Triangle, 0.4, 0.005, 0.2); }},
        {"Spawn_pawn", 0.7,
         [](Sound& s) {
             for (int i = 0; i < 7; ++i)
                 s.bubble(i * 0.04, 0.4 + 0.15 * (i % 4), 0.35);
         }},
        {"Ninja_teleport", 0.8,
         [](Sound& s) {
             s.noise(0, 0.35, 1200, 0.5);
             s.tone(0.05, 0.3, 1600, 300, Wave::Sine, 0.3, 0.005, 0.2);
         }},
        {"Boss_Crab_QuakeAtk", 1.0,
         [](Sound& s) {
             s.tone(0, 1.0, 55, 35, Wave::Triangle, 0.8, 0.01, 0.6);
             s.noise(0, 1.0, 250, 0.8);
         }},
        {"Boss_Crab_SwipeAtk", 0.9,
         [](Sound& s) {
             s.noise(0, 0.4, 2200, 0.6);
             s.tone(0, 0.35, 220, 80, Wave::Saw, 0.25, 0.01, 0.2);
         }},
        {"Boss_Crab_KO", 1.0,
         [](Sound& s) {
             s.tone(0, 1.2, 160, 50, Wave::Saw, 0.4, 0.01, 0.8);
             s.noise(0.1, 0.8, 400, 0.5);
         }},
        {"Kraken_animation", 1.0,
         [](Sound& s) {
             s.tone(0, 1.6, 60, 45, Wave::Saw, 0.4, 0.2, 0.8);
             s.noise(0, 1.6, 300, 0.4);
             for (int i = 0; i < 10; ++i)
                 s.bubble(0.3 + i * 0.09, 0.8 + 0.2 * (i % 3), 0.3);
         }},
        {"Hidden_Star_Detect", 1.0,
         [](Sound& s) { s.tone(0, 0.25, noteHz(93), noteHz(93), Wave::Sine, 0.6, 0.002, 0.22); }},
    };
    return list;
}

// Music: small loops with a bass, chords on a marimba-like pluck, a lead and a shaker.
struct Tune {
    const char* name;
    double volume;
    bool loop;
    double fadeout;
    std::function<void(Sound&)> draw;
};

void song(Sound& s, int bpm, const std::vector<std::vector<int>>& chords, const std::vector<int>& melody,
          double leadAmp) {
    const double beat = 60.0 / bpm;
    const double bar = beat * 4;
    s.ensure(bar * chords.size());
    for (size_t b = 0; b < chords.size(); ++b) {
        const double t0 = b * bar;
        const std::vector<int>& c = chords[b];
        for (int k = 0; k < 4; ++k) {
            const double f = noteHz(c[0] - 24 + (k % 2 == 1 ? 7 : 0));
            s.tone(t0 + k * beat, beat * 0.9, f, f, Wave::Triangle, 0.35, 0.005, beat * 0.5);
        }
        for (int k = 0; k < 8; ++k) {
            const double f = noteHz(c[static_cast<size_t>(k) % c.size()] + (k >= 4 ? 12 : 0));
            s.tone(t0 + k * beat / 2, beat * 0.5, f, f, Wave::Sine, 0.18, 0.002, beat * 0.45);
            s.noise(t0 + k * beat / 2 + (k % 2 ? beat / 4 : 0), 0.04, 7000, k % 2 ? 0.03 : 0.05);
        }
    }
    // The melody: one note per half beat, 0 is a rest.
    for (size_t i = 0; i < melody.size(); ++i) {
        if (melody[i] == 0) continue;
        size_t len = 1;
        while (i + len < melody.size() && melody[i + len] == -1)
            ++len;
        if (melody[i] < 0) continue;
        const double f = noteHz(melody[i]);
        // A soft lead: a triangle with a quiet octave of sine on top.
        s.tone(i * beat / 2, len * beat / 2 * 0.95, f, f, Wave::Triangle, leadAmp * 1.6, 0.01, 0.08);
        s.tone(i * beat / 2, len * beat / 2 * 0.95, f * 2, f * 2, Wave::Sine, leadAmp * 0.4, 0.01, 0.08);
    }
}

const std::vector<Tune>& tunes() {
    static const std::vector<Tune> list = {
        {"menu_theme", 0.7, true, 1.5,
         [](Sound& s) {
             // C - Am - F - G, twice, with a bouncing tune on top.
             song(s, 104,
                  {{60, 64, 67},
                   {57, 60, 64},
                   {53, 57, 60},
                   {55, 59, 62},
                   {60, 64, 67},
                   {57, 60, 64},
                   {53, 57, 60},
                   {55, 59, 62}},
                  {72, -1, 76, 79, 76, -1, 74, 72, 69, -1, 72, 76, 72, -1, 0,  0,  65, -1, 69, 72, 74, -1,
                   72, 69, 71, -1, 74, -1, 67, -1, 0,  0,  72, -1, 76, 79, 81, -1, 79, 76, 72, -1, 76, 79,
                   76, -1, 0,  0,  77, -1, 76, 74, 72, -1, 69, 72, 74, -1, 71, -1, 72, -1, -1, -1},
                  0.12);
         }},
        {"reef_theme", 0.6, true, 2.0,
         [](Sound& s) {
             // Am - F - C - G: a busier tune for the missions.
             song(s, 116,
                  {{57, 60, 64},
                   {53, 57, 60},
                   {60, 64, 67},
                   {55, 59, 62},
                   {57, 60, 64},
                   {53, 57, 60},
                   {60, 64, 67},
                   {55, 59, 62}},
                  {69, 72, 76, 72, 74, -1, 72, 71, 69, -1, 65, 69, 72, -1, 0,  0,  67, 72, 76, -1, 74,
                   72, 71, -1, 67, -1, 71, 74, 71, -1, 0,  0,  76, -1, 74, 72, 74, -1, 77, 76, 72, -1,
                   69, 72, 77, -1, 76, 74, 72, -1, 76, 79, 76, 74, 72, -1, 71, -1, 74, -1, 71, -1},
                  0.1);
         }},
        {"jingle_win", 0.9, false, 0.5,
         [](Sound& s) {
             arpeggio(s, 0, {60, 64, 67, 72, 76, 79}, 0.09, Wave::Square, 0.2, 0.25);
             for (int n : {72, 76, 79, 84})
                 s.tone(0.6, 1.2, noteHz(n), noteHz(n), Wave::Triangle, 0.25, 0.01, 0.8);
             for (int i = 0; i < 6; ++i)
                 s.bubble(0.6 + i * 0.1, 0.5 + 0.1 * i, 0.2);
         }},
        {"jingle_lose", 0.9, false, 0.5,
         [](Sound& s) {
             const int notes[] = {67, 66, 65};
             for (int i = 0; i < 3; ++i)
                 s.tone(i * 0.35, 0.32, noteHz(notes[i]), noteHz(notes[i]), Wave::Saw, 0.2, 0.01, 0.1);
             s.tone(1.05, 1.0, noteHz(64), noteHz(62), Wave::Saw, 0.22, 0.01, 0.6);
             s.tone(1.05, 1.0, noteHz(40), noteHz(38), Wave::Triangle, 0.3, 0.01, 0.6);
         }},
    };
    return list;
}

PlistNode event(const std::string& file, const char* category, double volume, bool loop, double fadeout) {
    char number[32];
    PlistNode node = PlistNode::makeDict();
    node.set("file", PlistNode::str(file));
    node.set("category", PlistNode::str(category));
    std::snprintf(number, sizeof number, "%.2f", volume);
    node.set("volume", PlistNode::str(number));
    node.set("loop", PlistNode::str(loop ? "YES" : "NO"));
    std::snprintf(number, sizeof number, "%.2f", fadeout);
    node.set("fadeout", PlistNode::str(number));
    return node;
}

bool writeTable(const std::string& path, const std::string& project, const PlistNode& events) {
    PlistNode root = PlistNode::makeDict();
    root.set("project", PlistNode::str(project));
    root.set("events", events);
    std::string text;
    return writePlistDocument(root, text) && writeResource(path, Bytes(text.begin(), text.end()));
}
} // namespace

bool buildSounds(const BuildPaths& paths) {
    const std::string folder = paths.target + "/sounds";
    bool ok = true;
    int files = 0;
    PlistNode sfx = PlistNode::makeDict();
    for (const Effect& effect : effects()) {
        Sound sound;
        effect.draw(sound);
        sound.normalise();
        const std::string file = std::string("sfx/") + effect.name + ".wav";
        ok = writeResource(folder + "/" + file, sound.wav()) && ok;
        sfx.set(std::string("kelvos/SFX/") + effect.name, event(file, "SFX", effect.volume, false, 0.1));
        ++files;
    }
    for (const Voice& voice : kVoices) {
        for (const VoiceLine& line : voiceLines()) {
            Sound sound;
            line.draw(sound, voice);
            sound.normalise();
            const std::string stem = std::string(voice.name) + "_" + line.line;
            const std::string file = "voices/" + stem + ".wav";
            ok = writeResource(folder + "/" + file, sound.wav()) && ok;
            sfx.set("kelvos/SFX/" + stem, event(file, "SFX", line.volume, false, 0.1));
            ++files;
        }
    }
    PlistNode music = PlistNode::makeDict();
    for (const Tune& tune : tunes()) {
        Sound sound;
        tune.draw(sound);
        sound.normalise(0.8);
        const std::string file = std::string("music/") + tune.name + ".wav";
        ok = writeResource(folder + "/" + file, sound.wav()) && ok;
        music.set(std::string("kelvos_music/music/") + tune.name,
                  event(file, "music", tune.volume, tune.loop, tune.fadeout));
        ++files;
    }
    ok = writeTable(folder + "/kelvos.fev", "kelvos", sfx) && ok;
    ok = writeTable(folder + "/kelvos_music.fev", "kelvos_music", music) && ok;
    logLine("sounds: " + std::to_string(files) + " files and 2 event tables");
    return ok;
}

} // namespace kvcontent
