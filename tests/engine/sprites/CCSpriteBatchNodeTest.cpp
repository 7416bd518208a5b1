#include "engine/sprites/CCSpriteBatchNode.h"

#include "engine/base/CCArray.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/platform/CCGL.h"
#include "engine/sprites/CCSprite.h"
#include "engine/textures/CCTextureAtlas.h"

#include "engine/textures/CCTexture2D.h"
#include "support/GLFixture.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace kvengine;

namespace {

class CCSpriteBatchNodeTest : public kvtest::GLFixture {
protected:
    void setUpWithGL() override {
        useFrameDrawingState();
        batch = CCSpriteBatchNode::createWithTexture(makeTexture(32, 32, 32, 32, {255, 255, 255, 255}));
        ASSERT_NE(batch, nullptr);
    }
    // A batch sprite showing a 4 x 4 rectangle, named by its tag.
    CCSprite* sprite(const std::string& name) {
        auto* s = new CCSprite();
        EXPECT_TRUE(s->initWithTexture(batch->getTexture()));
        s->setTextureRect(CCRect(0, 0, 4, 4));
        s->autorelease();
        s->setTag(static_cast<int>(names.size()));
        names.push_back(name);
        byName[name] = s;
        return s;
    }
    std::string nameOf(CCNode* node) const { return names.at(static_cast<size_t>(node->getTag())); }

    // Depth-first drawing order: children with negative z, the node, then the other children.
    void drawingOrder(CCNode* node, std::vector<std::string>& out) const {
        CCArray* children = node->getChildren();
        unsigned i = 0;
        for (; children && i < children->count(); ++i) {
            auto* child = static_cast<CCNode*>(children->objectAtIndex(i));
            if (child->getZOrder() >= 0) break;
            drawingOrder(child, out);
        }
        if (node != batch) out.push_back(nameOf(node));
        for (; children && i < children->count(); ++i)
            drawingOrder(static_cast<CCNode*>(children->objectAtIndex(i)), out);
    }

    // Checks every invariant of the batch node and returns the atlas order by name.
    std::vector<std::string> checkedAtlasOrder(const std::string& step) {
        std::vector<std::string> order;
        CCArray* descendants = batch->getDescendants();
        CCTextureAtlas* atlas = batch->getTextureAtlas();
        EXPECT_EQ(atlas->getTotalQuads(), descendants->count()) << step;
        batch->draw(); // brings every quad up to date
        for (unsigned i = 0; i < descendants->count(); ++i) {
            auto* s = static_cast<CCSprite*>(descendants->objectAtIndex(i));
            EXPECT_EQ(s->getAtlasIndex(), i) << step;
            EXPECT_EQ(s->getBatchNode(), batch) << step;
            EXPECT_EQ(s->getTextureAtlas(), atlas) << step;
            EXPECT_TRUE(s->isUsesBatchNode()) << step;
            EXPECT_EQ(std::memcmp(&atlas->getQuads()[i], &s->getQuad(), sizeof(ccV3F_C4B_T2F_Quad)), 0)
                << step;
            order.push_back(nameOf(s));
        }
        std::vector<std::string> expected;
        drawingOrder(batch, expected);
        EXPECT_EQ(order, expected) << step << ": atlas order differs from drawing order";
        return order;
    }

    CCSpriteBatchNode* batch = nullptr;
    std::vector<std::string> names;
    std::map<std::string, CCSprite*> byName;
};

using Names = std::vector<std::string>;

TEST_F(CCSpriteBatchNodeTest, AtlasIndicesKeepTheirInvariantsThroughEveryOperation) {
    struct Step {
        const char* what;
        std::function<void()> run;
        Names expected;
    };
    CCSprite* kept = nullptr;
    const std::vector<Step> steps = {
        {"three at z 0",
         [&] {
             for (auto n : {"A", "B", "C"})
                 batch->addChild(sprite(n));
         },
         {"A", "B", "C"}},
        {"child below A", [&] { byName["A"]->addChildAtZ(sprite("a1"), -1); }, {"a1", "A", "B", "C"}},
        {"child above A", [&] { byName["A"]->addChildAtZ(sprite("a2"), 1); }, {"a1", "A", "a2", "B", "C"}},
        {"second child below A",
         [&] { byName["A"]->addChildAtZ(sprite("a0"), -1); },
         {"a1", "a0", "A", "a2", "B", "C"}},
        {"child below B",
         [&] { byName["B"]->addChildAtZ(sprite("b1"), -1); },
         {"a1", "a0", "A", "a2", "b1", "B", "C"}},
        {"remove B and its child",
         [&] { batch->removeChild(byName["B"], true); },
         {"a1", "a0", "A", "a2", "C"}},
        {"reorder A to the top", [&] { batch->reorderChild(byName["A"], 5); }, {"C", "a1", "a0", "A", "a2"}},
        {"same z does nothing", [&] { batch->reorderChild(byName["A"], 5); }, {"C", "a1", "a0", "A", "a2"}},
        {"reorder a2 below A",
         [&] { byName["A"]->reorderChild(byName["a2"], -2); },
         {"C", "a2", "a1", "a0", "A"}},
        {"sibling after a branch that ends below its sprite",
         [&] {
             byName["A"]->removeChild(byName["a2"], true);
             batch->addChildAtZ(sprite("D"), 7);
         },
         {"C", "a1", "a0", "A", "D"}},
        {"grandchild", [&] { byName["a0"]->addChildAtZ(sprite("g"), 1); }, {"C", "a1", "a0", "g", "A", "D"}},
        {"remove A's children",
         [&] {
             kept = byName["a1"];
             kept->retain();
             byName["A"]->removeAllChildren(true);
         },
         {"C", "A", "D"}},
        {"remove everything", [&] { batch->removeAllChildren(true); }, {}},
    };
    for (const Step& step : steps) {
        step.run();
        EXPECT_EQ(checkedAtlasOrder(step.what), step.expected) << step.what;
    }
    // A sprite taken out of the batch draws itself again.
    ASSERT_NE(kept, nullptr);
    EXPECT_FALSE(kept->isUsesBatchNode());
    EXPECT_EQ(kept->getAtlasIndex(), CCSprite::kIndexNotInitialized);
    kept->release();
}

TEST_F(CCSpriteBatchNodeTest, AtlasGrowsByAThirdWhenFull) {
    EXPECT_EQ(batch->getTextureAtlas()->getCapacity(), 29u);
    for (int i = 0; i < 30; ++i)
        batch->addChild(sprite("s" + std::to_string(i)));
    EXPECT_EQ(batch->getTextureAtlas()->getCapacity(), 40u);
    EXPECT_EQ(checkedAtlasOrder("thirty").size(), 30u);
}

TEST_F(CCSpriteBatchNodeTest, SimpleMovesWriteTheQuadAtOnceOtherChangesWaitForTheDraw) {
    for (auto n : {"A", "B"})
        batch->addChild(sprite(n));
    EXPECT_EQ(batch->getQueuedSpriteCount(), 2u) << "new sprites wait for the draw";
    checkedAtlasOrder("start");
    EXPECT_EQ(batch->getQueuedSpriteCount(), 0u);
    CCTextureAtlas* atlas = batch->getTextureAtlas();
    const ccV3F_C4B_T2F_Quad otherBefore = atlas->getQuads()[1];
    // An unrotated sprite under the batch node: its corners are in the atlas at once.
    byName["A"]->setPosition(CCPoint(10, 10));
    EXPECT_FALSE(byName["A"]->isDirty());
    EXPECT_EQ(batch->getQueuedSpriteCount(), 0u);
    EXPECT_FLOAT_EQ(atlas->getQuads()[0].bl.vertices.x, 8.0f);
    EXPECT_FLOAT_EQ(atlas->getQuads()[0].tr.vertices.y, 12.0f);
    byName["A"]->setOpacity(100);
    EXPECT_EQ(atlas->getQuads()[0].br.colors, byName["A"]->getQuad().br.colors);
    const ccV3F_C4B_T2F_Quad before = atlas->getQuads()[0];
    // A rotation needs the general transform: queued once, drawn later.
    byName["A"]->setRotation(90);
    byName["A"]->setPosition(CCPoint(10, 10));
    EXPECT_TRUE(byName["A"]->isDirty());
    EXPECT_FALSE(byName["B"]->isDirty());
    EXPECT_EQ(batch->getQueuedSpriteCount(), 1u);
    EXPECT_EQ(std::memcmp(&atlas->getQuads()[0], &before, sizeof before), 0) << "quad touched before drawing";
    batch->draw();
    EXPECT_FALSE(byName["A"]->isDirty());
    // Rotated 90 degrees clockwise about its centre (10, 10): the bottom-left corner goes to the top left.
    EXPECT_NEAR(atlas->getQuads()[0].bl.vertices.x, 8.0f, 1e-4);
    EXPECT_NEAR(atlas->getQuads()[0].bl.vertices.y, 12.0f, 1e-4);
    EXPECT_EQ(std::memcmp(&atlas->getQuads()[1], &otherBefore, sizeof otherBefore), 0)
        << "other quad touched";
}

TEST_F(CCSpriteBatchNodeTest, ChildrenFollowTheirParentsAsTheirHonourBitsSay) {
    CCSprite* parent = sprite("P");
    parent->setTextureRect(CCRect(0, 0, 20, 20));
    batch->addChild(parent);
    parent->setPosition(CCPoint(50, 50));
    parent->setRotation(90);
    CCSprite* child = sprite("c");
    child->setTextureRect(CCRect(0, 0, 10, 10));
    child->setPosition(CCPoint(15, 10));
    child->setHonorParentTransform(CCSprite::kHonorAll & ~CCSprite::kHonorRotate);
    parent->addChild(child);
    batch->draw();
    // The parent's bottom-left corner is at (40, 40); the child spans (10..20, 5..15) from it, unrotated.
    const ccV3F_C4B_T2F_Quad& q = child->getQuad();
    EXPECT_NEAR(q.bl.vertices.x, 50.0f, 1e-4);
    EXPECT_NEAR(q.bl.vertices.y, 45.0f, 1e-4);
    EXPECT_NEAR(q.tr.vertices.x, 60.0f, 1e-4);
    EXPECT_NEAR(q.tr.vertices.y, 55.0f, 1e-4);

    parent->setVisible(false);
    batch->draw();
    for (const ccV3F_C4B_T2F* v :
         {&child->getQuad().tl, &child->getQuad().bl, &child->getQuad().tr, &child->getQuad().br}) {
        EXPECT_EQ(v->vertices.x, 0.0f);
        EXPECT_EQ(v->vertices.y, 0.0f);
    }
}

TEST_F(CCSpriteBatchNodeTest, DrawsAllSpritesInOneCallAndNothingWhenEmpty) {
    clear();
    batch->setBlendFunc(ccBlendFunc{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA});
    batch->visit(); // no quads: no drawing, no GL state change
    GLint src = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    EXPECT_EQ(src, GL_ONE);
    EXPECT_EQ(gl.pixel(64, 64), (kvtest::RGBA{0, 0, 0, 255}));

    CCSprite* red = sprite("red");
    CCSprite* green = sprite("green");
    batch->addChild(red);
    batch->addChild(green);
    red->setPosition(CCPoint(20, 20));
    red->setColor(ccColor3B{255, 0, 0});
    green->setPosition(CCPoint(80, 80));
    green->setColor(ccColor3B{0, 255, 0});
    batch->visit();
    EXPECT_EQ(gl.pixel(20, 20), (kvtest::RGBA{255, 0, 0, 255}));
    EXPECT_EQ(gl.pixel(80, 80), (kvtest::RGBA{0, 255, 0, 255}));
    EXPECT_EQ(gl.pixel(50, 50), (kvtest::RGBA{0, 0, 0, 255}));
    EXPECT_EQ(gl.pixel(25, 20), (kvtest::RGBA{0, 0, 0, 255}));
}

TEST_F(CCSpriteBatchNodeTest, RefusesWhatItCannotDrawAndOutlivesNoSprite) {
    kvtest::LogLines log;
    batch->addChild(CCNode::create());
    batch->addChild(nullptr);
    EXPECT_EQ(batch->getChildren()->count(), 0u);
    EXPECT_GE(log.lines.size(), 2u);
    EXPECT_EQ(CCSpriteBatchNode::createWithFile("/nonexistent/sheet.png"), nullptr);
    EXPECT_EQ(CCSpriteBatchNode::createWithTexture(nullptr), nullptr);

    // A batched sprite may not take a plain node as a child.
    CCSprite* a = sprite("A");
    batch->addChild(a);
    a->addChild(CCNode::create());
    EXPECT_EQ(a->getChildren() ? a->getChildren()->count() : 0u, 0u);

    // A sprite that outlives its batch node draws itself again.
    auto* own = new CCSpriteBatchNode();
    ASSERT_TRUE(own->initWithTexture(batch->getTexture(), 2));
    CCSprite* b = sprite("B");
    own->addChild(b);
    b->retain();
    own->release();
    EXPECT_FALSE(b->isUsesBatchNode());
    EXPECT_EQ(b->getParent(), nullptr);
    b->setColor(ccColor3B{1, 2, 3});
    b->setPosition(CCPoint(3, 3));
    b->release();
}

} // namespace

TEST_F(CCSpriteBatchNodeTest, QuadsWrittenAtOnceEqualTheGeneralTransform) {
    struct Case {
        const char* name;
        CCPoint position;
        float scaleX, scaleY;
        CCPoint anchor;
        CCRect rect;
    };
    const Case cases[] = {
        {"centre anchor", {10.5f, 20.25f}, 1, 1, {0.5f, 0.5f}, {0, 0, 4, 4}},
        {"scaled, corner anchor", {100, 3}, 2.5f, 0.75f, {0, 0}, {4, 0, 12, 8}},
        {"mirrored", {-7.3f, 61.9f}, -1, 3, {0.25f, 1}, {0, 4, 6, 2}},
        {"scaled to nothing", {5, 5}, 0, 1, {0.5f, 0.5f}, {0, 0, 4, 4}},
    };
    CCSprite* general = sprite("general");
    CCSprite* simple = sprite("simple");
    batch->addChild(general);
    batch->addChild(simple);
    batch->draw();
    CCTextureAtlas* atlas = batch->getTextureAtlas();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (CCSprite* s : {general, simple}) {
            s->setTextureRect(c.rect);
            s->setAnchorPoint(c.anchor);
        }
        batch->draw();
        simple->setPosition(c.position);
        simple->setScaleX(c.scaleX);
        simple->setScaleY(c.scaleY);
        EXPECT_FALSE(simple->isDirty());
        // The other sprite takes the matrix of the node: rotated a full turn, then drawn.
        general->setRotation(360);
        general->setPosition(c.position);
        general->setScaleX(c.scaleX);
        general->setScaleY(c.scaleY);
        batch->draw();
        const CCAffineTransform t = general->nodeToParentTransform();
        const ccV3F_C4B_T2F_Quad& q = atlas->getQuads()[simple->getAtlasIndex()];
        const ccV3F_C4B_T2F_Quad& g = atlas->getQuads()[general->getAtlasIndex()];
        const float x[2] = {0, c.rect.size.width}, y[2] = {0, c.rect.size.height};
        const ccV3F_C4B_T2F* corners[4] = {&q.bl, &q.br, &q.tl, &q.tr};
        const ccV3F_C4B_T2F* generalCorners[4] = {&g.bl, &g.br, &g.tl, &g.tr};
        for (int k = 0; k < 4; ++k) {
            const float cx = x[k & 1], cy = y[k >> 1];
            EXPECT_NEAR(corners[k]->vertices.x, cx * t.a + cy * t.c + t.tx, 1e-3) << "corner " << k;
            EXPECT_NEAR(corners[k]->vertices.y, cx * t.b + cy * t.d + t.ty, 1e-3) << "corner " << k;
            EXPECT_NEAR(corners[k]->vertices.x, generalCorners[k]->vertices.x, 1e-3) << "corner " << k;
            EXPECT_NEAR(corners[k]->vertices.y, generalCorners[k]->vertices.y, 1e-3) << "corner " << k;
        }
        general->setRotation(0);
    }
}

TEST_F(CCSpriteBatchNodeTest, QueuedSpritesLeavingOrOutlivingTheBatchAreSafe) {
    CCSprite* kept = sprite("kept");
    kept->retain();
    for (auto n : {"a", "b", "c"})
        batch->addChild(sprite(n));
    batch->addChild(kept);
    batch->draw();
    byName["a"]->setRotation(10);
    byName["b"]->setRotation(20);
    kept->setRotation(30);
    EXPECT_EQ(batch->getQueuedSpriteCount(), 3u);
    // Leaving the batch takes a sprite off the queue; the last one fills its place.
    batch->removeChild(byName["a"], true);
    EXPECT_EQ(batch->getQueuedSpriteCount(), 2u);
    checkedAtlasOrder("after removal");
    kept->setRotation(40);
    batch->retain();
    batch->removeFromParent(true);
    CCAutoreleasePoolStack::getInstance().clearAllPools();
    batch->release(); // the queue dies with its batch node while `kept` is still queued
    batch = nullptr;
    EXPECT_FALSE(kept->isUsesBatchNode());
    kept->setPosition(CCPoint(3, 3)); // draws itself again: nothing refers to the dead queue
    kept->release();
}

TEST_F(CCSpriteBatchNodeTest, TheAtlasGrowsUpToItsLimitAndNoFurther) {
    CCTextureAtlas* atlas = batch->getTextureAtlas();
    ASSERT_TRUE(atlas->resizeCapacity(16000));
    // One step from 16,000 would pass the limit: it stops at the limit instead of failing.
    EXPECT_TRUE(batch->increaseAtlasCapacity());
    EXPECT_EQ(atlas->getCapacity(), CCTextureAtlas::kMaxCapacity);
    kvtest::LogLines log;
    EXPECT_FALSE(batch->increaseAtlasCapacity());
    EXPECT_EQ(atlas->getCapacity(), CCTextureAtlas::kMaxCapacity);
    EXPECT_TRUE(log.contains("full"));
}
