#include "engine/effects/CCParticleExamples.h"

#include "engine/director/CCDirector.h"

namespace kvengine {

namespace {

// One preset's values, in the order they are applied. Positions are fractions of the window
// size plus a fixed offset in points; rates are capacity / rateDivisor (or a fixed rate when
// rateDivisor is 0).
struct Preset {
    float duration;
    CCPoint gravity;
    float speed, speedVar;
    float tangential, tangentialVar, radial, radialVar;
    float posFracX, posOffX, posFracY, posOffY; // node position = (W x fracX + offX, H x fracY + offY)
    float varFracX, varOffX, varOffY;           // position spread = (W x varFracX + varOffX, varOffY)
    float angle, angleVar;
    float life, lifeVar;
    float startSize, startSizeVar;
    float rate, rateDivisor;
    ccColor4F startColor, startColorVar, endColor, endColorVar;
    bool additive;
};

void apply(CCParticleSystem* system, const Preset& p, unsigned capacity) {
    CCSize win = CCDirector::getInstance()->getWinSize();
    system->setDuration(p.duration);
    system->setEmitterMode(CCParticleSystem::kModeGravity);
    system->setGravity(p.gravity);
    system->setSpeed(p.speed);
    system->setSpeedVar(p.speedVar);
    system->setRadialAccel(p.radial);
    system->setRadialAccelVar(p.radialVar);
    system->setTangentialAccel(p.tangential);
    system->setTangentialAccelVar(p.tangentialVar);
    system->setPosition(CCPoint(win.width * p.posFracX + p.posOffX, win.height * p.posFracY + p.posOffY));
    system->setPosVar(CCPoint(win.width * p.varFracX + p.varOffX, p.varOffY));
    system->setAngle(p.angle);
    system->setAngleVar(p.angleVar);
    system->setLife(p.life);
    system->setLifeVar(p.lifeVar);
    system->setStartSize(p.startSize);
    system->setStartSizeVar(p.startSizeVar);
    system->setEndSize(CCParticleSystem::kStartSizeEqualToEndSize);
    system->setEmissionRate(p.rateDivisor != 0.0f ? static_cast<float>(capacity) / p.rateDivisor : p.rate);
    system->setStartColor(p.startColor);
    system->setStartColorVar(p.startColorVar);
    system->setEndColor(p.endColor);
    system->setEndColorVar(p.endColorVar);
    system->setBlendAdditive(p.additive);
}

constexpr float kForever = CCParticleSystem::kDurationInfinity;
constexpr ccColor4F kNone{0, 0, 0, 0};
constexpr ccColor4F kBlack{0, 0, 0, 1};

} // namespace

#define CC_PRESET_INIT(Name, ...)                                                                            \
    bool Name::initWithTotalParticles(unsigned capacity) {                                                   \
        if (!CCParticleSystemQuad::initWithTotalParticles(capacity)) return false;                           \
        static const Preset preset = __VA_ARGS__;                                                            \
        apply(this, preset, capacity);                                                                       \
        return true;                                                                                         \
    }

CC_PRESET_INIT(CCParticleSnow, {kForever, {0, -1},
                                5,        1,
                                0,        1,
                                0,        1,
                                0.5f,     0,
                                1,        10,
                                0.5f,     0,
                                0,        -90,
                                5,        45,
                                15,       10,
                                5,        10,
                                0,        {1, 1, 1, 1},
                                kNone,    {1, 1, 1, 0},
                                kNone,    false})
CC_PRESET_INIT(CCParticleDownpour, {kForever, {10, -10},
                                    130,      30,
                                    0,        1,
                                    0,        1,
                                    0.5f,     0,
                                    1,        0,
                                    0.5f,     0,
                                    0,        -90,
                                    5,        4.5f,
                                    0,        4,
                                    2,        20,
                                    0,        {0.7f, 0.8f, 1, 1},
                                    kNone,    {0.7f, 0.8f, 1, 0.5f},
                                    kNone,    false})
CC_PRESET_INIT(CCParticleHaze, {kForever,
                                {0, 0},
                                25,
                                10,
                                0,
                                0,
                                0,
                                0,
                                0.5f,
                                0,
                                0,
                                0,
                                0,
                                20,
                                0,
                                90,
                                5,
                                4,
                                1,
                                60,
                                10,
                                0,
                                4,
                                {0.8f, 0.8f, 0.8f, 1},
                                {0.02f, 0.02f, 0.02f, 0},
                                kBlack,
                                kNone,
                                false})
CC_PRESET_INIT(CCParticleBurst, {0.1f,
                                 {0, 0},
                                 70,
                                 40,
                                 0,
                                 0,
                                 0,
                                 0,
                                 0.5f,
                                 0,
                                 0.5f,
                                 0,
                                 0,
                                 0,
                                 0,
                                 90,
                                 360,
                                 5,
                                 2,
                                 15,
                                 10,
                                 0,
                                 0.1f,
                                 {0.7f, 0.1f, 0.2f, 1},
                                 {0.5f, 0.5f, 0.5f, 0},
                                 {0.5f, 0.5f, 0.5f, 0},
                                 {0.5f, 0.5f, 0.5f, 0},
                                 false})
CC_PRESET_INIT(CCParticleSwirl, {kForever,
                                 {0, 0},
                                 150,
                                 0,
                                 45,
                                 0,
                                 -380,
                                 0,
                                 0.5f,
                                 0,
                                 0.5f,
                                 0,
                                 0,
                                 0,
                                 0,
                                 90,
                                 0,
                                 12,
                                 0,
                                 20,
                                 0,
                                 0,
                                 12,
                                 {0.5f, 0.5f, 0.5f, 1},
                                 {0.5f, 0.5f, 0.5f, 0},
                                 {0.5f, 0.5f, 0.5f, 1},
                                 {0.5f, 0.5f, 0.5f, 0},
                                 false})
CC_PRESET_INIT(CCParticleComet, {kForever,
                                 {-200, 200},
                                 15,
                                 5,
                                 0,
                                 0,
                                 0,
                                 0,
                                 0.5f,
                                 0,
                                 0.5f,
                                 0,
                                 0,
                                 0,
                                 0,
                                 90,
                                 360,
                                 2,
                                 1,
                                 60,
                                 10,
                                 0,
                                 2,
                                 {0.2f, 0.4f, 0.7f, 1},
                                 {0, 0, 0.2f, 0.1f},
                                 kBlack,
                                 kNone,
                                 true})
CC_PRESET_INIT(CCParticleBloom, {kForever,
                                 {0, 0},
                                 80,
                                 10,
                                 15,
                                 0,
                                 -60,
                                 0,
                                 0.5f,
                                 0,
                                 0.5f,
                                 0,
                                 0,
                                 0,
                                 0,
                                 90,
                                 360,
                                 4,
                                 1,
                                 30,
                                 10,
                                 0,
                                 4,
                                 {0.5f, 0.5f, 0.5f, 1},
                                 {0.5f, 0.5f, 0.5f, 0.5f},
                                 kBlack,
                                 kNone,
                                 true})
CC_PRESET_INIT(CCParticleWhirl,
               {kForever, {0, 0}, 60,    10,  80,  0, -80, 0,  0.5f, 0, 0.5f, 0,
                0,        0,      0,     90,  360, 4, 1,   37, 10,   0, 4,    {0.12f, 0.25f, 0.76f, 1},
                kNone,    kBlack, kNone, true})
CC_PRESET_INIT(CCParticleGlow,
               {kForever, {0, 0}, 20,    5,   0,   0, 0,    0,  0.5f, 0, 0.5f, 0,
                0,        0,      0,     90,  360, 1, 0.5f, 30, 10,   0, 1,    {0.76f, 0.25f, 0.12f, 1},
                kNone,    kBlack, kNone, true})
CC_PRESET_INIT(CCParticleFountain, {kForever,
                                    {0, -90},
                                    180,
                                    50,
                                    0,
                                    0,
                                    0,
                                    0,
                                    0.5f,
                                    0,
                                    0.5f,
                                    0,
                                    0,
                                    0,
                                    0,
                                    90,
                                    20,
                                    3.5f,
                                    1,
                                    8,
                                    2,
                                    0,
                                    3.5f,
                                    {0.5f, 0.5f, 0.5f, 1},
                                    {0.5f, 0.5f, 0.5f, 0.1f},
                                    {0.1f, 0.1f, 0.1f, 0.2f},
                                    {0.1f, 0.1f, 0.1f, 0.2f},
                                    false})
CC_PRESET_INIT(CCParticleFlame,
               {kForever, {0, 0}, 60,    20,  0,  0, 0,     0,  0.5f, 0, 0, 60,
                0,        40,     20,    90,  10, 3, 0.25f, 54, 10,   0, 3, {0.76f, 0.25f, 0.12f, 1},
                kNone,    kBlack, kNone, true})

} // namespace kvengine
