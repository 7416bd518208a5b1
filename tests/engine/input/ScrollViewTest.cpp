#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "InputTestSupport.h"
#include "engine/director/CCScheduler.h"
#include "engine/input/CCPanGestureRecognizer.h"
#include "engine/input/CCScrollView.h"
#include "engine/input/CCTouchDispatcher.h"

using namespace kvengine;
using kvtest::GestureClockScope;
using kvtest::TouchFixture;

namespace {

/// A scroll view that is its own delegate and writes down every hook.
class RecordingScrollView : public CCScrollView {
public:
    RecordingScrollView() { setDelegate(this); }
    void willBeginDecelerating(CCScrollView*) override { hooks.push_back("willBeginDecelerating"); }
    void didScroll(CCScrollView*, bool paged) override {
        hooks.push_back(paged ? "didScroll(paged)" : "didScroll");
    }
    void willBeginDragging(CCScrollView*) override { hooks.push_back("willBeginDragging"); }
    void didEndDecelerating(CCScrollView*) override { hooks.push_back("didEndDecelerating"); }
    void didEndDragging(CCScrollView*, bool willDecelerate) override {
        hooks.push_back(willDecelerate ? "didEndDragging(decelerate)" : "didEndDragging");
    }
    int count(const std::string& hook) const {
        int n = 0;
        for (const std::string& h : hooks) {
            n += h == hook ? 1 : 0;
        }
        return n;
    }
    std::vector<std::string> hooks;
};

class ScrollViewTest : public testing::Test {
protected:
    void SetUp() override {
        view = new RecordingScrollView();
        view->initWithFrame(CCRect(0, 0, 200, 80));
        view->setEnabled(true);
        view->onEnter();
    }
    void TearDown() override {
        view->onExit();
        view->release();
        CCAutoreleasePoolStack::getInstance().clearAllPools();
    }
    /// One frame: the gesture clock and the scheduler move on by dt.
    void frame(float dt) {
        clock.frame(dt);
        CCScheduler::getInstance()->tick(dt);
    }
    void drag(const std::vector<float>& xs) {
        CCTouchDispatcher* dispatcher = CCTouchDispatcher::getInstance();
        dispatcher->touchesBegan(touch.at(xs[0], 40), nullptr);
        for (size_t i = 1; i < xs.size(); ++i) {
            frame(0.1f);
            dispatcher->touchesMoved(touch.at(xs[i], 40), nullptr);
        }
    }
    void lift(float x) { CCTouchDispatcher::getInstance()->touchesEnded(touch.at(x, 40), nullptr); }
    bool updating() { return CCScheduler::getInstance()->isUpdateScheduled(view); }

    GestureClockScope clock;
    TouchFixture touch;
    RecordingScrollView* view = nullptr;
};

} // namespace

TEST(View, IdsAreConsecutiveAndTheFrameSetsBoundsCentreAndSize) {
    CCView* first = new CCView();
    CCView* second = new CCView();
    EXPECT_GT(first->getViewId(), 0);
    EXPECT_EQ(second->getViewId(), first->getViewId() + 1);

    first->setPosition(CCPoint(7, 7));
    ASSERT_TRUE(first->initWithFrame(CCRect(100, 50, 200, 80)));
    EXPECT_TRUE(rectEqualToRect(first->getBounds(), CCRect(0, 0, 200, 80)));
    EXPECT_TRUE(pointEqualToPoint(first->getCenter(), CCPoint(200, 90)));
    EXPECT_TRUE(sizeEqualToSize(first->getContentSize(), CCSize(200, 80)));
    EXPECT_TRUE(pointEqualToPoint(first->getPosition(), CCPoint(0, 0)));
    first->setFrame(CCRect(1, 2, 3, 4)); // stores only
    EXPECT_TRUE(sizeEqualToSize(first->getContentSize(), CCSize(200, 80)));
    EXPECT_TRUE(first->isKindOf("CCLayer"));
    first->release();
    second->release();
}

TEST_F(ScrollViewTest, DragMovesTheOffsetByEachStepAndAStillLiftEndsAtRest) {
    drag({100, 108, 113, 116}); // began at 8 points, then steps of 5 and 3
    EXPECT_TRUE(view->isDragging());
    EXPECT_FLOAT_EQ(view->getContentOffset().x, -8.0f);
    EXPECT_FLOAT_EQ(view->getBounds().origin.x, -8.0f);
    frame(0.1f);
    lift(116); // a frame later without movement: no velocity
    const std::vector<std::string> expected = {"willBeginDragging", "didScroll", "didScroll",
                                               "didEndDragging", "didEndDecelerating"};
    EXPECT_EQ(view->hooks, expected);
    EXPECT_FALSE(view->isDecelerating());
    EXPECT_FALSE(updating());
}

TEST_F(ScrollViewTest, FlingDecaysEachFrameUntilItRests) {
    view->jumpToContentOffset(CCPoint(100, 0));
    drag({100, 90, 84}); // finger moving left: the content offset grows
    lift(84);            // same frame: the last velocity carries on
    ASSERT_TRUE(view->isDecelerating());
    ASSERT_TRUE(updating());
    CCPoint velocity = view->getVelocity();
    EXPECT_NEAR(velocity.x, -60.0f, 0.5f);
    float offset = view->getContentOffset().x;

    const float dt = 1.0f / 60.0f;
    int frames = 0;
    while (view->isDecelerating() && frames < 1000) {
        frame(dt);
        ++frames;
        offset -= dt * velocity.x;
        velocity.x *= (1.0f - dt) * 0.96f;
        if (view->isDecelerating()) {
            ASSERT_NEAR(view->getVelocity().x, velocity.x, 1e-3f) << "frame " << frames;
            ASSERT_NEAR(view->getContentOffset().x, offset, 1e-2f) << "frame " << frames;
        }
    }
    EXPECT_LT(frames, 1000);
    EXPECT_LT(std::fabs(velocity.x), 0.01f);
    EXPECT_FLOAT_EQ(view->getVelocity().x, 0.0f);
    EXPECT_EQ(view->count("didEndDecelerating"), 1);
    EXPECT_FALSE(updating());
}

TEST_F(ScrollViewTest, FlingPastZeroStopsAtZero) {
    drag({100, 120, 150}); // finger moving right: the offset goes negative
    lift(150);
    ASSERT_TRUE(view->isDecelerating());
    frame(1.0f / 60.0f);
    EXPECT_FLOAT_EQ(view->getContentOffset().x, 0.0f);
    EXPECT_FLOAT_EQ(view->getBounds().origin.x, 0.0f);
    EXPECT_FALSE(view->isDecelerating());
    EXPECT_EQ(view->count("didEndDecelerating"), 1);
    EXPECT_FALSE(updating());
}

TEST_F(ScrollViewTest, PagedScrollEndsExactlyOnThePageAndIgnoresASecondRequest) {
    const struct {
        float distance;
        float target;
    } pages[] = {{66.0f, -66.0f}, {-66.0f, 0.0f}, {66.0f, -66.0f}};
    for (const auto& page : pages) {
        SCOPED_TRACE(page.distance);
        view->hooks.clear();
        view->scrollByWithInertia(page.distance);
        EXPECT_TRUE(view->isPaging());
        frame(1.0f / 60.0f);
        view->scrollByWithInertia(page.distance); // under way: ignored
        int frames = 1;
        while (view->isPaging() && frames < 100) {
            frame(1.0f / 60.0f);
            ++frames;
        }
        EXPECT_EQ(view->getContentOffset().x, page.target);
        EXPECT_EQ(view->getBounds().origin.x, page.target);
        EXPECT_LE(frames, 16); // about a quarter of a second
        EXPECT_EQ(view->count("didEndDecelerating"), 1);
        EXPECT_FALSE(updating());
    }
}

TEST_F(ScrollViewTest, PagingAfterADragStartsFromTheSettledPage) {
    view->scrollByWithInertia(66);
    for (int i = 0; i < 30; ++i) {
        frame(1.0f / 60.0f);
    }
    ASSERT_EQ(view->getContentOffset().x, -66.0f);
    drag({100, 110, 115});
    frame(0.1f);
    lift(115);
    EXPECT_FLOAT_EQ(view->getContentOffset().x, -71.0f); // a partial drag
    view->scrollByWithInertia(66);
    for (int i = 0; i < 30; ++i) {
        frame(1.0f / 60.0f);
    }
    EXPECT_EQ(view->getContentOffset().x, -132.0f); // from -66, not from -71
}

TEST_F(ScrollViewTest, JumpReportsItsFlagOnceAndDisabledViewsIgnoreDrags) {
    view->setJumpFlag(true);
    view->jumpToContentOffset(CCPoint(30, 5));
    view->jumpToContentOffset(CCPoint(40, 5));
    const std::vector<std::string> jumps = {"didScroll(paged)", "didScroll"};
    EXPECT_EQ(view->hooks, jumps);
    EXPECT_FLOAT_EQ(view->getBounds().origin.y, 5.0f);

    view->hooks.clear();
    view->setEnabled(false);
    drag({100, 130, 160});
    lift(160);
    EXPECT_TRUE(view->hooks.empty());
    EXPECT_FLOAT_EQ(view->getContentOffset().x, 40.0f);
}

TEST_F(ScrollViewTest, LeavingTheStageUnregistersAndResetsTheOffset) {
    view->setContentOffset(CCPoint(25, 0));
    view->onExit();
    EXPECT_FLOAT_EQ(view->getContentOffset().x, 0.0f);
    EXPECT_FLOAT_EQ(view->getBounds().origin.x, 25.0f); // the bounds keep their value
    drag({100, 130, 160});
    EXPECT_EQ(view->hooks.size(), 1u); // only the setContentOffset report
    // Entering again reuses the one pan recognizer.
    CCPanGestureRecognizer* pan = view->getPanRecognizer();
    view->onEnter();
    EXPECT_EQ(view->getPanRecognizer(), pan);
    EXPECT_EQ(view->getGestureRecognizers()->count(), 1u);
}
