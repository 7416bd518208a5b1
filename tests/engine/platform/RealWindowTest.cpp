// Opens a real window (SDL's offscreen driver under the tests: no display needed), runs the
// game's start-up order and run loop, and reads the drawn picture back.
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/director/CCScheduler.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/platform/CCApplication.h"
#include "engine/platform/CCClock.h"
#include "engine/platform/CCEGLView.h"
#include "engine/platform/CCGL.h"
#include "support/Required.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace kvengine;

namespace {

struct Sample {
    const char* name;
    CCPoint point; // design points, origin bottom left
    ccColor3B expected;
};

const ccColor3B kRed{255, 0, 0};
const ccColor3B kGreen{0, 255, 0};
const ccColor3B kBlue{0, 0, 255};

/// Drawn last (highest z): reads the pixels the nodes below have drawn, before the swap.
class PixelProbe : public CCNode {
public:
    void draw() override {
        CCEGLView* view = CCDirector::getInstance()->getOpenGLView();
        if (!view || done) return;
        done = true;
        int w = 0, h = 0;
        view->getWindow()->getClientSize(w, h);
        std::vector<unsigned char> pixels(static_cast<size_t>(w) * static_cast<size_t>(h) * 4u);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        for (const Sample& s : samples) {
            // Points -> picture pixels; the picture fills the client area from its bottom left.
            const int x = static_cast<int>(s.point.x * view->getScaleX()) + view->getPictureRect().left;
            const int y = static_cast<int>(s.point.y * view->getScaleY());
            if (x < 0 || y < 0 || x >= w || y >= h) {
                results.push_back(ccColor3B{1, 2, 3});
                continue;
            }
            const unsigned char* p =
                &pixels[(static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)) * 4u];
            results.push_back(ccColor3B{p[0], p[1], p[2]});
        }
        view->getWindow()->postCloseRequest();
    }
    std::vector<Sample> samples;
    std::vector<ccColor3B> results;
    bool done = false;
};

class WindowApp : public CCApplication {
public:
    bool initInstance() override {
        view = new CCEGLView();
        view->setFullScreen(true);
        if (!view->create("kelvos window test", 600, 800)) {
            delete view;
            view = nullptr;
            return false;
        }
        return true;
    }
    bool finishLaunching() override {
        CCDirector* director = CCDirector::getInstance();
        director->enableDoubleContentScale();
        director->setOpenGLView(view);
        director->updateOrientation();
        director->setAnimationInterval(1.0 / 60.0);

        CCScene* scene = CCScene::create();
        scene->addChildAtZ(CCLayerColor::createCoveringWindow(ccColor4B{255, 0, 0, 255}), 0);
        CCLayerColor* green = CCLayerColor::createWithColor(ccColor4B{0, 255, 0, 255}, 200, 150);
        green->setPosition(CCPoint(100, 100));
        scene->addChildAtZ(green, 2);
        CCLayerColor* blue = CCLayerColor::createWithColor(ccColor4B{0, 0, 255, 255}, 200, 150);
        blue->setPosition(CCPoint(200, 150));
        scene->addChildAtZ(blue, 1); // added after green but drawn below it
        probe = new PixelProbe();    // the test keeps this reference: the scene dies at the purge
        scene->addChildAtZ(probe, 100);
        director->runWithScene(scene);
        return true;
    }
    void pauseApplication() override {}
    void resumeApplication() override {}

    CCEGLView* view = nullptr;
    PixelProbe* probe = nullptr;
};

} // namespace

TEST(RealWindow, DrawsColourLayersInZOrderAndClosesCleanly) {
    CCFakeClock clock; // the loop is paced by a fake clock: deterministic, no waiting
    CCClock::setShared(&clock);
    {
        WindowApp app;
        const std::vector<Sample> samples = {
            {"background", {50, 50}, kRed},           {"green alone", {150, 125}, kGreen},
            {"green above blue", {250, 200}, kGreen}, {"blue alone", {350, 275}, kBlue},
            {"far corner", {780, 580}, kRed},
        };
        // The probe is made in finishLaunching; give it the samples on its first frame.
        struct Arm : public CCObject {
            WindowApp* app;
            const std::vector<Sample>* samples;
            void update(float) override {
                if (app->probe && app->probe->samples.empty()) app->probe->samples = *samples;
            }
        };
        Arm arm;
        arm.app = &app;
        arm.samples = &samples;
        // The scheduler exists once the director runs; register before the first frame.
        CCDirector::getInstance();
        CCScheduler* scheduler = CCScheduler::getInstance();
        scheduler->scheduleUpdateForTarget(&arm, -1, false);

        const int code = app.run();
        if (!app.view && code == 1) {
            CCClock::setShared(nullptr);
            KVTEST_REQUIRED_MISSING("no OpenGL context available");
        }
        EXPECT_EQ(code, 0);
        ASSERT_NE(app.probe, nullptr);
        ASSERT_EQ(app.probe->results.size(), samples.size());
        for (size_t i = 0; i < samples.size(); ++i) {
            const ccColor3B got = app.probe->results[i];
            EXPECT_TRUE(got == samples[i].expected)
                << samples[i].name << ": got " << int(got.r) << "," << int(got.g) << "," << int(got.b);
        }
        EXPECT_EQ(CCEGLView::getSharedView(), nullptr);
        EXPECT_EQ(app.probe->retainCount(), 1u) << "the purge released the whole scene";
        app.probe->release();
    }
    CCDirector::destroyInstance();
    CCAutoreleasePoolStack::getInstance().clearAllPools();
    CCClock::setShared(nullptr);
}
