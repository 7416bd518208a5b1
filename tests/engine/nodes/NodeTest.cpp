#include "engine/base/CCArray.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScheduler.h"
#include "engine/nodes/CCNode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

using namespace kvengine;

namespace {

std::vector<std::string> g_trace;

class TraceNode : public CCNode {
public:
    explicit TraceNode(std::string name) : m_name(std::move(name)) {}
    static TraceNode* make(const std::string& name) {
        auto* n = new TraceNode(name);
        n->autorelease();
        return n;
    }
    void onEnter() override {
        g_trace.push_back(
            m_name + ".enter(parentRunning=" + (getParent() && getParent()->isRunning() ? "1" : "0") + ")");
        if (inEnter) inEnter();
        CCNode::onEnter();
    }
    void onEnterTransitionDidFinish() override {
        g_trace.push_back(m_name + ".finish");
        CCNode::onEnterTransitionDidFinish();
    }
    void onExit() override {
        g_trace.push_back(m_name + ".exit");
        if (inExit) inExit();
        CCNode::onExit();
    }
    void cleanup() override {
        g_trace.push_back(m_name + ".cleanup");
        CCNode::cleanup();
    }
    void draw() override { g_trace.push_back(m_name + ".draw"); }
    void tock(float) {}
    const std::string& name() const { return m_name; }
    std::function<void()> inEnter;
    std::function<void()> inExit;

private:
    std::string m_name;
};

std::vector<std::string> childNames(CCNode* node) {
    std::vector<std::string> names;
    CCArray* children = node->getChildren();
    for (unsigned i = 0; children && i < children->count(); ++i) {
        names.push_back(static_cast<TraceNode*>(children->objectAtIndex(i))->name());
    }
    return names;
}

class NodeTest : public ::testing::Test {
protected:
    void SetUp() override { g_trace.clear(); }
    void TearDown() override {
        CCDirector::destroyInstance();
        CCAutoreleasePoolStack::getInstance().clearAllPools();
    }
};

using Names = std::vector<std::string>;

bool near(const CCPoint& a, const CCPoint& b) {
    return std::fabs(a.x - b.x) < 1e-3f && std::fabs(a.y - b.y) < 1e-3f;
}

} // namespace

TEST_F(NodeTest, ChildrenAreKeptInZOrderWithArrivalBreakingTies) {
    CCNode* parent = CCNode::create();
    const int zs[] = {0, 0, -1, 2, 0};
    const char* names[] = {"a", "b", "neg", "two", "c"};
    for (int i = 0; i < 5; ++i)
        parent->addChildAtZ(TraceNode::make(names[i]), zs[i]);
    EXPECT_EQ(childNames(parent), (Names{"neg", "a", "b", "c", "two"}));

    parent->reorderChild(static_cast<CCNode*>(parent->getChildren()->objectAtIndex(1)), 0);
    EXPECT_EQ(childNames(parent), (Names{"neg", "b", "c", "a", "two"}))
        << "reordering to the same z moves last";

    auto* drawn = new TraceNode("parent");
    for (int i = 0; i < 5; ++i)
        drawn->addChildAtZ(TraceNode::make(names[i]), zs[i]);
    drawn->visit();
    EXPECT_EQ(g_trace, (Names{"neg.draw", "parent.draw", "a.draw", "b.draw", "c.draw", "two.draw"}));
    drawn->setVisible(false);
    g_trace.clear();
    drawn->visit();
    EXPECT_TRUE(g_trace.empty());
    drawn->release();
}

TEST_F(NodeTest, TagsFindTheFirstMatch) {
    CCNode* parent = CCNode::create();
    CCNode* first = TraceNode::make("first");
    CCNode* second = TraceNode::make("second");
    parent->addChildAtZWithTag(first, 0, 5);
    parent->addChildAtZWithTag(second, 0, 5);
    parent->addChild(TraceNode::make("untagged"));
    EXPECT_EQ(parent->getChildByTag(5), first);
    EXPECT_EQ(parent->getChildByTag(-1)->getTag(), -1);
    EXPECT_EQ(parent->getChildByTag(99), nullptr);
    parent->removeChildByTag(5, true);
    EXPECT_EQ(parent->getChildByTag(5), second);
    EXPECT_EQ(CCNode::create()->getChildByTag(5), nullptr);
}

TEST_F(NodeTest, LifecycleOrder) {
    auto* root = new TraceNode("root");
    TraceNode* child = TraceNode::make("child");
    root->addChild(child);
    child->addChild(TraceNode::make("grandchild"));
    EXPECT_TRUE(g_trace.empty()) << "adding to a parent that is not running enters nothing";

    root->onEnter();
    root->onEnterTransitionDidFinish();
    EXPECT_EQ(g_trace, (Names{"root.enter(parentRunning=0)", "child.enter(parentRunning=0)",
                              "grandchild.enter(parentRunning=0)", "root.finish", "child.finish",
                              "grandchild.finish"}));
    EXPECT_TRUE(root->isRunning());

    g_trace.clear();
    root->addChild(TraceNode::make("late"));
    EXPECT_EQ(g_trace, (Names{"late.enter(parentRunning=1)", "late.finish"}));

    g_trace.clear();
    root->removeChild(child, true);
    EXPECT_EQ(g_trace, (Names{"child.exit", "grandchild.exit", "child.cleanup", "grandchild.cleanup"}));
    EXPECT_EQ(childNames(root), (Names{"late"}));

    g_trace.clear();
    root->onExit();
    EXPECT_EQ(g_trace, (Names{"root.exit", "late.exit"}));
    EXPECT_FALSE(root->isRunning());
    root->release();
}

TEST_F(NodeTest, LifecyclePassesSurviveChildrenRemovingThemselvesOrSiblings) {
    auto* root = new CCNode();
    TraceNode* a = TraceNode::make("a");
    TraceNode* b = TraceNode::make("b");
    TraceNode* c = TraceNode::make("c");
    root->addChild(a);
    root->addChild(b);
    root->addChild(c);
    a->inEnter = [&] { root->removeChild(b, true); }; // a sibling goes: it must not enter
    c->inEnter = [&] { c->removeFromParent(true); };  // a child goes during its own enter
    root->onEnter();
    EXPECT_EQ(g_trace,
              (Names{"a.enter(parentRunning=0)", "b.cleanup", "c.enter(parentRunning=0)", "c.cleanup"}));
    EXPECT_EQ(childNames(root), (Names{"a"}));

    TraceNode* d = TraceNode::make("d");
    root->addChild(d);
    g_trace.clear();
    a->inExit = [&] { root->removeAllChildren(true); };
    root->onExit();
    // The parent stopped running before its children exit, so d is cleaned up without an exit.
    EXPECT_EQ(g_trace, (Names{"a.exit", "a.cleanup", "d.cleanup"}));
    EXPECT_EQ(childNames(root), Names{});
    root->release();
}

TEST_F(NodeTest, AddingANodeThatAlreadyHasAParentIsRefused) {
    CCNode* p1 = CCNode::create();
    CCNode* p2 = CCNode::create();
    CCNode* child = CCNode::create();
    p1->addChild(child);
    std::vector<std::string> lines;
    setDebugLogSink([&](const std::string& line) { lines.push_back(line); });
    p2->addChild(child);
    child->addChild(p1); // an ancestor
    child->addChild(child);
    p1->addChild(nullptr);
    p1->reorderChild(p2, 3);
    setDebugLogSink(nullptr);
    EXPECT_EQ(lines.size(), 5u);
    EXPECT_EQ(child->getParent(), p1);
    EXPECT_EQ(p2->getChildren(), nullptr);
    EXPECT_EQ(p1->getChildren()->count(), 1u);
    p1->removeChild(p2, true); // not a child: nothing
    p2->removeFromParent(true);
    EXPECT_EQ(p1->getChildren()->count(), 1u);
}

TEST_F(NodeTest, RemovedWithoutCleanupKeepsTimersPausedUntilItEntersAgain) {
    auto* root = new CCNode();
    root->onEnter();
    TraceNode* child = TraceNode::make("child");
    root->addChild(child);
    child->schedule(schedule_selector(TraceNode::tock), 1.0f);
    EXPECT_FALSE(CCScheduler::getInstance()->isTargetPaused(child));
    root->removeChild(child, false);
    EXPECT_TRUE(CCScheduler::getInstance()->isTargetPaused(child));
    EXPECT_EQ(CCScheduler::getInstance()->timerCount(child), 1u);
    root->addChild(child);
    EXPECT_FALSE(CCScheduler::getInstance()->isTargetPaused(child));
    root->removeChild(child, true);
    EXPECT_EQ(CCScheduler::getInstance()->timerCount(child), 0u);
    root->onExit();
    root->release();
}

TEST_F(NodeTest, TransformsAndConversions) {
    struct Case {
        const char* name;
        CCPoint position, anchor;
        CCSize size;
        bool relative;
        float rotation, scaleX, scaleY, skewX;
        CCPoint local, world;
    };
    const Case cases[] = {
        {"relative anchor: the centre lands on the position",
         {10, 20},
         {0.5f, 0.5f},
         {100, 50},
         true,
         0,
         1,
         1,
         0,
         {50, 25},
         {10, 20}},
        {"no relative anchor: the corner lands on it",
         {10, 20},
         {0.5f, 0.5f},
         {100, 50},
         false,
         0,
         1,
         1,
         0,
         {0, 0},
         {10, 20}},
        {"rotation 90 turns local x downwards", {0, 0}, {0, 0}, {10, 10}, true, 90, 1, 1, 0, {1, 0}, {0, -1}},
        {"scale about the anchor",
         {100, 100},
         {0.5f, 0.5f},
         {20, 20},
         true,
         0,
         2,
         3,
         0,
         {20, 20},
         {120, 130}},
        {"skew x shears along x", {0, 0}, {0, 0}, {10, 10}, true, 0, 1, 1, 45, {0, 10}, {10, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCNode* node = CCNode::create();
        node->setContentSize(c.size);
        node->setAnchorPoint(c.anchor);
        node->setRelativeAnchorPoint(c.relative);
        node->setPosition(c.position);
        node->setRotation(c.rotation);
        node->setScaleX(c.scaleX);
        node->setScaleY(c.scaleY);
        node->setSkewX(c.skewX);
        EXPECT_TRUE(near(node->convertToWorldSpace(c.local), c.world));
        EXPECT_TRUE(near(node->convertToNodeSpace(c.world), c.local));
    }

    // Through a parent.
    CCNode* parent = CCNode::create();
    CCNode* child = CCNode::create();
    parent->setPosition(CCPoint(100, 0));
    parent->setScale(2);
    child->setPosition(CCPoint(5, 5));
    parent->addChild(child);
    EXPECT_TRUE(near(child->convertToWorldSpace(CCPoint(1, 0)), CCPoint(112, 10)));
    EXPECT_TRUE(near(child->convertToNodeSpace(CCPoint(112, 10)), CCPoint(1, 0)));
}

TEST_F(NodeTest, SettersMarkTheTransformDirtyOnlyOnChange) {
    CCNode* node = CCNode::create();
    node->setContentSize(CCSize(10, 10));
    node->setAnchorPoint(CCPoint(0.5f, 0.5f));
    EXPECT_TRUE(near(node->getAnchorPointInPixels(), CCPoint(5, 5)));
    const CCAffineTransform before = node->nodeToParentTransform();
    node->setContentSize(CCSize(10, 10));
    node->setAnchorPoint(CCPoint(0.5f, 0.5f));
    const CCAffineTransform after = node->nodeToParentTransform();
    EXPECT_EQ(before.tx, after.tx);
    node->setPosition(CCPoint(3, 4));
    EXPECT_EQ(node->nodeToParentTransform().tx, -2.0f);
}

TEST_F(NodeTest, HitTestsUseTheTouchSizeAndSkipInvisibleNodesButNotTheirChildren) {
    CCNode* parent = CCNode::create();
    parent->setContentSize(CCSize(100, 100));
    CCNode* child = CCNode::create();
    child->setContentSize(CCSize(10, 10));
    child->setPosition(CCPoint(200, 200));
    parent->addChild(child);

    struct Case {
        CCPoint point;
        bool inParent, inSubtree;
    };
    const Case cases[] = {{{0, 0}, true, true},
                          {{100, 100}, true, true},
                          {{101, 50}, false, false},
                          {{205, 205}, false, true},
                          {{-1, 0}, false, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(parent->containsWorldPoint(c.point), c.inParent) << c.point.x << "," << c.point.y;
        EXPECT_EQ(parent->subtreeContainsWorldPoint(c.point), c.inSubtree) << c.point.x << "," << c.point.y;
    }
    parent->setTouchSize(CCSize(40, 0));
    EXPECT_EQ(parent->getTouchSize().width, 100.0f) << "a touch size with a zero side is not used";
    parent->setTouchSize(CCSize(40, 40));
    EXPECT_FALSE(parent->containsWorldPoint(CCPoint(50, 50)));
    parent->setVisible(false);
    EXPECT_FALSE(parent->containsWorldPoint(CCPoint(10, 10)));
    EXPECT_TRUE(parent->subtreeContainsWorldPoint(CCPoint(205, 205)));
}

TEST_F(NodeTest, DoubleContentScaleStoresPixelsAndAnswersInPoints) {
    CCDirector::getInstance()->setContentScaleFactor(2.0f);
    CCNode* node = CCNode::create();
    node->setPosition(CCPoint(10, 20));
    EXPECT_TRUE(near(node->getPositionInPixels(), CCPoint(20, 40)));
    EXPECT_TRUE(near(node->convertToWorldSpace(CCPoint(1, 1)), CCPoint(11, 21)));
    node->setPositionInPixels(CCPoint(4, 6));
    EXPECT_TRUE(near(node->getPosition(), CCPoint(2, 3)));
    node->setContentSize(CCSize(5, 5));
    EXPECT_EQ(node->getContentSizeInPixels().width, 10.0f);
    node->setVertexZ(3.0f);
    EXPECT_EQ(node->getVertexZ(), 3.0f);
}

TEST_F(NodeTest, UserObjectIsRetainedAndReleased) {
    auto* object = new CCObject();
    {
        CCNode* node = new CCNode();
        node->setUserObject(object);
        EXPECT_EQ(object->retainCount(), 2u);
        node->setUserObject(object);
        EXPECT_EQ(object->retainCount(), 2u);
        node->release();
    }
    EXPECT_EQ(object->retainCount(), 1u);
    object->release();
}
