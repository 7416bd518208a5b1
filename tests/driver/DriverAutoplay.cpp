#include "DriverAutoplay.h"

#include <cmath>
#include <limits>

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCRandom.h"
#include "engine/base/CCString.h"
#include "engine/director/CCScene.h"
#include "game/app/KVGlobalNames.h"
#include "game/chatter/KVChatterLightTextView.h"
#include "game/chatter/KVChatterManager.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVDialogueService.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/model/KVGameModel.h"
#include "game/objects/KVTrigger.h"
#include "game/pawns/KVAIBrain.h"
#include "game/pawns/KVKelvoPlayer.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVPawnAIController.h"
#include "game/pawns/KVPawnManager.h"
#include "game/pawns/KVTurnManager.h"
#include "game/world/KVRunningMission.h"

using kvengine::CCMutableArray;
using kvengine::CCPoint;

namespace kvdriver {

namespace {

constexpr float kDegrees = 0.0174532925f;
// Headings tried when the way to the goal is blocked, turned from the goal's bearing.
constexpr float kFanDegrees[] = {20.0f,  -20.0f,  40.0f,  -40.0f,  60.0f,  -60.0f,  80.0f, -80.0f,
                                 100.0f, -100.0f, 130.0f, -130.0f, 160.0f, -160.0f, 180.0f};
// Shares of the full leg tried along each heading.
constexpr float kLegShares[] = {1.0f, 0.5f};
// How far a launch of the player's side strays from the brain's choice.
constexpr float kAimWanderDegrees = 3.0f;
constexpr float kPowerWander = 0.1f;

/// Where the autoplay brain heads when nothing is at hand: a point, and the actor there (null for
/// none) that may end a line of sight. A pawn goal is charged at full power; a reach goal is
/// launched at just enough power to stop on it.
struct Goal {
    KVActor* actor = nullptr;
    KVPawn* pawn = nullptr;
    float x = 0.0f;
    float y = 0.0f;
    bool reach = false;
};

// The enabled victory trigger of a reach mission.
bool findVictoryTrigger(Goal& goal) {
    KVGameSetup* setup = KVGameSetup::getInstance();
    kvengine::CCString* mission = setup->getMissionName();
    kvdata::Dict* definition =
        mission != nullptr ? KVGameParameters::getInstance()->findMissionDefinition(mission) : nullptr;
    kvdata::Dict* victory = kvdata::dictAt(definition, "victory_condition");
    if (kvdata::textAt(victory, "condition") != "KelvoReach") return false;
    const std::string name = kvdata::textAt(victory, "triggerName");
    auto* running = dynamic_cast<KVRunningMission*>(setup->getCurrentGameModel());
    CCMutableArray<KVObject*>* actors = running != nullptr ? running->getMissionActors() : nullptr;
    if (actors == nullptr) return false;
    for (KVObject* object : *actors) {
        auto* trigger = dynamic_cast<KVTrigger*>(object);
        if (trigger == nullptr || !trigger->isEnabled() || trigger->getName() == nullptr ||
            trigger->getName()->text != name)
            continue;
        goal.actor = trigger;
        goal.pawn = nullptr;
        trigger->getPosition(&goal.x, &goal.y);
        goal.reach = true;
        return true;
    }
    return false;
}

// The nearest opponent of `pawn` that can be hurt, however far.
bool findNearestOpponent(KVPawn* pawn, float px, float py, Goal& goal) {
    KVPawnManager* manager = KVPawnManager::getInstance();
    CCMutableArray<KVPawn*>* opponents =
        pawn->isEnemy() ? manager->getPlayerPawns() : manager->getEnemyPawns();
    if (opponents == nullptr) return false;
    float best = std::numeric_limits<float>::max();
    for (KVPawn* opponent : *opponents) {
        if (opponent == pawn || !opponent->isDamageable()) continue;
        float x = 0.0f, y = 0.0f;
        opponent->getPosition(&x, &y);
        const float distance = std::hypot(x - px, y - py);
        if (distance >= best) continue;
        best = distance;
        goal.actor = opponent;
        goal.pawn = opponent;
        goal.x = x;
        goal.y = y;
        goal.reach = false;
    }
    return goal.pawn != nullptr;
}

/// The computer's brain, which walks toward the goal instead of skipping a move it could make.
class AutoplayBrain : public KVAIBrain {
public:
    CC_DECLARE_CLASS_NAME(AutoplayBrain, KVAIBrain)

    void act() override {
        if (decide(false) || advance()) return;
        kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_SKIP_TURN);
    }

private:
    bool advance();
};

bool AutoplayBrain::advance() {
    KVPawnAIController* controller = getController();
    KVPawn* pawn = controller != nullptr ? controller->getPawn() : nullptr;
    if (pawn == nullptr || pawn->getStamina() <= 0) return false;
    float px = 0.0f, py = 0.0f;
    pawn->getPosition(&px, &py);
    Goal goal;
    if (!findVictoryTrigger(goal) && !findNearestOpponent(pawn, px, py, goal)) return false;
    const float dx = goal.x - px, dy = goal.y - py;
    const float distance = std::hypot(dx, dy);
    const float powerPerMetre = pawn->getLaunchPowerForDistance(1.0f);
    if (!(distance > 0.0f) || !(powerPerMetre > 0.0f)) return false;
    const float reach = 1.0f / powerPerMetre;
    auto powerFor = [powerPerMetre](float metres) { return std::fmin(1.0f, metres * powerPerMetre); };
    const float halfWidth = (pawn->getRadius() - 1.0f) * KVPawn::kMetresPerPixel;

    if (controller->hasClearLineOfSight(halfWidth, goal.actor, px, py, goal.x, goal.y)) {
        controller->requestLaunch(goal.reach ? powerFor(distance) : 1.0f, dx, dy);
        return true;
    }
    CCPoint direction;
    float power = 0.0f;
    if (goal.pawn != nullptr && controller->findLaunchForTarget(goal.pawn, &direction, &power)) {
        controller->requestLaunch(power, direction.x, direction.y);
        return true;
    }
    // The clear leg that ends nearest to the goal; a leg from whose end the goal is in sight
    // counts a full launch nearer.
    float bestScore = std::numeric_limits<float>::max();
    CCPoint bestDirection;
    float bestLength = 0.0f;
    const float leg = std::fmin(reach, distance);
    for (float degrees : kFanDegrees) {
        const float c = std::cos(degrees * kDegrees), s = std::sin(degrees * kDegrees);
        const float ux = (dx * c - dy * s) / distance;
        const float uy = (dx * s + dy * c) / distance;
        for (float share : kLegShares) {
            const float length = leg * share;
            const float bx = px + ux * length, by = py + uy * length;
            if (!controller->hasClearLineOfSight(halfWidth, nullptr, px, py, bx, by)) continue;
            float score = std::hypot(goal.x - bx, goal.y - by);
            if (controller->hasClearLineOfSight(halfWidth, goal.actor, bx, by, goal.x, goal.y))
                score -= reach;
            if (score < bestScore) {
                bestScore = score;
                bestDirection = CCPoint(ux, uy);
                bestLength = length;
            }
        }
    }
    if (!(bestLength > 0.0f)) return false;
    controller->requestLaunch(powerFor(bestLength), bestDirection.x, bestDirection.y);
    return true;
}

class AutoplayController : public KVPawnAIController {
public:
    CC_DECLARE_CLASS_NAME(AutoplayController, KVPawnAIController)

    /// The brain's aim wanders a little, drawn from the game's random numbers, so that each
    /// --seed plays its own match: up to 3 degrees either way and up to a tenth less power.
    void requestLaunch(float power, float dx, float dy) override {
        const float turn = kvengine::CCRandom::randomMinus1To1() * kAimWanderDegrees * kDegrees;
        const float c = std::cos(turn), s = std::sin(turn);
        KVPawnAIController::requestLaunch(power * (1.0f - kPowerWander * kvengine::CCRandom::random0To1()),
                                          dx * c - dy * s, dx * s + dy * c);
    }

protected:
    KVAIBrain* createBrain() override { return new AutoplayBrain(); }
};

KVPawnController* makeAutoplayController() {
    return new AutoplayController();
}

} // namespace

void startAutoplay() {
    KVKelvoPlayer::setControllerMaker(&makeAutoplayController);
}

void stopAutoplay() {
    KVKelvoPlayer::setControllerMaker(nullptr);
}

bool isDialogueWaitingForTap() {
    KVDialogueService* dialogues = KVDialogueService::existing();
    return dialogues != nullptr && dialogues->isChatterRunning() && !dialogues->isInputCooldown();
}

bool dialogueTapPoint(CCPoint& world) {
    auto* chatter = dynamic_cast<KVChatterManager*>(KVDialogueService::existing());
    kvengine::CCScene* scene = chatter != nullptr ? chatter->getDialogueScene() : nullptr;
    kvengine::CCNode* view =
        scene != nullptr ? scene->getChildByTag(KVChatterManager::kTextViewTag) : nullptr;
    // Both kinds of text view keep their box under the same tag.
    kvengine::CCNode* box = view != nullptr ? view->getChildByTag(KVChatterLightTextView::kBoxTag) : nullptr;
    if (box == nullptr || !box->isVisible()) return false;
    const kvengine::CCSize size = box->getContentSize();
    world = box->convertToWorldSpace(CCPoint(size.width * 0.5f, size.height * 0.5f));
    return true;
}

std::string AutoplayHand::update() {
    auto* running = dynamic_cast<KVRunningMission*>(KVGameSetup::getInstance()->getCurrentGameModel());
    auto* model = dynamic_cast<KVGameModel*>(KVGameSetup::getInstance()->getCurrentGameModel());
    KVTurnManager* turns = model != nullptr ? model->getTurnManager() : nullptr;
    KVPawn* pawn = running != nullptr ? running->getCurrentPawn() : nullptr;
    KVDialogueService* dialogues = KVDialogueService::existing();
    const bool stalled = turns != nullptr && pawn != nullptr && !pawn->isEnemy() && !pawn->isAIDriven() &&
                         !pawn->isSelected() && turns->isAllIdle() && turns->getBusyCount() == 0 &&
                         !turns->isFrozen() && !turns->isPaused() &&
                         (dialogues == nullptr || !dialogues->isChatterRunning());
    if (!stalled) {
        m_stalledFrames = 0;
        return "";
    }
    ++m_stalledFrames;
    kvengine::CCNotificationCenter* centre = kvengine::CCNotificationCenter::getInstance();
    if (m_stalledFrames == kRefocusFrames) {
        centre->postNotification(EVENT_AUTO_FOCUS_REQUEST);
        return "EVENT_AUTO_FOCUS_REQUEST";
    }
    if (m_stalledFrames >= kSkipFrames) {
        m_stalledFrames = 0;
        centre->postNotification(EVENT_SKIP_TURN);
        return "EVENT_SKIP_TURN";
    }
    return "";
}

void noteAutoplayPost(const std::string& name, int frame, AutoplayOutcome& outcome) {
    if (name == "EVENT_TURN_START_PLAYER") {
        ++outcome.playerTurns;
    } else if (name == "EVENT_VICTORY_DANCE" || name == "EVENT_LOOSE_DANCE") {
        if (outcome.result == "unfinished") outcome.result = name == "EVENT_VICTORY_DANCE" ? "won" : "lost";
    } else if (name == "EVENT_GAME_WINNER") {
        if (outcome.winnerFrame == 0) outcome.winnerFrame = frame;
    }
}

std::string autoplayReport(const AutoplayOutcome& outcome, const std::string& mission, bool seeded,
                           unsigned seed, int framesDrawn) {
    return "autoplay: result=" + outcome.result + " mission=" + (mission.empty() ? "-" : mission) +
           " seed=" + (seeded ? std::to_string(seed) : "-") +
           " turns=" + std::to_string(outcome.playerTurns) +
           " frame=" + std::to_string(outcome.winnerFrame > 0 ? outcome.winnerFrame : framesDrawn);
}

} // namespace kvdriver
