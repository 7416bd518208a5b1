#include "engine/effects/CCTileActions.h"

#include <cmath>

#include "engine/actions/CCActionCopy.h"
#include "engine/base/CCRandom.h"
#include "engine/director/CCDirector.h"
#include "engine/effects/CCGrid3D.h"

namespace kvengine {

namespace {

constexpr float kPi = 3.14159265358979323846f;

template <class T> T* autoreleased(T* action) {
    action->autorelease();
    return action;
}

// Offset in -range .. range - 1; a range of 0 or less has no offsets (and draws no numbers).
int jitter(int range) {
    if (range <= 0) return 0;
    return CCRandom::next() % (2 * range) - range;
}

// The order 0..count-1 shuffled, after restarting the random source unless seed is -1.
std::vector<int> shuffledOrder(int seed, int count) {
    if (seed != -1) CCRandom::seed(static_cast<unsigned>(seed));
    std::vector<int> order(static_cast<std::size_t>(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i)
        order[static_cast<std::size_t>(i)] = i;
    shuffleIntegers(order);
    return order;
}

// Corner layout of a tile: bottom-left, bottom-right, top-left, top-right, each x, y, z.
enum { BLx = 0, BLy, BLz, BRx, BRy, BRz, TLx, TLy, TLz, TRx, TRy, TRz };

} // namespace

void shuffleIntegers(std::vector<int>& values) {
    for (int i = static_cast<int>(values.size()) - 1; i >= 0; --i) {
        int j = CCRandom::next() % (i + 1);
        std::swap(values[static_cast<std::size_t>(i)], values[static_cast<std::size_t>(j)]);
    }
}

// ---------------------------------------------------------------------------------------------
// Shaky and shattered

bool CCShakyTiles3D::initWithRange(int range, bool shakeZ, const ccGridSize& size, float duration) {
    initWithSize(size, duration);
    m_range = range;
    m_shakeZ = shakeZ;
    return true;
}

void CCShakyTiles3D::shakeAll() {
    for (int i = 0; i < m_gridSize.x; ++i) {
        for (int j = 0; j < m_gridSize.y; ++j) {
            float c[12];
            restTile(i, j, c);
            for (int k : {BLx, BRx, TLx, TRx})
                c[k] += static_cast<float>(jitter(m_range));
            for (int k : {BLy, BRy, TLy, TRy})
                c[k] += static_cast<float>(jitter(m_range));
            if (m_shakeZ)
                for (int k : {BLz, BRz, TLz, TRz})
                    c[k] += static_cast<float>(jitter(m_range));
            storeTile(i, j, c);
        }
    }
}

void CCShakyTiles3D::update(float) {
    shakeAll();
}

CCObject* CCShakyTiles3D::copyInto(CCCopyHolder* holder) {
    CCShakyTiles3D* copy = detail::copyObjectFor<CCShakyTiles3D>(holder);
    CCCopyHolder inner{copy};
    CCTiledGrid3DAction::copyInto(&inner);
    copy->initWithRange(m_range, m_shakeZ, m_gridSize, getDuration());
    return copy;
}

bool CCShatteredTiles3D::initWithRange(int range, bool shatterZ, const ccGridSize& size, float duration) {
    m_once = false;
    return CCShakyTiles3D::initWithRange(range, shatterZ, size, duration);
}

void CCShatteredTiles3D::update(float) {
    if (m_once) return;
    shakeAll();
    m_once = true;
}

CCObject* CCShatteredTiles3D::copyInto(CCCopyHolder* holder) {
    CCShatteredTiles3D* copy = detail::copyObjectFor<CCShatteredTiles3D>(holder);
    CCCopyHolder inner{copy};
    CCTiledGrid3DAction::copyInto(&inner);
    copy->initWithRange(m_range, m_shakeZ, m_gridSize, getDuration());
    return copy;
}

// ---------------------------------------------------------------------------------------------
// Shuffle

bool CCShuffleTiles::initWithSeed(int seed, const ccGridSize& size, float duration) {
    initWithSize(size, duration);
    m_seed = seed;
    return true;
}

void CCShuffleTiles::startWithTarget(CCNode* target) {
    CCTiledGrid3DAction::startWithTarget(target);
    const int rows = m_gridSize.y;
    const int count = m_gridSize.x * rows;
    m_order = shuffledOrder(m_seed, count);
    m_tiles.assign(static_cast<std::size_t>(count > 0 ? count : 0), Tile{});
    for (int i = 0; i < m_gridSize.x; ++i) {
        for (int j = 0; j < rows; ++j) {
            const std::size_t index = static_cast<std::size_t>(i * rows + j);
            Tile& tile = m_tiles[index];
            tile.position = tile.startPosition = CCPoint(static_cast<float>(i), static_cast<float>(j));
            tile.deltaX = m_order[index] / rows - i;
            tile.deltaY = m_order[index] % rows - j;
        }
    }
}

void CCShuffleTiles::update(float t) {
    CCTiledGrid3D* grid = targetGrid();
    if (grid == nullptr) return;
    const CCPoint step = grid->getStep();
    const int rows = m_gridSize.y;
    for (int i = 0; i < m_gridSize.x; ++i) {
        for (int j = 0; j < rows; ++j) {
            Tile& tile = m_tiles[static_cast<std::size_t>(i * rows + j)];
            tile.position = CCPoint(tile.deltaX * t, tile.deltaY * t);
            float c[12];
            restTile(i, j, c);
            const float dx = static_cast<float>(static_cast<int>(tile.position.x * step.x));
            const float dy = static_cast<float>(static_cast<int>(tile.position.y * step.y));
            for (int k : {BLx, BRx, TLx, TRx})
                c[k] += dx;
            for (int k : {BLy, BRy, TLy, TRy})
                c[k] += dy;
            storeTile(i, j, c);
        }
    }
}

CCObject* CCShuffleTiles::copyInto(CCCopyHolder* holder) {
    CCShuffleTiles* copy = detail::copyObjectFor<CCShuffleTiles>(holder);
    CCCopyHolder inner{copy};
    CCTiledGrid3DAction::copyInto(&inner);
    copy->initWithSeed(m_seed, m_gridSize, getDuration());
    return copy;
}

// ---------------------------------------------------------------------------------------------
// Fade-out tiles

CCFadeOutTRTiles* CCFadeOutTRTiles::createWithSizeDuration(const ccGridSize& size, float duration) {
    auto* action = new CCFadeOutTRTiles();
    action->initWithSize(size, duration);
    return autoreleased(action);
}

float CCFadeOutTRTiles::testFunc(int x, int y, float t) {
    const float n = m_gridSize.x * t + m_gridSize.y * t;
    if (n == 0.0f) return 1.0f;
    return std::pow((x + y) / n, 6.0f);
}

void CCFadeOutTRTiles::turnOnTile(int x, int y) {
    float c[12];
    restTile(x, y, c);
    storeTile(x, y, c);
}

void CCFadeOutTRTiles::turnOffTile(int x, int y) {
    const float zeros[12] = {};
    storeTile(x, y, zeros);
}

void CCFadeOutTRTiles::transformTile(int x, int y, float distance) {
    CCTiledGrid3D* grid = targetGrid();
    if (grid == nullptr) return;
    const CCPoint step = grid->getStep();
    float c[12];
    restTile(x, y, c);
    const float sx = step.x / 2 * (1.0f - distance), sy = step.y / 2 * (1.0f - distance);
    c[BLx] += sx;
    c[BLy] += sy;
    c[BRx] -= sx;
    c[BRy] += sy;
    c[TLx] += sx;
    c[TLy] -= sy;
    c[TRx] -= sx;
    c[TRy] -= sy;
    storeTile(x, y, c);
}

void CCFadeOutTRTiles::update(float t) {
    for (int i = 0; i < m_gridSize.x; ++i) {
        for (int j = 0; j < m_gridSize.y; ++j) {
            const float distance = testFunc(i, j, t);
            if (distance == 0.0f)
                turnOffTile(i, j);
            else if (distance < 1.0f)
                transformTile(i, j, distance);
            else
                turnOnTile(i, j);
        }
    }
}

CCObject* CCFadeOutTRTiles::copyInto(CCCopyHolder* holder) {
    CCFadeOutTRTiles* copy = detail::copyObjectFor<CCFadeOutTRTiles>(holder);
    CCCopyHolder inner{copy};
    CCTiledGrid3DAction::copyInto(&inner);
    return copy;
}

CCFadeOutBLTiles* CCFadeOutBLTiles::createWithSizeDuration(const ccGridSize& size, float duration) {
    auto* action = new CCFadeOutBLTiles();
    action->initWithSize(size, duration);
    return autoreleased(action);
}

float CCFadeOutBLTiles::testFunc(int x, int y, float t) {
    if (x + y == 0) return 1.0f;
    return std::pow((m_gridSize.x * (1.0f - t) + m_gridSize.y * (1.0f - t)) / static_cast<float>(x + y),
                    6.0f);
}

CCObject* CCFadeOutBLTiles::copyInto(CCCopyHolder* holder) {
    CCFadeOutBLTiles* copy = detail::copyObjectFor<CCFadeOutBLTiles>(holder);
    CCCopyHolder inner{copy};
    CCFadeOutTRTiles::copyInto(&inner);
    return copy;
}

CCFadeOutUpTiles* CCFadeOutUpTiles::createWithSizeDuration(const ccGridSize& size, float duration) {
    auto* action = new CCFadeOutUpTiles();
    action->initWithSize(size, duration);
    return autoreleased(action);
}

float CCFadeOutUpTiles::testFunc(int, int y, float t) {
    const float n = m_gridSize.y * t;
    if (n == 0.0f) return 1.0f;
    return std::pow(y / n, 6.0f);
}

void CCFadeOutUpTiles::transformTile(int x, int y, float distance) {
    CCTiledGrid3D* grid = targetGrid();
    if (grid == nullptr) return;
    float c[12];
    restTile(x, y, c);
    const float sy = grid->getStep().y / 2 * (1.0f - distance);
    c[BLy] += sy;
    c[BRy] += sy;
    c[TLy] -= sy;
    c[TRy] -= sy;
    storeTile(x, y, c);
}

CCObject* CCFadeOutUpTiles::copyInto(CCCopyHolder* holder) {
    CCFadeOutUpTiles* copy = detail::copyObjectFor<CCFadeOutUpTiles>(holder);
    CCCopyHolder inner{copy};
    CCFadeOutTRTiles::copyInto(&inner);
    return copy;
}

CCFadeOutDownTiles* CCFadeOutDownTiles::createWithSizeDuration(const ccGridSize& size, float duration) {
    auto* action = new CCFadeOutDownTiles();
    action->initWithSize(size, duration);
    return autoreleased(action);
}

float CCFadeOutDownTiles::testFunc(int, int y, float t) {
    if (y == 0) return 1.0f;
    return std::pow(m_gridSize.y * (1.0f - t) / static_cast<float>(y), 6.0f);
}

CCObject* CCFadeOutDownTiles::copyInto(CCCopyHolder* holder) {
    CCFadeOutDownTiles* copy = detail::copyObjectFor<CCFadeOutDownTiles>(holder);
    CCCopyHolder inner{copy};
    CCFadeOutUpTiles::copyInto(&inner);
    return copy;
}

// ---------------------------------------------------------------------------------------------
// Turn off

CCTurnOffTiles* CCTurnOffTiles::createWithSizeDuration(const ccGridSize& size, float duration) {
    auto* action = new CCTurnOffTiles();
    action->initWithSeed(-1, size, duration);
    return autoreleased(action);
}

bool CCTurnOffTiles::initWithSeed(int seed, const ccGridSize& size, float duration) {
    initWithSize(size, duration);
    m_seed = seed;
    return true;
}

void CCTurnOffTiles::startWithTarget(CCNode* target) {
    CCTiledGrid3DAction::startWithTarget(target);
    m_order = shuffledOrder(m_seed, m_gridSize.x * m_gridSize.y);
}

void CCTurnOffTiles::update(float t) {
    const int count = static_cast<int>(m_order.size());
    const int rows = m_gridSize.y;
    if (rows <= 0) return;
    const int off = static_cast<int>(t * count);
    for (int k = 0; k < count; ++k) {
        const int cell = m_order[static_cast<std::size_t>(k)];
        const int x = cell / rows, y = cell % rows;
        float c[12] = {};
        if (k >= off) restTile(x, y, c);
        storeTile(x, y, c);
    }
}

CCObject* CCTurnOffTiles::copyInto(CCCopyHolder* holder) {
    CCTurnOffTiles* copy = detail::copyObjectFor<CCTurnOffTiles>(holder);
    CCCopyHolder inner{copy};
    CCTiledGrid3DAction::copyInto(&inner);
    copy->initWithSeed(m_seed, m_gridSize, getDuration());
    return copy;
}

// ---------------------------------------------------------------------------------------------
// Waves and jumps

bool CCWavesTiles3D::initWithWaves(int waves, float amplitude, const ccGridSize& size, float duration) {
    initWithSize(size, duration);
    m_waves = waves;
    m_amplitude = amplitude;
    m_amplitudeRate = 1.0f;
    return true;
}

void CCWavesTiles3D::update(float t) {
    for (int i = 0; i < m_gridSize.x; ++i) {
        for (int j = 0; j < m_gridSize.y; ++j) {
            float c[12];
            restTile(i, j, c);
            const float z =
                std::sin(t * kPi * m_waves * 2 + (c[BLx] + c[BLy]) * 0.01f) * m_amplitude * m_amplitudeRate;
            c[BLz] = c[BRz] = c[TLz] = c[TRz] = z;
            storeTile(i, j, c);
        }
    }
}

CCObject* CCWavesTiles3D::copyInto(CCCopyHolder* holder) {
    CCWavesTiles3D* copy = detail::copyObjectFor<CCWavesTiles3D>(holder);
    CCCopyHolder inner{copy};
    CCTiledGrid3DAction::copyInto(&inner);
    copy->initWithWaves(m_waves, m_amplitude, m_gridSize, getDuration());
    copy->m_amplitudeRate = m_amplitudeRate;
    return copy;
}

bool CCJumpTiles3D::initWithJumps(int jumps, float amplitude, const ccGridSize& size, float duration) {
    initWithSize(size, duration);
    m_jumps = jumps;
    m_amplitude = amplitude;
    m_amplitudeRate = 1.0f;
    return true;
}

void CCJumpTiles3D::update(float t) {
    const float s1 = std::sin(kPi * t * m_jumps * 2) * m_amplitude * m_amplitudeRate;
    const float s2 = std::sin(kPi * (t * m_jumps * 2 + 1)) * m_amplitude * m_amplitudeRate;
    for (int i = 0; i < m_gridSize.x; ++i) {
        for (int j = 0; j < m_gridSize.y; ++j) {
            float c[12];
            restTile(i, j, c);
            const float dz = (i + j) % 2 == 0 ? s1 : s2;
            for (int k : {BLz, BRz, TLz, TRz})
                c[k] += dz;
            storeTile(i, j, c);
        }
    }
}

CCObject* CCJumpTiles3D::copyInto(CCCopyHolder* holder) {
    CCJumpTiles3D* copy = detail::copyObjectFor<CCJumpTiles3D>(holder);
    CCCopyHolder inner{copy};
    CCTiledGrid3DAction::copyInto(&inner);
    copy->initWithJumps(m_jumps, m_amplitude, m_gridSize, getDuration());
    copy->m_amplitudeRate = m_amplitudeRate;
    return copy;
}

// ---------------------------------------------------------------------------------------------
// Split rows and columns

CCSplitRows* CCSplitRows::createWithRowsDuration(int rows, float duration) {
    auto* action = new CCSplitRows();
    action->initWithRows(rows, duration);
    return autoreleased(action);
}

bool CCSplitRows::initWithRows(int rows, float duration) {
    m_rows = rows;
    ccGridSize size;
    size.x = 1;
    size.y = rows;
    return initWithSize(size, duration);
}

void CCSplitRows::startWithTarget(CCNode* target) {
    CCTiledGrid3DAction::startWithTarget(target);
    m_winSize = CCDirector::getInstance()->getWinSizeInPixels();
}

void CCSplitRows::update(float t) {
    for (int j = 0; j < m_gridSize.y; ++j) {
        float c[12];
        restTile(0, j, c);
        const float direction = j % 2 == 0 ? -1.0f : 1.0f;
        for (int k : {BLx, BRx, TLx, TRx})
            c[k] += direction * m_winSize.width * t;
        storeTile(0, j, c);
    }
}

CCObject* CCSplitRows::copyInto(CCCopyHolder* holder) {
    CCSplitRows* copy = detail::copyObjectFor<CCSplitRows>(holder);
    CCCopyHolder inner{copy};
    CCTiledGrid3DAction::copyInto(&inner);
    copy->initWithRows(m_rows, getDuration());
    return copy;
}

CCSplitCols* CCSplitCols::createWithColumnsDuration(int columns, float duration) {
    auto* action = new CCSplitCols();
    action->initWithColumns(columns, duration);
    return autoreleased(action);
}

bool CCSplitCols::initWithColumns(int columns, float duration) {
    m_columns = columns;
    ccGridSize size;
    size.x = columns;
    size.y = 1;
    return initWithSize(size, duration);
}

void CCSplitCols::startWithTarget(CCNode* target) {
    CCTiledGrid3DAction::startWithTarget(target);
    m_winSize = CCDirector::getInstance()->getWinSizeInPixels();
}

void CCSplitCols::update(float t) {
    for (int i = 0; i < m_gridSize.x; ++i) {
        float c[12];
        restTile(i, 0, c);
        const float direction = i % 2 == 0 ? -1.0f : 1.0f;
        for (int k : {BLy, BRy, TLy, TRy})
            c[k] += direction * m_winSize.height * t;
        storeTile(i, 0, c);
    }
}

CCObject* CCSplitCols::copyInto(CCCopyHolder* holder) {
    CCSplitCols* copy = detail::copyObjectFor<CCSplitCols>(holder);
    CCCopyHolder inner{copy};
    CCTiledGrid3DAction::copyInto(&inner);
    copy->initWithColumns(m_columns, getDuration());
    return copy;
}

} // namespace kvengine
