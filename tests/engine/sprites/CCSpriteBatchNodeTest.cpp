#include "engine/sprites/CCSpriteBatchNode.h"

#include "engine/base/CCArray.h"
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
        s->initWithTexture(batch->getTexture());
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

TEST_F(CCSpriteBatchNodeTest, ChangesOnlyMarkDirtyUntilTheBatchDraws) {
    for (auto n : {"A", "B"})
        batch->addChild(sprite(n));
    checkedAtlasOrder("start");
    CCTextureAtlas* atlas = batch->getTextureAtlas();
    const ccV3F_C4B_T2F_Quad before = atlas->getQuads()[0];
    const ccV3F_C4B_T2F_Quad otherBefore = atlas->getQuads()[1];
    byName["A"]->setPosition(CCPoint(10, 10));
    byName["A"]->setRotation(90);
    EXPECT_TRUE(byName["A"]->isDirty());
    EXPECT_FALSE(byName["B"]->isDirty());
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
