// kelvos_driver: runs the game's real start-up without a display, for whole-program tests.
//
//   kelvos_driver [--resources DIR] [--frames N] [--step SECONDS] [--size WxH] [--screen-mm WxH]
//                 [--shot FRAME:FILE.png]... [--event FRAME:KIND[:ARGS]]... [--overdraw FILE]
//
// The run loop is driven by a fake clock that moves one step per idle turn, so every frame is
// exactly one step apart and a run takes no wall-clock time. Frames are counted from 1 as they
// are drawn. Events given for frame F are delivered before frame F is drawn:
//   down:X:Y, move:X:Y, up:X:Y   left mouse button, window pixels from the top left
//   key:NAME                      escape, space, left, right, up, down, plus, minus
//   close                         the user closes the window
//   drag-pawn:DX:DY               during a mission: the pointer to the pawn whose turn it is and
//                                 down there (where it is
//                                 on the window at frame F), four moves to DX, DY pixels from there
//                                 in frames F+1..F+4, up in frame F+5; nothing (logged) without one
//   skip-turn                     posts "EVENT_SKIP_TURN", as the HUD's skip button does
//   set-life:SIDE:N:HP            during a mission: gives the N-th pawn (from 0, in the order they
//                                 joined the board) of SIDE ("player" or "enemy") HP hit points,
//                                 so a scripted play reaches a knock-out in a few hits; nothing
//                                 (logged) without such a pawn
//   knock-out:SIDE:N              during a mission: the N-th pawn of SIDE takes a blow of ten times
//                                 its maximum hit points (nothing for a pawn that takes no damage)
// --menu-state F:ID asks the menu manager for state ID before frame F is drawn (screens no input
// reaches); F:loading:K makes a loading screen of kind K the running scene instead.
// --trace-states 1 prints "state F: current C previous P" at every change of the manager's record,
// followed by " pop-up K" with the pop-up kind when C is the item pop-up's state (24).
// --mission NAME starts the mission NAME before frame 2, without waiting for the splash: the menu
// manager gets the chapter whose "mission_list" holds NAME and the mission, and enters state 17
// (the launch the world map uses). --seed N seeds the game's random numbers before start-up.
// --pearls N gives the player exactly N pearls before frame 2 and saves the profile (a shop run
// needs something to spend).
// --trace FILE writes one line per posted notification: "F NAME CLASS VALUE", with F the frame
// being prepared, CLASS the object's class ("-" without one) and VALUE the number or text of a
// boxed value or string, an array's items joined by commas, or "-". A line whose object is a pawn
// goes on with " speed S angle A": its body's speed (m/s) and its angle (radians) at the post.
// --realtime runs on the real clock until the window is closed (a person can play a mission:
// kelvos_driver --realtime --mission M01a).
// --autoplay (a test tool) lets the computer play the player's side of the --mission: the player's
// kelvos are moved by the enemies' controller and brain, which also walks them toward the
// mission's goal when nothing is at hand (DriverAutoplay.h). Every dialogue is tapped through in
// the middle of the window, one tap ten frames. The run ends 30 frames after "EVENT_GAME_WINNER"
// (or at --frames, 36000 unless given) and prints, on exit, the line
//   autoplay: result=won|lost|unfinished mission=NAME seed=N turns=T frame=F
// T being the player turns begun and F the frame of "EVENT_GAME_WINNER" (the last frame drawn
// when unfinished). With --autoplay, the frame of a --shot, --event or --menu-state may be written
// "w+N": N frames (N >= 1) after the frame of "EVENT_GAME_WINNER"; the run then goes on until the
// last of them has passed (the result screen, a way back to the menus), and such options of an
// unwon run do nothing.
// Web pages the game opens are not handed to a browser (except with --realtime): each prints
// "web page F: ADDRESS", F the frame being prepared.
// With --bare, no game runs: a window of the same size with a GL context is opened, cleared
// and shown once, as the smallest program that draws a frame does (the start-up benchmark
// compares the two); with more than one frame, every later frame clears and draws one textured
// quad over the whole window (the frame benchmark compares the two). Both print "first frame:
// N us", measured from the start of main.
// --overdraw FILE writes one line a frame:
//   frame F: N fragments (R windows), cpu C us, wall W us
// N counts the fragments that passed the depth test (a GL_SAMPLES_PASSED query around the frame),
// R is N over the window's area, C the main thread's CPU time from the end of the previous frame
// to the end of this one's drawing (the game and engine, and the GL work done on that thread),
// W the frame period: wall time from the previous frame drawn (its query read, which waits for
// the drawing) to this one drawn, the swap included.
// --draw-every N draws only frame 1, every N-th frame, the last one and the frames a screenshot
// or --overdraw needs; the others still run (game time, input, scene changes) but draw nothing.
// Whole-program tests that look at the trace need no pictures of most frames.
// A screenshot is the picture of frame F as it is about to be shown. After the last frame the
// window is closed as the user would. The exit status is the game's.
#include <png.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCRandom.h"
#include "engine/base/CCValue.h"
#include "engine/director/CCDirector.h"
#include "engine/platform/CCClock.h"
#include "engine/platform/CCDesktop.h"
#include "engine/platform/CCGL.h"
#include "engine/platform/CCGLWindow.h"
#include "game/app/AppDelegate.h"
#include "game/app/KVGlobalNames.h"
#include "game/app/KVStartup.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVLoadingScreenView.h"
#include "game/menu/KVMenuManager.h"
#include "game/model/KVGameModel.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVPawnManager.h"
#include "game/pawns/KVTurnManager.h"
#include "game/scene/KVGameplayLayer.h"
#include "game/scene/KVGameplayScene.h"

#include "DriverAutoplay.h"

using namespace kvengine;

namespace {

struct Options {
    std::string resources = KELVOS_RESOURCES_DIR;
    int frames = 360;
    double step = 1.0 / 60.0;
    int width = 960;
    int height = 600;
    float screenWidthMm = 0.0f; // 0: square pixels, the window's proportions
    float screenHeightMm = 0.0f;
    std::multimap<int, std::string> shots;
    std::multimap<int, CCPlatformEvent> events;
    std::multimap<int, CCPoint> pawnDrags; // frame -> drag in window pixels
    std::multiset<int> skipTurns;          // frames
    struct LifeChange {
        bool enemy;
        int index;
        int hitPoints;
    };
    std::multimap<int, LifeChange> lifeChanges; // frame -> change
    std::string overdraw;
    int drawEvery = 1;
    std::multimap<int, int> menuStates;     // frame -> state id
    std::multimap<int, int> loadingScreens; // frame -> loading-screen kind
    bool traceStates = false;
    std::string mission;
    int pearls = -1; // -1: the profile's own amount
    bool seeded = false;
    unsigned seed = 0;
    std::string trace;
    bool realtime = false;
    bool autoplay = false;
    bool framesGiven = false;
    // Options whose frame counts from the autoplay's win ("w+N"): name, value, N.
    struct AfterWin {
        std::string name;
        std::string value;
        int frames;
    };
    std::vector<AfterWin> afterWin;
};

// Frames an autoplayed mission runs at most unless --frames says otherwise: ten minutes of play.
constexpr int kAutoplayFrames = 36000;
// Frames drawn after "EVENT_GAME_WINNER" before an autoplayed run closes the window.
constexpr int kAutoplayFramesAfterResult = 30;
// An autoplayed dialogue gets one tap every so many frames.
constexpr int kAutoplayTapFrames = 10;

bool parsePair(const char* text, char separator, float& a, float& b) {
    char* end = nullptr;
    a = std::strtof(text, &end);
    if (end == text || *end != separator) return false;
    const char* second = end + 1;
    b = std::strtof(second, &end);
    return end != second && *end == '\0';
}

bool parseKey(const std::string& name, CCKey& key) {
    static const std::map<std::string, CCKey> kKeys = {
        {"escape", CCKey::Escape},   {"space", CCKey::Space},
        {"left", CCKey::Left},       {"right", CCKey::Right},
        {"up", CCKey::Up},           {"down", CCKey::Down},
        {"plus", CCKey::KeypadPlus}, {"minus", CCKey::KeypadMinus}};
    auto found = kKeys.find(name);
    if (found == kKeys.end()) return false;
    key = found->second;
    return true;
}

bool parseEvent(const std::string& spec, int& frame, CCPlatformEvent& event) {
    const size_t colon = spec.find(':');
    if (colon == std::string::npos) return false;
    frame = std::atoi(spec.substr(0, colon).c_str());
    const std::string rest = spec.substr(colon + 1);
    const size_t kindEnd = rest.find(':');
    const std::string kind = rest.substr(0, kindEnd);
    const std::string args = kindEnd == std::string::npos ? "" : rest.substr(kindEnd + 1);
    if (frame < 1) return false;
    if (kind == "close") {
        event = CCPlatformEvent::make(CCEventType::WindowClose);
        return true;
    }
    if (kind == "key") {
        CCKey key;
        if (!parseKey(args, key)) return false;
        event = CCPlatformEvent::keyDown(key);
        return true;
    }
    float x = 0.0f;
    float y = 0.0f;
    if (!parsePair(args.c_str(), ':', x, y)) return false;
    if (kind == "down") {
        event = CCPlatformEvent::mouse(CCEventType::MouseDown, static_cast<int>(x), static_cast<int>(y),
                                       kCCMouseLeft);
    } else if (kind == "move") {
        event = CCPlatformEvent::mouse(CCEventType::MouseMove, static_cast<int>(x), static_cast<int>(y),
                                       kCCMouseLeft);
    } else if (kind == "up") {
        event = CCPlatformEvent::mouse(CCEventType::MouseUp, static_cast<int>(x), static_cast<int>(y), 0);
    } else {
        return false;
    }
    return true;
}

// "F:set-life:SIDE:N:HP", whole and in range.
bool parseLifeChange(const std::string& spec, int& frame, Options::LifeChange& change) {
    char side[16] = {};
    int consumed = 0;
    if (std::sscanf(spec.c_str(), "%d:set-life:%15[a-z]:%d:%d%n", &frame, side, &change.index,
                    &change.hitPoints, &consumed) != 4 ||
        static_cast<size_t>(consumed) != spec.size())
        return false;
    const std::string sideName = side;
    if (frame < 1 || change.index < 0 || change.hitPoints < 1 ||
        (sideName != "player" && sideName != "enemy"))
        return false;
    change.enemy = sideName == "enemy";
    return true;
}

// "F:knock-out:SIDE:N": a life change to no hit points, dealt as a blow.
bool parseKnockOut(const std::string& spec, int& frame, Options::LifeChange& change) {
    char side[16] = {};
    int consumed = 0;
    if (std::sscanf(spec.c_str(), "%d:knock-out:%15[a-z]:%d%n", &frame, side, &change.index, &consumed) !=
            3 ||
        static_cast<size_t>(consumed) != spec.size())
        return false;
    const std::string sideName = side;
    if (frame < 1 || change.index < 0 || (sideName != "player" && sideName != "enemy")) return false;
    change.enemy = sideName == "enemy";
    change.hitPoints = 0;
    return true;
}

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--realtime") {
            options.realtime = true;
            continue;
        }
        if (name == "--autoplay") {
            options.autoplay = true;
            continue;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "kelvos_driver: %s needs a value\n", name.c_str());
            return false;
        }
        const std::string value = argv[++i];
        if ((name == "--shot" || name == "--event" || name == "--menu-state") && value.rfind("w+", 0) == 0) {
            // Resolved once the win's frame is known (resolveAfterWin).
            const int frames = std::atoi(value.c_str() + 2);
            const size_t colon = value.find(':');
            if (frames < 1 || colon == std::string::npos ||
                value.substr(2, colon - 2) != std::to_string(frames)) {
                std::fprintf(stderr, "kelvos_driver: bad frame in %s %s\n", name.c_str(), value.c_str());
                return false;
            }
            std::string rest = value.substr(colon);
            // The game makes its resource folder the current directory: fix a screenshot's path now.
            if (name == "--shot") rest = ":" + std::filesystem::absolute(rest.substr(1)).string();
            options.afterWin.push_back({name, rest, frames});
            continue;
        }
        if (name == "--resources") {
            options.resources = std::filesystem::absolute(value).string();
        } else if (name == "--frames") {
            options.frames = std::atoi(value.c_str());
            if (options.frames < 1) return false;
            options.framesGiven = true;
        } else if (name == "--step") {
            options.step = std::atof(value.c_str());
            if (!(options.step > 0.0)) return false;
        } else if (name == "--size") {
            float w = 0.0f;
            float h = 0.0f;
            if (!parsePair(value.c_str(), 'x', w, h) || w < 1.0f || h < 1.0f) return false;
            options.width = static_cast<int>(w);
            options.height = static_cast<int>(h);
        } else if (name == "--screen-mm") {
            if (!parsePair(value.c_str(), 'x', options.screenWidthMm, options.screenHeightMm)) return false;
        } else if (name == "--shot") {
            const size_t colon = value.find(':');
            if (colon == std::string::npos) return false;
            // The game makes its resource folder the current directory: fix the path first.
            options.shots.emplace(std::atoi(value.substr(0, colon).c_str()),
                                  std::filesystem::absolute(value.substr(colon + 1)).string());
        } else if (name == "--overdraw") {
            options.overdraw = std::filesystem::absolute(value).string();
        } else if (name == "--draw-every") {
            options.drawEvery = std::atoi(value.c_str());
            if (options.drawEvery < 1) return false;
        } else if (name == "--menu-state") {
            const size_t colon = value.find(':');
            if (colon == std::string::npos) return false;
            const int frame = std::atoi(value.substr(0, colon).c_str());
            const std::string what = value.substr(colon + 1);
            if (frame < 1) return false;
            if (what.rfind("loading:", 0) == 0)
                options.loadingScreens.emplace(frame, std::atoi(what.substr(8).c_str()));
            else
                options.menuStates.emplace(frame, std::atoi(what.c_str()));
        } else if (name == "--mission") {
            options.mission = value;
        } else if (name == "--pearls") {
            char* end = nullptr;
            const long pearls = std::strtol(value.c_str(), &end, 10);
            if (end == value.c_str() || *end != '\0' || pearls < 0 || pearls > 1000000000) return false;
            options.pearls = static_cast<int>(pearls);
        } else if (name == "--seed") {
            char* end = nullptr;
            const unsigned long seed = std::strtoul(value.c_str(), &end, 10);
            if (end == value.c_str() || *end != '\0') return false;
            options.seeded = true;
            options.seed = static_cast<unsigned>(seed);
        } else if (name == "--trace") {
            options.trace = std::filesystem::absolute(value).string();
        } else if (name == "--trace-states") {
            options.traceStates = value != "0";
        } else if (name == "--event" && value.find(":drag-pawn:") != std::string::npos) {
            const size_t at = value.find(":drag-pawn:");
            const int frame = std::atoi(value.substr(0, at).c_str());
            float dx = 0.0f;
            float dy = 0.0f;
            if (frame < 1 || !parsePair(value.c_str() + at + 11, ':', dx, dy)) {
                std::fprintf(stderr, "kelvos_driver: bad event \"%s\"\n", value.c_str());
                return false;
            }
            options.pawnDrags.emplace(frame, CCPoint(dx, dy));
        } else if (name == "--event" && value.find(":skip-turn") != std::string::npos) {
            const int frame = std::atoi(value.c_str());
            if (frame < 1 || value != std::to_string(frame) + ":skip-turn") {
                std::fprintf(stderr, "kelvos_driver: bad event \"%s\"\n", value.c_str());
                return false;
            }
            options.skipTurns.insert(frame);
        } else if (name == "--event" && value.find(":knock-out:") != std::string::npos) {
            int frame = 0;
            Options::LifeChange change{};
            if (!parseKnockOut(value, frame, change)) {
                std::fprintf(stderr, "kelvos_driver: bad event \"%s\"\n", value.c_str());
                return false;
            }
            options.lifeChanges.emplace(frame, change);
        } else if (name == "--event" && value.find(":set-life:") != std::string::npos) {
            int frame = 0;
            Options::LifeChange change{};
            if (!parseLifeChange(value, frame, change)) {
                std::fprintf(stderr, "kelvos_driver: bad event \"%s\"\n", value.c_str());
                return false;
            }
            options.lifeChanges.emplace(frame, change);
        } else if (name == "--event") {
            int frame = 0;
            CCPlatformEvent event;
            if (!parseEvent(value, frame, event)) {
                std::fprintf(stderr, "kelvos_driver: bad event \"%s\"\n", value.c_str());
                return false;
            }
            options.events.emplace(frame, event);
        } else {
            std::fprintf(stderr, "kelvos_driver: unknown option %s\n", name.c_str());
            return false;
        }
    }
    return true;
}

// The back buffer as a PNG file (rows from the top).
bool writeScreenshot(const std::string& path, int width, int height) {
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    for (size_t i = 3; i < pixels.size(); i += 4)
        pixels[i] = 255; // the screen has no transparency
    // A negative stride reads the bottom-up GL rows from the last one.
    const int stride = -width * 4;
    if (!png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), stride, nullptr)) {
        std::fprintf(stderr, "kelvos_driver: cannot write %s: %s\n", path.c_str(), image.message);
        return false;
    }
    return true;
}

int64_t threadCpuMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return int64_t(now.tv_sec) * 1'000'000 + now.tv_nsec / 1000;
}

int64_t wallMicroseconds() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

/// The --overdraw lines: a samples-passed query and the main thread's clocks around each frame.
class FrameMeter {
public:
    ~FrameMeter() {
        if (m_file != nullptr) std::fclose(m_file);
    }
    /// Drops the query while the context still exists; the file stays open for the last lines.
    void stop() {
        if (m_query == 0) return;
        if (m_measuring) glEndQuery(GL_SAMPLES_PASSED);
        glDeleteQueries(1, &m_query);
        m_query = 0;
        m_measuring = false;
    }
    /// Opens the file and starts measuring the first frame; false (with a message) when the file
    /// cannot be written.
    bool start(const std::string& path, int width, int height) {
        m_file = std::fopen(path.c_str(), "w");
        if (m_file == nullptr) {
            std::fprintf(stderr, "kelvos_driver: cannot write %s\n", path.c_str());
            return false;
        }
        m_area = double(width) * height;
        glGenQueries(1, &m_query);
        begin();
        return true;
    }
    bool active() const { return m_file != nullptr; }
    /// Ends the frame's measure (before anything else reads the frame) and writes its line.
    void endFrame(int frame) {
        if (!m_measuring) return;
        m_measuring = false;
        const int64_t cpu = threadCpuMicroseconds() - m_cpuStart;
        glEndQuery(GL_SAMPLES_PASSED);
        GLuint samples = 0;
        glGetQueryObjectuiv(m_query, GL_QUERY_RESULT, &samples);
        // The frame period: from the previous frame drawn to this one drawn, the swap included.
        const int64_t now = wallMicroseconds();
        const int64_t wall = now - (m_lastDrawn != 0 ? m_lastDrawn : m_wallStart);
        m_lastDrawn = now;
        std::fprintf(m_file, "frame %d: %u fragments (%.3f windows), cpu %lld us, wall %lld us\n", frame,
                     samples, samples / m_area, static_cast<long long>(cpu), static_cast<long long>(wall));
    }
    /// Starts measuring the next frame.
    void begin() {
        if (m_query == 0 || m_measuring) return;
        m_measuring = true;
        m_cpuStart = threadCpuMicroseconds();
        m_wallStart = wallMicroseconds();
        glBeginQuery(GL_SAMPLES_PASSED, m_query);
    }

private:
    std::FILE* m_file = nullptr;
    GLuint m_query = 0;
    bool m_measuring = false;
    double m_area = 1.0;
    int64_t m_cpuStart = 0;
    int64_t m_wallStart = 0;
    int64_t m_lastDrawn = 0;
};

class DriverWindow;

// The --trace file and the frame its lines are stamped with.
std::FILE* g_traceFile = nullptr;
const int* g_traceFrame = nullptr;

std::string traceValue(CCObject* object) {
    if (object == nullptr) return "-";
    if (auto* text = dynamic_cast<CCString*>(object)) return text->text;
    if (auto* number = dynamic_cast<CCValue<int>*>(object)) return std::to_string(number->value);
    if (auto* number = dynamic_cast<CCValue<float>*>(object)) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%g", number->value);
        return buffer;
    }
    if (auto* list = dynamic_cast<CCMutableArray<CCObject*>*>(object)) {
        std::string joined;
        for (unsigned i = 0; i < list->count(); ++i) {
            const std::string item = traceValue(list->objectAtIndex(i));
            if (item == "-") return "-";
            joined += (i > 0 ? "," : "") + item;
        }
        return joined.empty() ? "-" : joined;
    }
    return "-";
}

// The autoplayed mission's outcome, followed through the posts; null without --autoplay.
kvdriver::AutoplayOutcome* g_autoplay = nullptr;

void tracePost(CCString* name, CCObject* object) {
    if (g_autoplay != nullptr)
        kvdriver::noteAutoplayPost(name->text, g_traceFrame != nullptr ? *g_traceFrame + 1 : 0, *g_autoplay);
    if (g_traceFile == nullptr) return;
    std::fprintf(g_traceFile, "%d %s %s %s", g_traceFrame != nullptr ? *g_traceFrame + 1 : 0,
                 name->text.c_str(), object != nullptr ? object->className() : "-",
                 traceValue(object).c_str());
    if (auto* pawn = dynamic_cast<KVPawn*>(object))
        std::fprintf(g_traceFile, " speed %.2f angle %.2f", pawn->getBodySpeed(), pawn->angle);
    std::fputc('\n', g_traceFile);
}

struct Run {
    Options options;
    int framesDrawn = 0;
    bool failed = false;
    kvdriver::AutoplayOutcome autoplay;
    std::chrono::steady_clock::time_point start;
};

void reportFirstFrame(const Run& run) {
    const auto elapsed = std::chrono::steady_clock::now() - run.start;
    std::printf(
        "first frame: %lld us\n",
        static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count()));
    std::fflush(stdout);
}

// The bare program's picture: one texture of 256 x 256 texels, stretched over the window.
GLuint makeBareTexture() {
    std::vector<unsigned char> texels(256 * 256 * 4);
    for (size_t i = 0; i < texels.size(); i += 4) {
        texels[i] = static_cast<unsigned char>(i / 4 % 256);
        texels[i + 1] = static_cast<unsigned char>(i / 1024);
        texels[i + 2] = 128;
        texels[i + 3] = 255;
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 256, 256, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return name;
}

void drawBareQuad(GLuint texture) {
    static const float corners[] = {-1, -1, 1, -1, -1, 1, 1, 1};
    static const float texCoords[] = {0, 0, 1, 0, 0, 1, 1, 1};
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, corners);
    glTexCoordPointer(2, GL_FLOAT, 0, texCoords);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

int runBare(Run& run) {
    std::unique_ptr<CCGLWindow> window = createPlatformWindow();
    if (!window->create("bare", false, run.options.width, run.options.height)) return 1;
    window->show();
    FrameMeter meter;
    if (!run.options.overdraw.empty() &&
        !meter.start(run.options.overdraw, run.options.width, run.options.height))
        return 3;
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    meter.endFrame(1);
    window->swapBuffers();
    glFinish();
    reportFirstFrame(run);
    run.framesDrawn = 1;
    const GLuint texture = run.options.frames > 1 ? makeBareTexture() : 0;
    for (int frame = 2; frame <= run.options.frames; ++frame) {
        meter.begin();
        CCPlatformEvent event;
        while (window->poll(event)) {
        }
        glClear(GL_COLOR_BUFFER_BIT);
        drawBareQuad(texture);
        meter.endFrame(frame);
        window->swapBuffers();
        run.framesDrawn = frame;
    }
    if (texture != 0) glDeleteTextures(1, &texture);
    meter.stop();
    window->destroy();
    return 0;
}

/// The platform window, opened windowed at the chosen size that it reports as the desktop, with
/// the scripted events put before the platform's own.
class DriverWindow : public CCGLWindow {
public:
    explicit DriverWindow(Run& run) : m_run(run), m_inner(createPlatformWindow()) { queueEventsFor(1); }

    bool create(const char* title, bool, int, int) override {
        if (!m_inner->create(title, false, m_run.options.width, m_run.options.height)) return false;
        if (!m_run.options.overdraw.empty() && !m_meter.active() &&
            !m_meter.start(m_run.options.overdraw, m_run.options.width, m_run.options.height))
            m_run.failed = true;
        return true;
    }
    void destroy() override {
        m_meter.stop();
        m_inner->destroy();
    }
    bool isOpen() const override { return m_inner->isOpen(); }
    bool hasGLContext() const override { return m_inner->hasGLContext(); }
    void getDesktopSize(int& width, int& height) const override {
        width = m_run.options.width;
        height = m_run.options.height;
    }
    void getClientSize(int& width, int& height) const override { m_inner->getClientSize(width, height); }
    void setClientSize(int, int) override {}
    void show() override { m_inner->show(); }
    void setSystemCursorVisible(bool visible) override { m_inner->setSystemCursorVisible(visible); }
    void getWorkArea(int& x, int& y, int& width, int& height) const override {
        x = y = 0;
        getDesktopSize(width, height);
    }
    void getFrameSize(int& width, int& height) const override { m_inner->getClientSize(width, height); }
    void setPosition(int x, int y) override { m_inner->setPosition(x, y); }
    void raise() override { m_inner->raise(); }
    void setMouseCaptured(bool captured) override { m_inner->setMouseCaptured(captured); }
    void postCloseRequest() override { m_events.push(CCPlatformEvent::make(CCEventType::WindowClose)); }
    bool poll(CCPlatformEvent& out) override { return m_events.poll(out) || m_inner->poll(out); }

    void swapBuffers() override {
        const int frame = ++m_run.framesDrawn;
        m_meter.endFrame(frame);
        auto shots = m_run.options.shots.equal_range(frame);
        for (auto it = shots.first; it != shots.second; ++it) {
            int width = 0;
            int height = 0;
            m_inner->getClientSize(width, height);
            if (!writeScreenshot(it->second, width, height)) m_run.failed = true;
        }
        if (CCDirector::getInstance()->drawsScene()) m_inner->swapBuffers();
        CCDirector::getInstance()->setDrawsScene(drawsFrame(frame + 1));
        if (frame == 1) {
            glFinish();
            reportFirstFrame(m_run);
        }
        const int winner = m_run.autoplay.winnerFrame;
        if (m_run.options.autoplay && winner > 0 && !m_afterWinResolved) resolveAfterWin(winner);
        if (frame >= m_run.options.frames ||
            (m_run.options.autoplay && winner > 0 && frame >= winner + m_framesAfterWin)) {
            m_events.push(CCPlatformEvent::make(CCEventType::WindowClose));
        } else {
            queueEventsFor(frame + 1);
        }
        m_meter.begin();
    }

private:
    // The "w+N" options become options of frame winner + N; the run lasts past the last of them.
    void resolveAfterWin(int winner) {
        m_afterWinResolved = true;
        for (const Options::AfterWin& option : m_run.options.afterWin) {
            const std::string name = option.name;
            const std::string value = std::to_string(winner + option.frames) + option.value;
            char* arguments[] = {const_cast<char*>("kelvos_driver"), const_cast<char*>(name.c_str()),
                                 const_cast<char*>(value.c_str())};
            if (!parseOptions(3, arguments, m_run.options)) {
                std::fprintf(stderr, "kelvos_driver: bad option %s %s\n", name.c_str(), value.c_str());
                m_run.failed = true;
            }
            m_framesAfterWin = std::max(m_framesAfterWin, option.frames + 1);
        }
        // A run that goes on after the win goes on as far as it needs.
        m_run.options.frames = std::max(m_run.options.frames, winner + m_framesAfterWin);
    }

    bool drawsFrame(int frame) const {
        const Options& options = m_run.options;
        return frame % options.drawEvery == 0 || frame >= options.frames || options.shots.count(frame) > 0 ||
               !options.overdraw.empty();
    }

    void queueEventsFor(int frame) {
        auto events = m_run.options.events.equal_range(frame);
        for (auto it = events.first; it != events.second; ++it)
            m_events.push(it->second);
        // Asked between frames, as a screen's handler would.
        auto states = m_run.options.menuStates.equal_range(frame);
        for (auto it = states.first; it != states.second; ++it)
            if (frame > 1) KVMenuManager::getInstance()->changeState(it->second);
        if (frame == 2 && m_run.options.pearls >= 0) {
            KVPlayerParameters* profile = KVPlayerParameters::getInstance();
            profile->removePearls(profile->getPearlAmount());
            profile->addPearls(m_run.options.pearls);
            profile->saveProfile();
        }
        if (frame == 2 && !m_run.options.mission.empty()) startMission(m_run.options.mission);
        auto drags = m_run.options.pawnDrags.equal_range(frame);
        for (auto it = drags.first; it != drags.second; ++it)
            dragCurrentPawn(frame, it->second);
        auto lives = m_run.options.lifeChanges.equal_range(frame);
        for (auto it = lives.first; it != lives.second; ++it)
            setLife(frame, it->second);
        for (size_t n = m_run.options.skipTurns.count(frame); n > 0; --n)
            CCNotificationCenter::getInstance()->postNotification(EVENT_SKIP_TURN);
        if (m_run.options.autoplay && frame % kAutoplayTapFrames == 0 && kvdriver::isDialogueWaitingForTap())
            tapDialogue(frame);
        if (m_run.options.autoplay) {
            const std::string tapped = m_hand.update();
            if (!tapped.empty()) std::printf("autoplay %d: %s\n", frame, tapped.c_str());
        }
        auto loading = m_run.options.loadingScreens.equal_range(frame);
        for (auto it = loading.first; it != loading.second; ++it)
            if (frame > 1)
                CCDirector::getInstance()->replaceScene(KVLoadingScreenView::createWithKind(it->second));
    }

    // Down on the current pawn now, the moves and the up in the next five frames.
    void dragCurrentPawn(int frame, const CCPoint& drag) {
        CCPoint start;
        if (!currentPawnOnWindow(start)) {
            std::fprintf(stderr, "kelvos_driver: frame %d: no pawn to drag\n", frame);
            return;
        }
        auto at = [&start, &drag](float share) {
            return CCPoint(start.x + drag.x * share, start.y + drag.y * share);
        };
        auto mouse = [](CCEventType type, const CCPoint& p, int buttons) {
            return CCPlatformEvent::mouse(type, static_cast<int>(std::lround(p.x)),
                                          static_cast<int>(std::lround(p.y)), buttons);
        };
        // The pointer arrives first, as a hand on a mouse brings it: the game reads where a
        // press happened from the last move.
        m_events.push(mouse(CCEventType::MouseMove, start, 0));
        m_events.push(mouse(CCEventType::MouseDown, start, kCCMouseLeft));
        for (int step = 1; step <= 4; ++step)
            m_run.options.events.emplace(frame + step,
                                         mouse(CCEventType::MouseMove, at(step / 4.0f), kCCMouseLeft));
        m_run.options.events.emplace(frame + 5, mouse(CCEventType::MouseUp, at(1.0f), 0));
        std::printf("drag-pawn %d: from %.0f,%.0f by %.0f,%.0f\n", frame, start.x, start.y, drag.x, drag.y);
    }

    // A press in the middle of the window now, released on the next frame.
    // A tap on the shown dialogue's text box, or on the window's middle when no box is shown.
    void tapDialogue(int frame) {
        int x = m_run.options.width / 2;
        int y = m_run.options.height / 2;
        CCPoint world;
        CCPoint window;
        if (kvdriver::dialogueTapPoint(world) && worldToWindow(world, window)) {
            x = static_cast<int>(std::lround(window.x));
            y = static_cast<int>(std::lround(window.y));
        }
        m_events.push(CCPlatformEvent::mouse(CCEventType::MouseMove, x, y, 0));
        m_events.push(CCPlatformEvent::mouse(CCEventType::MouseDown, x, y, kCCMouseLeft));
        m_run.options.events.emplace(frame + 1, CCPlatformEvent::mouse(CCEventType::MouseUp, x, y, 0));
    }

    // Hit points for a pawn on the board, as the pawn manager lists it.
    static void setLife(int frame, const Options::LifeChange& change) {
        KVPawnManager* pawns = KVPawnManager::getInstance();
        CCMutableArray<KVPawn*>* side = change.enemy ? pawns->getEnemyPawns() : pawns->getPlayerPawns();
        const char* sideName = change.enemy ? "enemy" : "player";
        if (side == nullptr || change.index >= static_cast<int>(side->count())) {
            std::fprintf(stderr, "kelvos_driver: frame %d: no %s pawn %d\n", frame, sideName, change.index);
            return;
        }
        KVPawn* pawn = side->objectAtIndex(static_cast<unsigned>(change.index));
        if (change.hitPoints == 0) {
            // A blow of ten times its maximum: the knock-out goes through the damage rule.
            pawn->takeDamage(pawn->getMaxHP() * 10 + pawn->getDefense(), nullptr, 1, 1.0f, 0.0f);
            std::printf("knock-out %d: %s pawn %d (%s)\n", frame, sideName, change.index, pawn->className());
            return;
        }
        pawn->setHitPoints(change.hitPoints);
        std::printf("set-life %d: %s pawn %d (%s) has %d hit points\n", frame, sideName, change.index,
                    pawn->className(), change.hitPoints);
    }

    // The window pixel of the current pawn of the running mission; false without one.
    bool currentPawnOnWindow(CCPoint& out) {
        CCDirector* director = CCDirector::getInstance();
        auto* scene = dynamic_cast<KVGameplayScene*>(director->getRunningScene());
        KVGameplayLayer* layer = scene != nullptr ? scene->getGameplayLayer() : nullptr;
        KVGameModel* model = scene != nullptr ? scene->getGameModel() : nullptr;
        KVTurnManager* turns = model != nullptr ? model->getTurnManager() : nullptr;
        KVPawn* pawn = turns != nullptr ? turns->getCurrentPawn() : nullptr;
        if (layer == nullptr || pawn == nullptr) return false;
        float x = 0.0f;
        float y = 0.0f;
        pawn->getPosition(&x, &y);
        const CCPoint world = layer->convertToWorldSpace(
            CCPoint(x / KVGameplayLayer::kMetresPerPoint, y / KVGameplayLayer::kMetresPerPoint));
        return worldToWindow(world, out);
    }

    // A point of the scene (world points) as a pixel of the window, top-left origin.
    bool worldToWindow(const CCPoint& world, CCPoint& out) {
        CCDirector* director = CCDirector::getInstance();
        const CCPoint view = director->convertToUI(world);
        const CCSize points = director->getWinSize();
        int width = 0;
        int height = 0;
        m_inner->getClientSize(width, height);
        if (points.width <= 0.0f || points.height <= 0.0f) return false;
        out = CCPoint(view.x * width / points.width, view.y * height / points.height);
        return true;
    }

    // The chapter whose "mission_list" holds the mission, then state 17 of the menu manager.
    void startMission(const std::string& mission) {
        kvdata::Dict* chapters = KVGameParameters::getInstance()->getChapters();
        std::string chapter;
        for (const std::string& name : kvdata::keysOf(chapters)) {
            kvdata::Array* list = kvdata::arrayAt(kvdata::dictAt(chapters, name), "mission_list");
            for (unsigned i = 0; list != nullptr && i < list->count(); ++i)
                if (kvdata::textOf(list, i) == mission) chapter = name;
        }
        if (chapter.empty()) {
            std::fprintf(stderr, "kelvos_driver: no chapter lists the mission %s\n", mission.c_str());
            m_run.failed = true;
            m_events.push(CCPlatformEvent::make(CCEventType::WindowClose));
            return;
        }
        KVMenuManager* menus = KVMenuManager::getInstance();
        menus->setChapterName(kvdata::newString(chapter));
        menus->setMissionName(kvdata::newString(mission));
        menus->changeState(KVMenuManager::kLaunchMissionState);
    }

    Run& m_run;
    std::unique_ptr<CCGLWindow> m_inner;
    CCQueuedEventSource m_events;
    FrameMeter m_meter;
    kvdriver::AutoplayHand m_hand;
    bool m_afterWinResolved = false;
    int m_framesAfterWin = kAutoplayFramesAfterResult;
};

class DriverDelegate : public AppDelegate {
public:
    explicit DriverDelegate(Run& run) : m_run(run) {}

protected:
    std::unique_ptr<CCGLWindow> makeWindow() override { return std::make_unique<DriverWindow>(m_run); }
    bool screenSize(float& width, float& height) override {
        if (m_run.options.screenWidthMm > 0.0f && m_run.options.screenHeightMm > 0.0f) {
            width = m_run.options.screenWidthMm;
            height = m_run.options.screenHeightMm;
            return true;
        }
        return false;
    }

private:
    Run& m_run;
};

} // namespace

int main(int argc, char** argv) {
    Run run;
    run.start = std::chrono::steady_clock::now();
    bool bare = false;
    if (argc > 1 && std::strcmp(argv[1], "--bare") == 0) {
        bare = true;
        --argc;
        ++argv;
    }
    if (!parseOptions(argc, argv, run.options)) {
        std::fprintf(
            stderr,
            "usage: kelvos_driver [--bare] [--resources DIR] [--frames N] [--step SECONDS] [--size WxH]\n"
            "       [--screen-mm WxH] [--shot FRAME:FILE.png]... [--event FRAME:KIND[:ARGS]]...\n"
            "       [--overdraw FILE] [--draw-every N] [--menu-state FRAME:ID|FRAME:loading:KIND]... "
            "[--trace-states 1]\n"
            "       [--mission NAME] [--pearls N] [--seed N] [--trace FILE] [--realtime] [--autoplay]\n");
        return 2;
    }
    if (bare) return runBare(run);
    if (!run.options.afterWin.empty() && !run.options.autoplay) {
        std::fprintf(stderr, "kelvos_driver: a frame \"w+N\" counts from an --autoplay win\n");
        return 2;
    }
    if (run.options.autoplay && (run.options.mission.empty() || run.options.realtime)) {
        std::fprintf(stderr, "kelvos_driver: --autoplay plays a --mission on the fake clock\n");
        return 2;
    }
    if (run.options.seeded) CCRandom::seed(run.options.seed);
    if (run.options.autoplay) {
        if (!run.options.framesGiven) run.options.frames = kAutoplayFrames;
        kvdriver::startAutoplay();
        g_autoplay = &run.autoplay;
        g_traceFrame = &run.framesDrawn;
        CCNotificationCenter::setPostTracer(&tracePost);
    }
    if (!run.options.trace.empty()) {
        g_traceFile = std::fopen(run.options.trace.c_str(), "w");
        if (g_traceFile == nullptr) {
            std::fprintf(stderr, "kelvos_driver: cannot write %s\n", run.options.trace.c_str());
            return 3;
        }
        // Line by line, so a run that dies still leaves its trace up to the end.
        std::setvbuf(g_traceFile, nullptr, _IOLBF, 0);
        g_traceFrame = &run.framesDrawn;
        CCNotificationCenter::setPostTracer(&tracePost);
    }
    CCFakeClock clock;
    clock.setMicroseconds(1'000'000);
    const int64_t step = static_cast<int64_t>(run.options.step * 1'000'000.0 + 0.5);
    clock.setYieldStep(step);
    // The real clock runs a mission as a person plays it, until the window is closed.
    if (run.options.realtime)
        run.options.frames = 0x7fffffff;
    else
        CCClock::setShared(&clock);
    static Run* pagesRun = &run;
    if (!run.options.realtime)
        setWebPageOpener([](const std::string& address) {
            std::printf("web page %d: %s\n", pagesRun->framesDrawn + 1, address.c_str());
            std::fflush(stdout);
            return true;
        });
    static Run* traced = nullptr;
    if (run.options.traceStates) {
        traced = &run;
        KVMenuManager::setRecordObserver([](int current, int previous) {
            if (current == KVMenuManager::kItemPopUpState)
                std::printf("state %d: current %d previous %d pop-up %d\n", traced->framesDrawn + 1, current,
                            previous, KVMenuManager::getInstance()->popUpKind);
            else
                std::printf("state %d: current %d previous %d\n", traced->framesDrawn + 1, current, previous);
            std::fflush(stdout);
        });
    }
    const int status =
        kvRunProgram(run.options.resources, [&run] { return std::make_unique<DriverDelegate>(run); });
    CCClock::setShared(nullptr);
    KVMenuManager::setRecordObserver(nullptr);
    CCNotificationCenter::setPostTracer(nullptr);
    if (g_traceFile != nullptr) std::fclose(g_traceFile);
    std::printf("frames drawn: %d\n", run.framesDrawn);
    if (run.options.autoplay) {
        kvdriver::stopAutoplay();
        g_autoplay = nullptr;
        std::printf("%s\n", kvdriver::autoplayReport(run.autoplay, run.options.mission, run.options.seeded,
                                                     run.options.seed, run.framesDrawn)
                                .c_str());
    }
    if (run.failed) return 3;
    return status;
}
