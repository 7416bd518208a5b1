#include "game/shop/KVPopUpLevelUpScreenView.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCScene.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVPearlCountItem.h"

using namespace kvengine;

namespace {

constexpr int kButtonKind = 1;

std::string selectedKelvo() {
    CCString* name = KVMenuManager::getInstance()->getSelectedKelvoName();
    return name != nullptr ? name->text : "";
}

} // namespace

CCScene* KVPopUpLevelUpScreenView::createScene() {
    return createPopUpScene<KVPopUpLevelUpScreenView>();
}

kvdata::Dict* KVPopUpLevelUpScreenView::copyKelvoStats(const std::string& name) {
    kvdata::Dict* copy = kvdata::newDict();
    kvdata::Dict* stats = KVGameParameters::getInstance()->getKelvoStats(name);
    for (const std::string& key : kvdata::keysOf(stats))
        copy->setObject(stats->objectForKey(key), key);
    return copy;
}

KVPopUpLevelUpScreenView::KVPopUpLevelUpScreenView() {
    initWithKind(2);
    placeCancelAndAction(KVButton::createWithText(
        "Train", 0, 0, kButtonKind, this, static_cast<SEL_MenuHandler>(&KVPopUpLevelUpScreenView::onTrain)));
    const std::string name = selectedKelvo();
    const int cost = kvdata::intAt(copyKelvoStats(name), "cost");
    if (CCNode* frame = getChildByTag(kFrameTag)) {
        const CCSize size = frame->getContentSize();
        const std::string question =
            "Do you want to Train this kelvo? It'll cost " + std::to_string(cost) + " pearls!";
        addMessage(question.c_str(), size.width * 0.5f, size.height / 1.5f, size.width / 1.5f,
                   size.height / 1.2f);
    }
    CCNotificationCenter::getInstance()->postNotification(SCREEN_MENU_TRAIN_KELVO, kvdata::newString(name));
    setTouchEnabled(true);
}

void KVPopUpLevelUpScreenView::onTrain(CCObject* sender) {
    (void)sender;
    const std::string name = selectedKelvo();
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    kvdata::Dict* stats = KVGameParameters::getInstance()->getKelvoStats(name);
    kvdata::Dict* record = profile->getKelvoRecord(name);
    if (stats == nullptr || record == nullptr) {
        logDebugMessage("pop-up: no creature \"%s\" to train", name.c_str());
    } else {
        const int cost = kvdata::intAt(stats, "cost");
        if (profile->getPearlAmount() < cost) {
            logDebugMessage("pop-up: %d pearls do not pay the training of \"%s\" (%d)",
                            profile->getPearlAmount(), name.c_str(), cost);
        } else {
            profile->removePearls(cost);
            profile->setKelvoLevel(name, kvdata::intAt(record, "level") + 1);
            // The pop-up's scene lies over the screen's scene: the screen is its grandparent's child.
            CCNode* overlay = getParent();
            CCNode* running = overlay != nullptr ? overlay->getParent() : nullptr;
            CCNode* screen = running != nullptr ? running->getChildByTag(kScreenTag) : nullptr;
            CCNode* counter = screen != nullptr ? screen->getChildByTag(kPearlCounterTag) : nullptr;
            if (counter != nullptr && counter->isKindOf("KVPearlCountItem"))
                static_cast<KVPearlCountItem*>(counter)->startCountUp();
            profile->saveProfile();
            // Only a training that happened is announced (the achievements count it).
            CCNotificationCenter::getInstance()->postNotification(SCREEN_MENU_TRAIN_KELVO_CONFIRM,
                                                                  kvdata::newString(name));
        }
    }
    KVMenuManager::getInstance()->changeState(KVMenuManager::kCloseOverlayState);
}
