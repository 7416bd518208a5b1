#include "engine/effects/CCGrabber.h"
#include "engine/effects/CCGrid3D.h"
#include "engine/effects/CCTileActions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/base/CCRandom.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/platform/CCGL.h"
#include "engine/textures/CCTexture2D.h"
#include "support/GLFixture.h"
#include "tests/engine/files/FilesTestSupport.h"

using namespace kvengine;

namespace {

ccGridSize gridSize(int x, int y) {
    ccGridSize size;
    size.x = x;
    size.y = y;
    return size;
}

// A GL context and a 480 x 320 window for every grid test; grids need a texture.
class GridTest : public kvtest::GLFixture {
protected:
    GridTest() : GLFixture(64, 64) {}
    void setUpWithGL() override { CCDirector::getInstance()->setWinSizeInPoints(CCSize(480, 320)); }
    void tearDownWithGL() override {
        if (node) {
            node->cleanup();
            node->release();
        }
    }

    // Runs an action on a fresh node by hand: start, then updates at the given times.
    void start(CCAction* action) {
        node = new CCNode();
        action->startWithTarget(node);
    }
    CCTiledGrid3D* tiled() { return static_cast<CCTiledGrid3D*>(node->getGrid()); }

    kvtest::PoolScope pool;
    CCNode* node = nullptr;
};

TEST_F(GridTest, TiledGridCoversTheWindowWithSeparateQuads) {
    CCTiledGrid3D* grid = CCTiledGrid3D::createWithSize(gridSize(4, 3));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->getTexture()->getPixelsWide(), 512u);
    EXPECT_EQ(grid->getTexture()->getPixelsHigh(), 512u);
    EXPECT_FLOAT_EQ(grid->getStep().x, 120);
    EXPECT_NEAR(grid->getStep().y, 106.667f, 1e-3);
    EXPECT_EQ(grid->vertices().size(), 12u * 12u);
    EXPECT_EQ(grid->indices().size(), 72u);
    EXPECT_FALSE(grid->isActive());
    float c[12];
    grid->tile(1, 2, c); // quad 1 x 3 + 2 = 5
    EXPECT_FLOAT_EQ(c[0], 120);
    EXPECT_NEAR(c[1], 213.333f, 1e-3);
    EXPECT_FLOAT_EQ(c[9], 240);
    EXPECT_NEAR(c[10], 320, 1e-3);
    EXPECT_EQ(grid->indices()[5 * 6], 20);
    EXPECT_EQ(grid->indices()[5 * 6 + 5], 23);
    EXPECT_FLOAT_EQ(grid->texCoordinates()[5 * 8 + 6], 240.0f / 512);
}

TEST_F(GridTest, BadSizesAndCellsAreRefused) {
    kvtest::LogCapture log;
    for (ccGridSize size : {gridSize(0, 3), gridSize(-1, 2), gridSize(200, 200)})
        EXPECT_EQ(CCTiledGrid3D::createWithSize(size), nullptr);
    CCTiledGrid3D* grid = CCTiledGrid3D::createWithSize(gridSize(2, 2));
    ASSERT_NE(grid, nullptr);
    float c[12] = {1};
    grid->tile(5, 0, c);
    EXPECT_EQ(c[0], 0.0f);
    grid->storeTile(-1, 0, c); // ignored
    EXPECT_TRUE(log.contains("outside"));
}

TEST_F(GridTest, ReuseCountKeepsTheCurrentShapeThatManyTimes) {
    CCTiledGrid3D* grid = CCTiledGrid3D::createWithSize(gridSize(2, 2));
    ASSERT_NE(grid, nullptr);
    grid->setReuseGrid(2);
    float moved[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    for (int round = 0; round < 3; ++round) {
        moved[0] = static_cast<float>(100 + round);
        grid->storeTile(0, 0, moved);
        grid->keepCurrentVertices();
    }
    float rest[12];
    grid->originalTile(0, 0, rest);
    EXPECT_EQ(rest[0], 101.0f); // kept in rounds 0 and 1 only
    EXPECT_EQ(grid->getReuseGrid(), 0);
}

TEST_F(GridTest, CaptureClearsOnlyWithANewEnoughContext) {
    CCTiledGrid3D* grid = CCTiledGrid3D::createWithSize(gridSize(2, 2));
    ASSERT_NE(grid, nullptr);
    for (int code : {0, 1, 3}) {
        SCOPED_TRACE(code);
        glClearColor(1, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        grid->getGrabber()->setGLVersionCode(code);
        grid->getGrabber()->beginCapture(grid->getTexture());
        GLboolean mask[4];
        glGetBooleanv(GL_COLOR_WRITEMASK, mask);
        EXPECT_EQ(gl.pixel(10, 10).r, code > 1 ? 0 : 255);
        EXPECT_EQ(mask[3] == GL_FALSE, code > 1);
        grid->getGrabber()->endCapture(grid->getTexture());
        glGetBooleanv(GL_COLOR_WRITEMASK, mask);
        EXPECT_TRUE(mask[3]);
    }
}

TEST_F(GridTest, DrawingThroughAGridLeavesItsTextureEmpty) {
    start(CCFadeOutTRTiles::createWithSizeDuration(gridSize(2, 2), 1));
    ASSERT_NE(node->getGrid(), nullptr);
    EXPECT_TRUE(node->getGrid()->isActive());
    CCLayerColor* layer = CCLayerColor::createWithColor(ccColor4B{0, 255, 0, 255}, 32, 32);
    node->addChild(layer);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    node->visit();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    std::vector<unsigned char> texels(512 * 512 * 4, 7);
    glBindTexture(GL_TEXTURE_2D, node->getGrid()->getTexture()->getName());
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(std::count(texels.begin(), texels.end(), 0), static_cast<long>(texels.size()));
    CCStopGrid::create()->startWithTarget(node);
    EXPECT_FALSE(node->getGrid()->isActive());
}

TEST_F(GridTest, TurnOffTilesHidesTheFirstPartOfItsOrder) {
    auto* action = new CCTurnOffTiles();
    action->autorelease();
    action->initWithSeed(5, gridSize(4, 4), 1);
    start(action);
    std::vector<int> order = action->order();
    action->update(0.5f);
    for (int k = 0; k < 16; ++k) {
        float c[12];
        tiled()->tile(order[k] / 4, order[k] % 4, c);
        bool hidden = c[9] == 0.0f && c[10] == 0.0f;
        EXPECT_EQ(hidden, k < 8) << k;
    }
    // The same seed gives the same order; -1 continues the random sequence instead.
    auto* again = new CCTurnOffTiles();
    again->autorelease();
    again->initWithSeed(5, gridSize(4, 4), 1);
    again->startWithTarget(node);
    EXPECT_EQ(again->order(), order);
}

TEST_F(GridTest, FadeOutTilesShrinkByTheirTest) {
    auto* action = CCFadeOutTRTiles::createWithSizeDuration(gridSize(4, 4), 1);
    start(action);
    EXPECT_FLOAT_EQ(action->testFunc(3, 3, 0), 1);
    EXPECT_NEAR(action->testFunc(3, 3, 1), std::pow(6.0 / 8.0, 6), 1e-6);
    action->update(1);
    float c[12], rest[12];
    tiled()->tile(3, 3, c);
    tiled()->originalTile(3, 3, rest);
    EXPECT_GT(c[0], rest[0]); // shrunk towards its centre
    EXPECT_LT(c[9], rest[9]);
    tiled()->tile(0, 0, c); // test 0: hidden
    EXPECT_EQ(c[9], 0.0f);
}

TEST_F(GridTest, ShakyTilesWithNoRangeStayAtRestAndShatteredMoveOnce) {
    auto* shaky = new CCShakyTiles3D();
    shaky->autorelease();
    shaky->initWithRange(0, true, gridSize(3, 3), 1);
    start(shaky);
    shaky->update(0.5f);
    float c[12], rest[12];
    tiled()->tile(2, 1, c);
    tiled()->originalTile(2, 1, rest);
    EXPECT_EQ(std::vector<float>(c, c + 12), std::vector<float>(rest, rest + 12));

    auto* shattered = new CCShatteredTiles3D();
    shattered->autorelease();
    shattered->initWithRange(5, false, gridSize(3, 3), 1);
    CCRandom::seed(11);
    shattered->startWithTarget(node);
    shattered->update(0.1f);
    std::vector<float> once = tiled()->vertices();
    shattered->update(0.9f);
    EXPECT_EQ(tiled()->vertices(), once);
    tiled()->originalTile(0, 0, rest);
    tiled()->tile(0, 0, c);
    EXPECT_LE(std::fabs(c[0] - rest[0]), 5.0f);
}

TEST_F(GridTest, GridOfAnotherSizeWithReuseCountIsLeftAlone) {
    start(CCFadeOutTRTiles::createWithSizeDuration(gridSize(2, 2), 1));
    CCGridBase* first = node->getGrid();
    first->setReuseGrid(1);
    CCFadeOutTRTiles::createWithSizeDuration(gridSize(3, 3), 1)->startWithTarget(node);
    EXPECT_EQ(node->getGrid(), first);
    EXPECT_EQ(first->getReuseGrid(), 1);
    CCFadeOutTRTiles::createWithSizeDuration(gridSize(2, 2), 1)->startWithTarget(node);
    EXPECT_EQ(node->getGrid(), first);
    EXPECT_EQ(first->getReuseGrid(), 0);
}

TEST_F(GridTest, SplitAndShuffleMoveWholeTiles) {
    auto* split = CCSplitRows::createWithRowsDuration(2, 1);
    start(split);
    split->update(0.5f);
    float c[12], rest[12];
    tiled()->tile(0, 1, c);
    tiled()->originalTile(0, 1, rest);
    EXPECT_FLOAT_EQ(c[0] - rest[0], 240); // odd row to the right by half the width

    auto* shuffle = new CCShuffleTiles();
    shuffle->autorelease();
    shuffle->initWithSeed(3, gridSize(2, 2), 1);
    shuffle->startWithTarget(node); // replaces the grid (no reuse count)
    shuffle->update(1);
    // At t = 1 every tile sits on the rest place of the cell its order names.
    for (int cell = 0; cell < 4; ++cell) {
        int target = shuffle->order()[cell];
        tiled()->tile(cell / 2, cell % 2, c);
        tiled()->originalTile(target / 2, target % 2, rest);
        EXPECT_NEAR(c[0], rest[0], 1) << cell;
        EXPECT_NEAR(c[1], rest[1], 1) << cell;
    }
}

} // namespace
