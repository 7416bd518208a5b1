#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCMutableArray.h"
#include "engine/director/CCDirector.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/nodes/CCLayer.h"
#include "engine/nodes/CCLayerGradient.h"
#include "engine/platform/CCGL.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

using namespace kvengine;

namespace {

class LayerTest : public ::testing::Test {
protected:
    void SetUp() override { CCDirector::getInstance()->setWinSizeInPoints(CCSize(800, 600)); }
    void TearDown() override {
        CCDirector::destroyInstance();
        CCAutoreleasePoolStack::getInstance().clearAllPools();
    }
    static void drain() { CCAutoreleasePoolStack::getInstance().getCurrentPool()->clear(); }
    static unsigned standardHandlers() {
        return CCTouchDispatcher::getInstance()->getStandardHandlers()->count();
    }
};

bool sameColor(const uint8_t* c, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    return c[0] == r && c[1] == g && c[2] == b && c[3] == a;
}

} // namespace

TEST_F(LayerTest, CoversTheWindowWithItsCornerAtThePosition) {
    CCLayer* layer = CCLayer::create();
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->getContentSize().width, 800.0f);
    EXPECT_FALSE(layer->isRelativeAnchorPoint());
    EXPECT_EQ(layer->getAnchorPoint().x, 0.5f);
    EXPECT_STREQ(layer->className(), "CCLayer");
    EXPECT_TRUE(layer->isKindOf("CCNode"));
}

TEST_F(LayerTest, RegistersForTouchesOnlyWhileRunning) {
    CCNode* root = CCNode::create();
    root->onEnter();
    CCLayer* layer = CCLayer::create();
    layer->setTouchEnabled(true);
    EXPECT_FALSE(layer->isRegisteredForTouches()) << "not running: not registered";
    EXPECT_EQ(standardHandlers(), 0u);

    root->addChild(layer);
    EXPECT_TRUE(layer->isRegisteredForTouches());
    EXPECT_EQ(standardHandlers(), 1u);
    layer->setTouchEnabled(true); // unchanged: nothing happens
    EXPECT_EQ(standardHandlers(), 1u);

    layer->setTouchEnabled(false);
    EXPECT_EQ(standardHandlers(), 0u);
    layer->setTouchEnabled(true);
    EXPECT_EQ(standardHandlers(), 1u);

    layer->retain();
    root->removeChild(layer, true);
    EXPECT_FALSE(layer->isRegisteredForTouches());
    EXPECT_EQ(standardHandlers(), 0u);
    root->retain();
    drain(); // the handlers made by registration were autoreleased
    EXPECT_EQ(layer->retainCount(), 1u) << "the dispatcher let the layer go";
    layer->release();
    root->onExit();
    root->release();
}

TEST_F(LayerTest, KeypadRegistrationFollowsTheStage) {
    auto* root = new CCNode();
    auto* layer = new CCLayer();
    layer->init();
    layer->setKeypadEnabled(true);
    root->addChild(layer);
    root->onEnter();
    drain();
    EXPECT_EQ(layer->retainCount(), 3u) << "owner, parent and the keypad dispatcher";
    layer->setKeypadEnabled(false);
    drain();
    EXPECT_EQ(layer->retainCount(), 2u);
    layer->setKeypadEnabled(true);
    root->onExit();
    drain();
    EXPECT_EQ(layer->retainCount(), 2u);
    root->release();
    layer->release();
}

TEST_F(LayerTest, ColourLayerKeepsVerticesAndColoursReady) {
    CCLayerColor* layer = CCLayerColor::createWithColor(ccColor4B{10, 20, 30, 40}, 100, 50);
    ASSERT_NE(layer, nullptr);
    const float* v = layer->getVertices();
    const float expected[8] = {0, 0, 100, 0, 0, 50, 100, 50};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(v[i], expected[i]) << i;
    for (int corner = 0; corner < 4; ++corner) {
        EXPECT_TRUE(sameColor(layer->getCornerColors() + corner * 4, 10, 20, 30, 40));
    }
    layer->setOpacity(255);
    layer->setColor(ccColor3B{1, 2, 3});
    EXPECT_TRUE(sameColor(layer->getCornerColors() + 12, 1, 2, 3, 255));
    EXPECT_EQ(layer->asRGBAProtocol(), static_cast<CCRGBAProtocol*>(layer));
    EXPECT_STREQ(layer->className(), "CCLayer");
    EXPECT_FALSE(layer->isKindOf("CCLayerColor"));

    CCDirector::getInstance()->setContentScaleFactor(2.0f);
    layer->setContentSize(CCSize(100, 50)); // same size: vertices still rewritten, in pixels
    EXPECT_EQ(layer->getVertices()[6], 200.0f);
}

TEST_F(LayerTest, GradientCornersFollowTheVector) {
    struct Case {
        const char* name;
        CCPoint vector;
        bool compressed;
        // Expected red channel at bottom-left, bottom-right, top-left, top-right.
        int red[4];
    };
    const Case cases[] = {
        {"(0,-1): start on top, end at the bottom", {0, -1}, true, {0, 0, 255, 255}},
        {"(1,0) without compression", {1, 0}, false, {0xD9, 0x25, 0xD9, 0x25}},
        {"zero vector: plain start colour", {0, 0}, true, {255, 255, 255, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCLayerGradient* layer = CCLayerGradient::createWithColorsAndVector(
            ccColor4B{255, 0, 0, 255}, ccColor4B{0, 0, 255, 255}, c.vector);
        ASSERT_NE(layer, nullptr);
        layer->setCompressedInterpolation(c.compressed);
        for (int corner = 0; corner < 4; ++corner) {
            EXPECT_NEAR(layer->getCornerColors()[corner * 4], c.red[corner], 1) << "corner " << corner;
        }
    }
}

TEST_F(LayerTest, HalfTransparentColourLayerBlendsAndRestoresTheDefaultBlend) {
    kvtest::GLTestContext gl;
    ASSERT_TRUE(gl.open(64, 64));
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);

    CCLayerColor* opaque = CCLayerColor::createWithColor(ccColor4B{0, 255, 0, 255}, 32, 64);
    CCLayerColor* half = CCLayerColor::createWithColor(ccColor4B{255, 0, 0, 128}, 64, 32);
    opaque->draw();
    half->draw();

    EXPECT_EQ(gl.pixel(16, 48), (kvtest::RGBA{0, 255, 0, 255})) << "opaque: no blend change";
    const kvtest::RGBA mixed = gl.pixel(48, 16);
    EXPECT_NEAR(mixed.r, 128, 2);
    EXPECT_NEAR(mixed.b, 127, 2);
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_ONE);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << "the layer restores the director's texture state";
}

TEST_F(LayerTest, ColourLayersThatChangeNothingAreSkippedAndOpaqueOnesDrawUnblended) {
    kvtest::GLTestContext gl;
    ASSERT_TRUE(gl.open(64, 64));
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    struct Case {
        const char* name;
        ccColor4B color;
        ccBlendFunc blend;
        unsigned samples;
        bool blended;
    };
    const ccBlendFunc usual{GL_ONE, GL_ONE_MINUS_SRC_ALPHA};
    const Case cases[] = {
        {"faded out", {255, 0, 0, 0}, usual, 0, true},
        {"faded out, straight pair", {255, 0, 0, 0}, {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}, 0, true},
        {"faded out, additive", {255, 0, 0, 0}, {GL_ONE, GL_ONE}, 32 * 32, true},
        {"nearly faded", {255, 0, 0, 1}, usual, 32 * 32, true},
        {"opaque", {200, 100, 50, 255}, usual, 32 * 32, false},
        {"opaque, additive", {200, 100, 50, 255}, {GL_ONE, GL_ONE}, 32 * 32, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCLayerColor* layer = CCLayerColor::createWithColor(c.color, 32, 32);
        layer->setBlendFunc(c.blend);
        glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        // Reverse subtraction blackens a blended opaque colour; with blending off it is written.
        glBlendEquation(GL_FUNC_REVERSE_SUBTRACT);
        EXPECT_EQ(gl.samplesPassed([&] { layer->draw(); }), c.samples);
        glBlendEquation(GL_FUNC_ADD);
        if (c.samples != 0 && c.color.a == 255) {
            const kvtest::RGBA written{c.color.r, c.color.g, c.color.b, 255};
            EXPECT_EQ(gl.pixel(16, 16) == written, !c.blended);
        }
        EXPECT_TRUE(glIsEnabled(GL_BLEND));
    }
}
