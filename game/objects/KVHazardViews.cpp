// The views of the vortex and of the geyser.
#include <cmath>

#include "engine/actions/CCRepeat.h"
#include "engine/actions/CCRotateTo.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/effects/CCParticleExamples.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/sprites/CCSprite.h"
#include "engine/textures/CCTextureCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/objects/KVGeyser.h"
#include "game/objects/KVGeyserV.h"
#include "game/objects/KVVortex.h"
#include "game/objects/KVVortexV.h"

using kvengine::CCNotificationCenter;
using kvengine::CCPoint;
using kvengine::CCSprite;

namespace {

constexpr float kPointsPerMetre = 32.0f;
constexpr float kDegreesPerRadian = 57.29578f;
constexpr const char* kVortexSheet = "low_sfx_51_ss";
// Seconds per full turn of each ring, outer first, and their depths.
constexpr float kRingTurnSeconds[KVVortexV::kRings] = {8.0f, 4.0f, 1.2f, 0.7f};
constexpr int kRingZ[KVVortexV::kRings] = {13, 12, 11, 10};

// Geyser particles.
constexpr float kParticlesPerSquareMetre = 5.0f;
constexpr float kStartSpeed = 100.0f;
constexpr float kSpeedPerPower = 100.0f;
constexpr float kLifeShare = 0.93f;
constexpr float kLifeVariance = 0.2f;

unsigned g_particleTotal = 0;
int g_geyserViews = 0;

unsigned particlesFor(const KVGeyser* geyser) {
    const float n = geyser->getWidth() * geyser->getHeight() * kParticlesPerSquareMetre;
    return n >= 1.0f && std::isfinite(n) ? static_cast<unsigned>(n) : 0u;
}

} // namespace

// ---- KVVortexV ----

bool KVVortexV::initWithActor(KVActor* model, KVActorViewHost* host) {
    if (model == nullptr || !model->isKindOf("KVVortex")) {
        kvengine::logDebugMessage("KVVortexV::initWithActor: the model is not a vortex");
        return false;
    }
    if (!KVActorV::initWithActor(model, host)) return false;
    kvengine::CCNode* sheet = host != nullptr ? host->viewSheet(kVortexSheet) : nullptr;
    if (sheet == nullptr) kvengine::logDebugMessage("KVVortexV: no sheet \"%s\" to draw in", kVortexSheet);
    const CCPoint at(model->positionX * kPointsPerMetre, model->positionY * kPointsPerMetre);
    for (int i = 0; i < kRings; ++i) {
        const std::string frame = "vortex-" + std::to_string(i) + ".png";
        CCSprite* ring = CCSprite::createWithSpriteFrameName(frame.c_str());
        if (ring == nullptr) {
            kvengine::logDebugMessage("KVVortexV: no frame %s", frame.c_str());
            return false;
        }
        ring->retain();
        m_rings[i] = ring;
        ring->setPosition(at);
        if (sheet != nullptr) sheet->addChildAtZ(ring, kRingZ[i]);
        ring->runAction(kvengine::CCRepeatForever::createWithAction(
            kvengine::CCRotateBy::createWithDurationAngle(kRingTurnSeconds[i], 360.0f)));
    }
    setSprite(m_rings[0]);
    return true;
}

CCSprite* KVVortexV::getRing(int index) const {
    return index >= 0 && index < kRings ? m_rings[index] : nullptr;
}

void KVVortexV::onRemoveActor(kvengine::CCNotification* notification) {
    retain();
    for (CCSprite* ring : m_rings)
        if (ring != nullptr && ring->getParent() != nullptr) ring->removeFromParent(true);
    if (m_attached) KVActorV::onRemoveActor(notification);
    release();
}

void KVVortexV::cleanupBeforeDelete() {
    for (CCSprite*& ring : m_rings) {
        if (ring != nullptr) ring->release();
        ring = nullptr;
    }
    KVActorV::cleanupBeforeDelete();
}

// ---- KVGeyserV ----

unsigned KVGeyserV::sharedParticleTotal() {
    return g_particleTotal;
}

int KVGeyserV::viewCount() {
    return g_geyserViews;
}

bool KVGeyserV::initWithActor(KVActor* model, KVActorViewHost* host) {
    if (model == nullptr || !model->isKindOf("KVGeyser")) {
        kvengine::logDebugMessage("KVGeyserV::initWithActor: the model is not a geyser");
        return false;
    }
    if (!KVActorV::initWithActor(model, host)) return false;
    auto* geyser = static_cast<KVGeyser*>(model);
    m_capacity = particlesFor(geyser);
    if (m_capacity == 0) {
        kvengine::logDebugMessage("KVGeyserV: a geyser too small for any particle");
        return false;
    }
    auto* emitter = new kvengine::CCParticleSnow();
    if (!emitter->initWithTotalParticles(m_capacity)) return false; // it released itself
    m_emitter = emitter;
    m_counted = true;
    g_geyserViews += 1;
    g_particleTotal += m_capacity;

    const float width = geyser->getWidth(), height = geyser->getHeight();
    const float a = geyser->getPushAngle();
    emitter->setRotation(90.0f - a * kDegreesPerRadian);
    const float turn = a - 1.5707964f;
    const float baseX = geyser->positionX + width / 2.0f * std::cos(turn);
    const float baseY = geyser->positionY + width / 2.0f * std::sin(turn);
    emitter->setPosition(CCPoint(baseX * kPointsPerMetre, baseY * kPointsPerMetre));
    emitter->setPosVar(CCPoint(width / 2.0f * kPointsPerMetre, 0.0f));
    emitter->setStartSize(5.0f);
    emitter->setStartSizeVar(1.0f);
    emitter->setGravity(CCPoint(0.0f, 10.0f));
    emitter->setAngle(90.0f);
    emitter->setAngleVar(1.0f);
    emitter->setSpeed(kStartSpeed);
    emitter->setSpeedVar(0.0f);
    const float life = height * kPointsPerMetre / kStartSpeed * kLifeShare;
    emitter->setLife(life);
    emitter->setLifeVar(kLifeVariance);
    emitter->setEmissionRate(life > 0.0f ? static_cast<float>(m_capacity) / life : 0.0f);
    kvengine::CCResourceIndex* index = kvengine::CCResourceIndex::getInstance();
    kvengine::CCTexture2D* texture = index->containsFileName("plankton.png")
                                         ? kvengine::CCTextureCache::getInstance()->addImage(
                                               index->pathForFileName("plankton.png").c_str())
                                         : nullptr;
    if (texture != nullptr)
        emitter->setTexture(texture);
    else
        kvengine::logDebugMessage("KVGeyserV: no picture plankton.png");
    emitter->setPositionType(kvengine::CCParticleSystem::kPositionTypeGrouped);
    emitter->setBlendAdditive(true);
    if (auto* layer = dynamic_cast<kvengine::CCNode*>(m_hostObject.get()))
        layer->addChild(emitter);
    else
        kvengine::logDebugMessage("KVGeyserV: no layer to show the plankton in");
    CCNotificationCenter::getInstance()->addObserver(this, notification_selector(KVGeyserV::onPostLoadGame),
                                                     EVENT_POST_LOAD_GAME);
    return true;
}

void KVGeyserV::onPostLoadGame(kvengine::CCNotification* notification) {
    (void)notification;
    if (m_emitter == nullptr || m_model == nullptr) return;
    auto* geyser = static_cast<KVGeyser*>(m_model.get());
    const float speed = geyser->getPower() * kSpeedPerPower;
    m_emitter->setSpeed(speed);
    m_emitter->setSpeedVar(0.0f);
    const float life = speed > 0.0f ? geyser->getHeight() * kPointsPerMetre / speed * kLifeShare : 0.0f;
    m_emitter->setLife(life);
    m_emitter->setLifeVar(kLifeVariance);
    unsigned limit = m_capacity;
    if (g_particleTotal > kParticleBudget) {
        // This emitter's share of the budget, in proportion to its capacity; at least one.
        const unsigned share = static_cast<unsigned>(static_cast<unsigned long long>(kParticleBudget) *
                                                     m_capacity / g_particleTotal);
        limit = share < 1u ? 1u : share;
    }
    m_emitter->setTotalParticles(limit);
    m_emitter->setEmissionRate(life > 0.0f ? static_cast<float>(limit) / life : 0.0f);
    m_emitter->resetSystem();
}

void KVGeyserV::onRemoveActor(kvengine::CCNotification* notification) {
    retain();
    if (m_emitter != nullptr && m_emitter->getParent() != nullptr) m_emitter->removeFromParent(true);
    if (m_attached) KVActorV::onRemoveActor(notification);
    release();
}

void KVGeyserV::cleanupBeforeDelete() {
    if (m_counted) {
        g_particleTotal -= m_capacity;
        g_geyserViews -= 1;
        m_counted = false;
    }
    CCNotificationCenter::getInstance()->removeObserver(this, nullptr);
    if (m_emitter != nullptr) {
        if (m_emitter->getParent() != nullptr) m_emitter->removeFromParent(true);
        m_emitter->release();
    }
    m_emitter = nullptr;
    KVActorV::cleanupBeforeDelete();
}
