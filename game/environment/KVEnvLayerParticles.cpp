#include "game/environment/KVEnvLayerParticles.h"

#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/effects/CCParticleExamples.h"
#include "engine/textures/CCTextureCache.h"

using namespace kvengine;

namespace {
const char* const kRequiredKeys[] = {
    "total_particles", "lifetime", "lifetime_variance", "size", "size_variance",
    "angle",           "speed",    "speed_variance"};
const char* const kPictureFolder = "Environment/hawaii/";
// More would only cost fill: the system's storage is made once at this size.
constexpr int kMaxParticles = 2000;
} // namespace

bool KVEnvLayerParticles::initWithDictionary(kvdata::Dict* dictionary) {
    KVEnvLayer::initWithDictionary(dictionary);
    m_kind = kParticles;
    for (const char* key : kRequiredKeys) {
        if (!kvdata::hasKey(dictionary, key)) {
            logProblem(std::string("no \"") + key + "\"");
            return false;
        }
    }
    const int total = kvdata::intAt(dictionary, "total_particles");
    const float life = kvdata::floatAt(dictionary, "lifetime");
    if (total <= 0 || total > kMaxParticles || !(life > 0.0f) || m_name == nullptr) {
        logProblem("needs a name, 1 to " + std::to_string(kMaxParticles) +
                   " particles and a lifetime above 0");
        return false;
    }
    auto* system = new CCParticleSnow();
    if (!system->initWithTotalParticles(static_cast<unsigned>(total))) {
        // The system released itself.
        logProblem("no memory for the particles");
        return false;
    }
    m_particles = system; // the reference of `new`
    setNode(system);
    const CCSize window = CCDirector::getInstance()->getWinSize();
    system->setScale(1.0f);
    system->setPosition(CCPoint(0, 0));
    system->setPosVar(CCPoint(window.width, 0));
    system->setLife(life);
    system->setLifeVar(kvdata::floatAt(dictionary, "lifetime_variance"));
    system->setStartSize(kvdata::floatAt(dictionary, "size"));
    system->setStartSizeVar(kvdata::floatAt(dictionary, "size_variance"));
    system->setGravity(CCPoint(0, 10));
    system->setAngle(kvdata::floatAt(dictionary, "angle"));
    if (kvdata::hasKey(dictionary, "angle_variance"))
        system->setAngleVar(kvdata::floatAt(dictionary, "angle_variance"));
    system->setSpeed(kvdata::floatAt(dictionary, "speed"));
    system->setSpeedVar(kvdata::floatAt(dictionary, "speed_variance"));
    system->setEmissionRate(static_cast<float>(total) / life);

    // A new string: the one read belongs to the environment file's tree.
    const std::string picture = kPictureFolder + m_name->text;
    m_name->release();
    m_name = new CCString(picture);
    useLayerPixelFormat();
    CCTexture2D* texture = CCTextureCache::getInstance()->addImage(picture.c_str());
    applySetupTexturePixelFormat();
    if (texture != nullptr)
        system->setTexture(texture);
    else
        logProblem("no particle picture");
    applyBlending(system);
    return true;
}

void KVEnvLayerParticles::updateLayer(float zoomStep) {
    if (m_particles != nullptr)
        m_particles->setStartSize(m_particles->getStartSize() + kGrowthPerZoomStep * zoomStep);
}

void KVEnvLayerParticles::cleanupBeforeDelete() {
    if (m_particles != nullptr) m_particles->release();
    m_particles = nullptr;
    KVEnvLayer::cleanupBeforeDelete();
}
