#pragma once

// Actions that move, hide or reorder the separate tiles of a CCTiledGrid3D. Random offsets and
// orders come from the engine's seedable random source.

#include <vector>

#include "engine/base/CCGeometry.h"
#include "engine/effects/CCGridAction.h"

namespace kvengine {

/// Every tile jitters around its rest place by up to range pixels at every step.
class CCShakyTiles3D : public CCTiledGrid3DAction {
public:
    /// A range of 0 or less leaves the tiles at rest.
    bool initWithRange(int range, bool shakeZ, const ccGridSize& size, float duration);
    void update(float t) override;
    CCObject* copyInto(CCCopyHolder* holder) override;

protected:
    void shakeAll();
    int m_range = 0;
    bool m_shakeZ = false;
};

/// As the shaky tiles, but the tiles move once, on the first update, and stay there.
class CCShatteredTiles3D : public CCShakyTiles3D {
public:
    bool initWithRange(int range, bool shatterZ, const ccGridSize& size, float duration);
    void update(float t) override;
    CCObject* copyInto(CCCopyHolder* holder) override;

private:
    bool m_once = false;
};

/// Every tile slides from its place to the place of another, in a shuffled order.
class CCShuffleTiles : public CCTiledGrid3DAction {
public:
    /// seed -1 keeps the random source's sequence; any other value restarts it at start.
    bool initWithSeed(int seed, const ccGridSize& size, float duration);
    void startWithTarget(CCNode* target) override;
    void update(float t) override;
    CCObject* copyInto(CCCopyHolder* holder) override;

    const std::vector<int>& order() const { return m_order; }

private:
    struct Tile {
        CCPoint position;
        CCPoint startPosition;
        int deltaX = 0, deltaY = 0;
    };
    int m_seed = -1;
    std::vector<int> m_order;
    std::vector<Tile> m_tiles;
};

/// Tiles shrink away from the top-right corner towards the bottom-left as time goes on.
class CCFadeOutTRTiles : public CCTiledGrid3DAction {
public:
    static CCFadeOutTRTiles* createWithSizeDuration(const ccGridSize& size, float duration);
    void update(float t) override;
    CCObject* copyInto(CCCopyHolder* holder) override;
    /// 1 or more: full size; 0: hidden; in between: shrunk.
    virtual float testFunc(int x, int y, float t);
    virtual void transformTile(int x, int y, float distance);
    void turnOnTile(int x, int y);
    void turnOffTile(int x, int y);
};

class CCFadeOutBLTiles : public CCFadeOutTRTiles {
public:
    static CCFadeOutBLTiles* createWithSizeDuration(const ccGridSize& size, float duration);
    float testFunc(int x, int y, float t) override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

class CCFadeOutUpTiles : public CCFadeOutTRTiles {
public:
    static CCFadeOutUpTiles* createWithSizeDuration(const ccGridSize& size, float duration);
    float testFunc(int x, int y, float t) override;
    void transformTile(int x, int y, float distance) override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

class CCFadeOutDownTiles : public CCFadeOutUpTiles {
public:
    static CCFadeOutDownTiles* createWithSizeDuration(const ccGridSize& size, float duration);
    float testFunc(int x, int y, float t) override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

/// Tiles switch off one by one in a shuffled order.
class CCTurnOffTiles : public CCTiledGrid3DAction {
public:
    /// The seed is -1: the shuffle continues the random source's sequence.
    static CCTurnOffTiles* createWithSizeDuration(const ccGridSize& size, float duration);
    bool initWithSeed(int seed, const ccGridSize& size, float duration);
    void startWithTarget(CCNode* target) override;
    void update(float t) override;
    CCObject* copyInto(CCCopyHolder* holder) override;

    const std::vector<int>& order() const { return m_order; }

private:
    int m_seed = -1;
    std::vector<int> m_order;
};

/// Tiles rise and fall in waves along the diagonal.
class CCWavesTiles3D : public CCTiledGrid3DAction {
public:
    bool initWithWaves(int waves, float amplitude, const ccGridSize& size, float duration);
    void update(float t) override;
    CCObject* copyInto(CCCopyHolder* holder) override;

private:
    int m_waves = 0;
    float m_amplitude = 0;
    float m_amplitudeRate = 1.0f;
};

/// Tiles jump in a checkerboard pattern.
class CCJumpTiles3D : public CCTiledGrid3DAction {
public:
    bool initWithJumps(int jumps, float amplitude, const ccGridSize& size, float duration);
    void update(float t) override;
    CCObject* copyInto(CCCopyHolder* holder) override;

private:
    int m_jumps = 0;
    float m_amplitude = 0;
    float m_amplitudeRate = 1.0f;
};

/// Rows slide out sideways, alternately left and right.
class CCSplitRows : public CCTiledGrid3DAction {
public:
    static CCSplitRows* createWithRowsDuration(int rows, float duration);
    bool initWithRows(int rows, float duration);
    void startWithTarget(CCNode* target) override;
    void update(float t) override;
    CCObject* copyInto(CCCopyHolder* holder) override;

private:
    int m_rows = 0;
    CCSize m_winSize;
};

/// Columns slide out vertically, alternately down and up.
class CCSplitCols : public CCTiledGrid3DAction {
public:
    static CCSplitCols* createWithColumnsDuration(int columns, float duration);
    bool initWithColumns(int columns, float duration);
    void startWithTarget(CCNode* target) override;
    void update(float t) override;
    CCObject* copyInto(CCCopyHolder* holder) override;

private:
    int m_columns = 0;
    CCSize m_winSize;
};

/// Shuffles values in place: for i from n - 1 down to 0, swaps values[i] with values[rand % (i + 1)].
void shuffleIntegers(std::vector<int>& values);

} // namespace kvengine
