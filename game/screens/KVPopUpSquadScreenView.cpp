#include "game/screens/KVPopUpSquadScreenView.h"

#include <cstdio>
#include <vector>

#include "engine/actions/CCAnimate.h"
#include "engine/actions/CCRepeat.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/input/CCTouch.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteBatchNode.h"
#include "engine/sprites/CCSpriteFrame.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "engine/textures/CCTextureCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVMenuManager.h"

using namespace kvengine;

namespace {

constexpr const char* kKelvoSet = "kelvo";
constexpr float kFrameSeconds = 0.083f;
constexpr int kMaxShown = 4;
// Member k stands at (k + 1) fifths of the frame's width.
constexpr float kPitch = 0.2f;

std::string removeAll(std::string text, const std::string& part) {
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at))
        text.erase(at, part.size());
    return text;
}

void copyText(kvdata::Dict* from, const char* key, kvdata::Dict* to, const char* as) {
    if (CCString* text = kvdata::stringAt(from, key)) to->setObject(text, as);
}

} // namespace

CCScene* KVPopUpSquadScreenView::createScene() {
    return createPopUpScene<KVPopUpSquadScreenView>();
}

kvdata::Dict* KVPopUpSquadScreenView::collectTeamDisplayData() {
    KVGameParameters* data = KVGameParameters::getInstance();
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    kvdata::Dict* team = kvdata::newDict();
    for (const std::string& name : kvdata::keysOf(data->getKelvoStatsTable())) {
        kvdata::Dict* record = profile->getKelvoRecord(name);
        if (name.empty() || kvdata::intAt(record, "status_selected") != 1) continue;
        kvdata::Dict* stats = data->getKelvoStats(name);
        kvdata::Dict* entry = kvdata::newDict();
        copyText(stats, "sprite_name", entry, "sprite_name");
        copyText(stats, "spritesheet_name", entry, "spritesheet_name");
        const std::string helmet = kvdata::textAt(record, "helmet_name");
        if (!helmet.empty()) {
            kvdata::Dict* definition = data->getHelmetDefinition(helmet);
            copyText(definition, "spritesheet_name", entry, "helmet_spritesheet_name");
            copyText(definition, "sprite_name", entry, "helmet_sprite_name");
        }
        team->setObject(entry, name);
    }
    return team;
}

KVPopUpSquadScreenView::KVPopUpSquadScreenView() {
    initWithKind(3);
    m_sheetBatches = kvdata::newDict();
    m_sheetBatches->retain();
    m_ownSheets = kvdata::newDict();
    m_ownSheets->retain();
    CCNode* frame = getChildByTag(kFrameTag);
    if (frame == nullptr) return; // logged by the frame
    const CCSize size = frame->getContentSize();
    kvdata::Dict* team = collectTeamDisplayData();
    const float scale = KVGameParameters::getInstance()->getAnimScaleFactor(kKelvoSet);
    int k = 0;
    for (const std::string& name : kvdata::keysOf(team)) {
        kvdata::Dict* entry = kvdata::dictAt(team, name);
        const std::string sheet = kvdata::textAt(entry, "spritesheet_name");
        if (!sheet.empty()) {
            ensureSheetBatch(sheet);
            const std::string helmetSheet = kvdata::textAt(entry, "helmet_spritesheet_name");
            if (!helmetSheet.empty()) ensureSheetBatch(helmetSheet);
        }
        const CCPoint at((k + 1) * kPitch * size.width, size.height / 2);
        if (CCSprite* figure = createIdleSprite(kvdata::textAt(entry, "sprite_name"))) {
            frame->addChildAtZWithTag(figure, 1, kFigureTag + k);
            figure->setPosition(at);
            figure->setScale(scale);
            if (CCSprite* helmet = createIdleSprite(kvdata::textAt(entry, "helmet_sprite_name"))) {
                frame->addChildAtZWithTag(helmet, 1, kHelmetTag + k);
                helmet->setPosition(at);
            }
        } else {
            logDebugMessage("squad pop-up: \"%s\" has no idle figure", name.c_str());
        }
        ++k;
    }
    setTouchEnabled(true);
}

void KVPopUpSquadScreenView::cleanupBeforeDelete() {
    if (m_ownSheets != nullptr) {
        CCResourceIndex* index = CCResourceIndex::getInstance();
        for (const std::string& sheet : kvdata::keysOf(m_ownSheets)) {
            CCSpriteFrameCache::getInstance()->removeSpriteFramesFromFile(
                index->pathForFileName(sheet + ".plist").c_str());
            const std::string texture = sheet + ".pvr.ccz";
            if (index->containsFileName(texture))
                CCTextureCache::getInstance()->removeTextureForKey(index->pathForFileName(texture).c_str());
        }
        m_ownSheets->release();
        m_ownSheets = nullptr;
    }
    if (m_sheetBatches != nullptr) m_sheetBatches->release();
    m_sheetBatches = nullptr;
    KVPopUpItem::cleanupBeforeDelete();
}

std::string KVPopUpSquadScreenView::sheetFolderOf(const std::string& sheet) {
    return removeAll(removeAll(sheet, "_ss"), "_frontend");
}

bool KVPopUpSquadScreenView::hasSheetBatch(const std::string& sheet) const {
    return kvdata::hasKey(m_sheetBatches, sheet);
}

void KVPopUpSquadScreenView::ensureSheetBatch(const std::string& sheet) {
    if (sheet.empty() || m_sheetBatches == nullptr || hasSheetBatch(sheet)) return;
    // The resource index finds a sheet by its file name wherever its folder lies.
    CCResourceIndex* index = CCResourceIndex::getInstance();
    const std::string plist = sheet + ".plist";
    const std::string texture = sheet + ".pvr.ccz";
    if (!index->containsFileName(plist) || !index->containsFileName(texture)) {
        logDebugMessage("squad pop-up: no sprite sheet \"%s/%s\"", sheetFolderOf(sheet).c_str(),
                        sheet.c_str());
        return;
    }
    CCSpriteFrameCache* cache = CCSpriteFrameCache::getInstance();
    const unsigned before = cache->frameCount();
    cache->addSpriteFramesWithFile(index->pathForFileName(plist).c_str());
    // A sheet the screen under the pop-up has loaded stays loaded when the pop-up goes.
    if (cache->frameCount() > before) kvdata::setText(m_ownSheets, sheet, "");
    CCSpriteBatchNode* batch = CCSpriteBatchNode::createWithFile(index->pathForFileName(texture).c_str());
    if (batch == nullptr) {
        logDebugMessage("squad pop-up: the texture of \"%s\" cannot be loaded", sheet.c_str());
        return;
    }
    addChildAtZ(batch, kBatchZ);
    m_sheetBatches->setObject(batch, sheet);
}

CCSprite* KVPopUpSquadScreenView::createIdleSprite(const std::string& spriteName) {
    if (spriteName.empty()) return nullptr;
    CCSpriteFrameCache* cache = CCSpriteFrameCache::getInstance();
    const std::string first = spriteName + "_idle_01.png";
    if (!cache->hasSpriteFrame(first.c_str())) return nullptr;
    const int count = KVGameParameters::getInstance()->getAnimSettingInt(kKelvoSet, "idle");
    auto* frames = new CCMutableArray<CCSpriteFrame*>();
    char name[256];
    for (int i = 1; i <= count; ++i) {
        std::snprintf(name, sizeof name, "%s_idle_%.2d.png", spriteName.c_str(), i);
        if (cache->hasSpriteFrame(name)) frames->addObject(cache->findSpriteFrameByName(name));
    }
    CCSprite* sprite = CCSprite::createWithSpriteFrameName(first.c_str());
    if (sprite != nullptr && frames->count() > 0) {
        sprite->stopAllActions();
        sprite->runAction(CCRepeatForever::createWithAction(CCAnimate::createWithAnimationRestore(
            CCAnimation::createWithFramesDelay(frames, kFrameSeconds), false)));
    }
    frames->release();
    return sprite;
}

CCString* KVPopUpSquadScreenView::findTeamMemberBySpriteName(const std::string& spriteName) {
    KVGameParameters* data = KVGameParameters::getInstance();
    for (const std::string& name : kvdata::keysOf(KVPlayerParameters::getInstance()->getSelectedKelvos()))
        if (kvdata::textAt(data->getKelvoStats(name), "sprite_name") == spriteName)
            return kvdata::newString(name);
    return nullptr;
}

void KVPopUpSquadScreenView::registerWithTouchDispatcher() {
    m_registered = true;
    CCTouchDispatcher::getInstance()->addTargetedDelegate(this, kTouchPriority, true);
}

int KVPopUpSquadScreenView::memberAt(const CCPoint& point) const {
    CCNode* frame = getChildByTag(kFrameTag);
    if (frame == nullptr) return -1;
    const CCSize size = frame->getContentSize();
    const CCPoint centre = frame->getPosition();
    const float left = centre.x - size.width / 2;
    const float bottom = centre.y - size.height / 2;
    if (!rectContainsPoint(CCRect(left, bottom, size.width, size.height), point)) return -1;
    int hit = -1;
    for (int k = 0; k < kMaxShown; ++k) {
        CCNode* figure = frame->getChildByTag(kFigureTag + k);
        if (figure == nullptr) continue;
        // The figure as drawn: its frame's size at its scale.
        const float w = figure->getContentSize().width * figure->getScaleX();
        const float h = figure->getContentSize().height * figure->getScaleY();
        const CCRect box(left + (k + 1) * kPitch * size.width - w / 2, bottom + size.height / 2 - h / 2, w,
                         h);
        if (rectContainsPoint(box, point)) hit = k; // a later member wins over an earlier one
    }
    return hit;
}

bool KVPopUpSquadScreenView::touchBegan(CCTouch* touch, CCEvent* event) {
    (void)event;
    const int hit = memberAt(CCDirector::getInstance()->convertToGL(touch->getLocationInView()));
    if (hit < 0) return true;
    kvdata::Dict* team = collectTeamDisplayData();
    const std::vector<std::string> names = kvdata::keysOf(team);
    if (hit >= static_cast<int>(names.size())) return true;
    const std::string sprite = kvdata::textAt(kvdata::dictAt(team, names[hit]), "sprite_name");
    if (CCString* member = findTeamMemberBySpriteName(sprite)) {
        CCNotificationCenter::getInstance()->postNotification(EVENT_BUTTON_VALIDATED, this);
        replaceMember(member->text);
    }
    // Closing may free this view: nothing of it is used afterwards.
    KVMenuManager::getInstance()->changeState(KVMenuManager::kCloseOverlayState);
    return true;
}

void KVPopUpSquadScreenView::replaceMember(const std::string& member) {
    CCString* selected = KVMenuManager::getInstance()->getSelectedKelvoName();
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    if (selected == nullptr || selected->text.empty()) {
        logDebugMessage("squad pop-up: no creature is selected; the team stays as it is");
        return;
    }
    const std::string newcomer = selected->text;
    if (profile->getKelvoRecord(newcomer) == nullptr) {
        logDebugMessage("squad pop-up: \"%s\" has no record; the team stays as it is", newcomer.c_str());
        return;
    }
    if (profile->getKelvoSelectedStatus(newcomer) == 1) {
        // Taking a member out for another member would only make the team smaller.
        logDebugMessage("squad pop-up: \"%s\" is in the team already", newcomer.c_str());
        return;
    }
    const int position = profile->getKelvoTurnSpeed(member);
    profile->setKelvoSelectedStatus(member, 0);
    profile->setKelvoSelectedStatus(newcomer, 1);
    profile->setKelvoTurnSpeed(newcomer, position);
    profile->saveProfile();
}
