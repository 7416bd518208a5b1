// The classes that data may name, registered with the class-name factory at start. This is the one
// file that knows every creatable class, so the factory itself stays in game/world, below them.
#include "game/world/KVObjectFactory.h"

#include "game/attacks/KVAOEAttack.h"
#include "game/attacks/KVAOEAttackV.h"
#include "game/attacks/KVDash.h"
#include "game/attacks/KVDashV.h"
#include "game/attacks/KVProjectile.h"
#include "game/attacks/KVProjectileV.h"
#include "game/environment/KVEnvLayerAnimationSvg.h"
#include "game/environment/KVEnvLayerAnimationTmx.h"
#include "game/environment/KVEnvLayerCaustics.h"
#include "game/environment/KVEnvLayerMain.h"
#include "game/environment/KVEnvLayerParticles.h"
#include "game/environment/KVEnvLayerSprite.h"
#include "game/environment/KVEnvLayerSpriteAnim.h"
#include "game/environment/KVEnvLayerTmx.h"
#include "game/objects/KVAnchor.h"
#include "game/objects/KVAnchorV.h"
#include "game/objects/KVCoconut.h"
#include "game/objects/KVCoconutV.h"
#include "game/objects/KVFishBomb.h"
#include "game/objects/KVFishBombV.h"
#include "game/objects/KVGeyser.h"
#include "game/objects/KVGeyserV.h"
#include "game/objects/KVHiddenStar.h"
#include "game/objects/KVHiddenStarV.h"
#include "game/objects/KVMapBorder.h"
#include "game/objects/KVPearlV.h"
#include "game/objects/KVPickupHelmet.h"
#include "game/objects/KVPickupHelmetV.h"
#include "game/objects/KVPowerupPickupV.h"
#include "game/objects/KVPowerupSpawner.h"
#include "game/objects/KVSpawnEvent.h"
#include "game/objects/KVSpawner.h"
#include "game/objects/KVSpikyBall.h"
#include "game/objects/KVSpikyBallV.h"
#include "game/objects/KVSpikyWall.h"
#include "game/objects/KVStickyWall.h"
#include "game/objects/KVTreasureChest.h"
#include "game/objects/KVTreasureChestV.h"
#include "game/objects/KVTrigger.h"
#include "game/objects/KVTriggerV.h"
#include "game/objects/KVVortex.h"
#include "game/objects/KVVortexV.h"
#include "game/pawns/KVCoconutCrab.h"
#include "game/pawns/KVCoconutCrabEye.h"
#include "game/pawns/KVCrab.h"
#include "game/pawns/KVCrustacean.h"
#include "game/pawns/KVCrustaceanV.h"
#include "game/pawns/KVKelvoAI.h"
#include "game/pawns/KVKelvoPlayer.h"
#include "game/pawns/KVPawnAI.h"
#include "game/powerups/KVKraken.h"
#include "game/powerups/KVPowerupKinds.h"
#include "game/tutorial/KVHelpCases.h"
#include "game/views/KVCoconutCrabV.h"
#include "game/views/KVHitV.h"
#include "game/views/KVKelvoV.h"
#include "game/views/KVKrakenV.h"
#include "game/views/KVPawnV.h"
#include "game/views/KVPuffV.h"
#include "game/world/KVActorV.h"

namespace {

struct Row {
    const char* className;
    KVObjectFactory::Creator creator;
};

// In registration order. A class joins this table when it is built; views end in "V".
const Row kGameClasses[] = {
    {"KVActorV", &KVObjectFactory::creatorOf<KVActorV>},
    {"KVCrab", &KVObjectFactory::creatorOf<KVCrab>},
    {"KVEnvLayerMain", &KVObjectFactory::creatorOf<KVEnvLayerMain>},
    {"KVEnvLayerTmx", &KVObjectFactory::creatorOf<KVEnvLayerTmx>},
    {"KVEnvLayerSprite", &KVObjectFactory::creatorOf<KVEnvLayerSprite>},
    {"KVEnvLayerSpriteAnim", &KVObjectFactory::creatorOf<KVEnvLayerSpriteAnim>},
    {"KVEnvLayerCaustics", &KVObjectFactory::creatorOf<KVEnvLayerCaustics>},
    {"KVEnvLayerParticles", &KVObjectFactory::creatorOf<KVEnvLayerParticles>},
    {"KVEnvLayerAnimationTmx", &KVObjectFactory::creatorOf<KVEnvLayerAnimationTmx>},
    {"KVEnvLayerAnimationSvg", &KVObjectFactory::creatorOf<KVEnvLayerAnimationSvg>},
    {"KVCoconut", &KVObjectFactory::creatorOf<KVCoconut>},
    {"KVCoconutV", &KVObjectFactory::creatorOf<KVCoconutV>},
    {"KVHitV", &KVObjectFactory::creatorOf<KVHitV>},
    {"KVPuffV", &KVObjectFactory::creatorOf<KVPuffV>},
    {"KVSpikyBall", &KVObjectFactory::creatorOf<KVSpikyBall>},
    {"KVSpikyBallV", &KVObjectFactory::creatorOf<KVSpikyBallV>},
    {"KVSpikyWall", &KVObjectFactory::creatorOf<KVSpikyWall>},
    {"KVStickyWall", &KVObjectFactory::creatorOf<KVStickyWall>},
    {"KVAnchor", &KVObjectFactory::creatorOf<KVAnchor>},
    {"KVAnchorV", &KVObjectFactory::creatorOf<KVAnchorV>},
    {"KVMapBorder", &KVObjectFactory::creatorOf<KVMapBorder>},
    {"KVVortex", &KVObjectFactory::creatorOf<KVVortex>},
    {"KVVortexV", &KVObjectFactory::creatorOf<KVVortexV>},
    {"KVGeyser", &KVObjectFactory::creatorOf<KVGeyser>},
    {"KVGeyserV", &KVObjectFactory::creatorOf<KVGeyserV>},
    {"KVPowerupSpawner", &KVObjectFactory::creatorOf<KVPowerupSpawner>},
    {"KVPowerupPickupV", &KVObjectFactory::creatorOf<KVPowerupPickupV>},
    {"KVPowerup", &KVObjectFactory::creatorOf<KVPowerup>},
    {"KVPowerupEnergyDrink", &KVObjectFactory::creatorOf<KVPowerupEnergyDrink>},
    {"KVPowerupMaguroSushi", &KVObjectFactory::creatorOf<KVPowerupMaguroSushi>},
    {"KVPowerupSpikyShell", &KVObjectFactory::creatorOf<KVPowerupSpikyShell>},
    {"KVPowerupNinjaLog", &KVObjectFactory::creatorOf<KVPowerupNinjaLog>},
    {"KVPowerupShuriken", &KVObjectFactory::creatorOf<KVPowerupShuriken>},
    {"KVPearlV", &KVObjectFactory::creatorOf<KVPearlV>},
    {"KVTrigger", &KVObjectFactory::creatorOf<KVTrigger>},
    {"KVTriggerV", &KVObjectFactory::creatorOf<KVTriggerV>},
    {"KVSpawner", &KVObjectFactory::creatorOf<KVSpawner>},
    {"KVSpawnEvent", &KVObjectFactory::creatorOf<KVSpawnEvent>},
    {"KVKelvoPlayer", &KVObjectFactory::creatorOf<KVKelvoPlayer>},
    {"KVKelvoAI", &KVObjectFactory::creatorOf<KVKelvoAI>},
    {"KVPawnAI", &KVObjectFactory::creatorOf<KVPawnAI>},
    {"KVAOEAttack", &KVObjectFactory::creatorOf<KVAOEAttack>},
    {"KVDash", &KVObjectFactory::creatorOf<KVDash>},
    {"KVAOEAttackV", &KVObjectFactory::creatorOf<KVAOEAttackV>},
    {"KVDashV", &KVObjectFactory::creatorOf<KVDashV>},
    {"KVProjectile", &KVObjectFactory::creatorOf<KVProjectile>},
    {"KVDistanceAttackProjectile", &KVObjectFactory::creatorOf<KVDistanceAttackProjectile>},
    {"KVShuriken", &KVObjectFactory::creatorOf<KVShuriken>},
    {"KVDistanceAttackProjectileV", &KVObjectFactory::creatorOf<KVDistanceAttackProjectileV>},
    {"KVShurikenV", &KVObjectFactory::creatorOf<KVShurikenV>},
    {"KVPawnV", &KVObjectFactory::creatorOf<KVPawnV>},
    {"KVKelvoV", &KVObjectFactory::creatorOf<KVKelvoV>},
    {"KVCrustacean", &KVObjectFactory::creatorOf<KVCrustacean>},
    {"KVHermit", &KVObjectFactory::creatorOf<KVHermit>},
    {"KVShrimp", &KVObjectFactory::creatorOf<KVShrimp>},
    {"KVCrustaceanV", &KVObjectFactory::creatorOf<KVCrustaceanV>},
    {"KVCrabV", &KVObjectFactory::creatorOf<KVCrabV>},
    {"KVHermitV", &KVObjectFactory::creatorOf<KVHermitV>},
    {"KVShrimpV", &KVObjectFactory::creatorOf<KVShrimpV>},
    {"KVFishBomb", &KVObjectFactory::creatorOf<KVFishBomb>},
    {"KVFishBombV", &KVObjectFactory::creatorOf<KVFishBombV>},
    {"KVCoconutCrab", &KVObjectFactory::creatorOf<KVCoconutCrab>},
    {"KVCoconutCrabEye", &KVObjectFactory::creatorOf<KVCoconutCrabEye>},
    {"KVCoconutCrabMouth", &KVObjectFactory::creatorOf<KVCoconutCrabMouth>},
    {"KVCoconutCrabV", &KVObjectFactory::creatorOf<KVCoconutCrabV>},
    {"KVCoconutCrabEyeV", &KVObjectFactory::creatorOf<KVCoconutCrabEyeV>},
    {"KVCoconutCrabMouthV", &KVObjectFactory::creatorOf<KVCoconutCrabMouthV>},
    {"KVKraken", &KVObjectFactory::creatorOf<KVKraken>},
    {"KVKrakenV", &KVObjectFactory::creatorOf<KVKrakenV>},
    {"KVTreasureChest", &KVObjectFactory::creatorOf<KVTreasureChest>},
    {"KVTreasureChestV", &KVObjectFactory::creatorOf<KVTreasureChestV>},
    {"KVPickupHelmet", &KVObjectFactory::creatorOf<KVPickupHelmet>},
    {"KVPickupHelmetV", &KVObjectFactory::creatorOf<KVPickupHelmetV>},
    {"KVHiddenStar", &KVObjectFactory::creatorOf<KVHiddenStar>},
    {"KVHiddenStarV", &KVObjectFactory::creatorOf<KVHiddenStarV>},
    {"KVHelpCaseFrigateAttack", &KVObjectFactory::creatorOf<KVHelpCaseFrigateAttack>},
    {"KVHelpCaseDestroyerAttack", &KVObjectFactory::creatorOf<KVHelpCaseDestroyerAttack>},
    {"KVHelpCaseEnemyTurn", &KVObjectFactory::creatorOf<KVHelpCaseEnemyTurn>},
    {"KVHelpCaseDash", &KVObjectFactory::creatorOf<KVHelpCaseDash>},
    {"KVHelpCaseObjective", &KVObjectFactory::creatorOf<KVHelpCaseObjective>},
};

} // namespace

void KVObjectFactory::registerGameClasses() {
    for (const Row& row : kGameClasses)
        registerCreator(row.className, row.creator);
}
