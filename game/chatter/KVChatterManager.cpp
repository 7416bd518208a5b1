#include "game/chatter/KVChatterManager.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "engine/textures/CCTextureCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/chatter/KVChatterImageView.h"
#include "game/chatter/KVChatterLightTextView.h"
#include "game/chatter/KVChatterTextView.h"
#include "game/data/KVDataAccess.h"

using namespace kvengine;

namespace {

const char* const kPortraitSheets[] = {"characterchatter_TC4_ss", "characterchatter2_TC4_ss",
                                       "characterchatter_88_ss"};

CCScene* runningScene() {
    CCDirector* director = CCDirector::existingInstance();
    return director != nullptr ? director->getRunningScene() : nullptr;
}

bool startsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

// "Tutos_chatot" -> "Tutos_CHAT"; "" when the identifier names no chatter file.
std::string chatterFileName(const std::string& identifier) {
    if (identifier.size() < 7) return "";
    std::string name = identifier.substr(0, identifier.size() - 2);
    for (size_t i = name.size() - 5; i < name.size(); ++i)
        name[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[i])));
    return name.compare(name.size() - 5, 5, "_CHAT") == 0 ? name : "";
}

void loadSheet(const std::string& sheet) {
    CCResourceIndex* index = CCResourceIndex::getInstance();
    const std::string file = sheet + ".plist";
    if (!index->containsFileName(file)) {
        logDebugMessage("chatter: no sprite sheet %s", file.c_str());
        return;
    }
    CCSpriteFrameCache::getInstance()->addSpriteFramesWithFile(index->pathForFileName(file).c_str());
}

// The dialogue scene shows the due step every frame, so a skip takes effect at the next frame on the
// front-end screens too (during missions the game model also calls the manager's update).
class KVChatterScene : public CCScene {
public:
    void update(float dt) override {
        (void)dt;
        // Ending the dialogue removes this scene: it stays alive until the end of the frame.
        retain();
        KVChatterManager::getInstance()->showCurrentStep();
        autorelease();
    }
};

// A step flag: "YES" or a non-zero number is true; a missing flag is false.
bool flagAt(KVChatterManager::Dict* dict, const char* key) {
    CCString* text = kvdata::stringAt(dict, key);
    return text != nullptr && text->toBool();
}

} // namespace

void KVChatterManager::cleanupBeforeDelete() {
    endChatter();
    setDialogueFile(nullptr);
    setCurrentDialogue(nullptr);
    setHostScene(nullptr);
    KVSingletonObject::cleanupBeforeDelete();
}

void KVChatterManager::setDialogueFile(Dict* file) {
    if (file != nullptr) file->retain();
    if (m_dialogueFile != nullptr) m_dialogueFile->release();
    m_dialogueFile = file;
}

void KVChatterManager::setCurrentDialogue(Dict* dialogue) {
    if (dialogue != nullptr) dialogue->retain();
    if (m_currentDialogue != nullptr) m_currentDialogue->release();
    m_currentDialogue = dialogue;
}

void KVChatterManager::loadChatter(const std::string& chatterName) {
    // Loading over a running dialogue would mix the two: the running one ends first.
    if (m_running) {
        logDebugMessage("chatter: \"%s\" loaded while \"%s\" runs; that one ends first", chatterName.c_str(),
                        m_loadedChatter.c_str());
        endChatter();
    }
    m_loadedChatter = chatterName;
    m_fromShop = false;
    loadSheet("background_ss");
    for (const char* sheet : kPortraitSheets)
        loadSheet(sheet);

    setCurrentDialogue(m_dialogueFile != nullptr ? kvdata::dictAt(m_dialogueFile, chatterName) : nullptr);
    if (m_currentDialogue == nullptr) {
        m_stepCount = 0;
        const std::string fileName = chatterFileName(chatterName);
        if (fileName.empty()) {
            logDebugMessage("chatter: \"%s\" names no dialogue file", chatterName.c_str());
            return;
        }
        // An unreadable file loads nothing at all, not even the previous file.
        setDialogueFile(kvdata::loadDataTable(fileName));
        if (m_dialogueFile == nullptr) return;
        setCurrentDialogue(kvdata::dictAt(m_dialogueFile, chatterName));
        if (m_currentDialogue == nullptr) {
            logDebugMessage("chatter: %s.plist has no dialogue \"%s\"", fileName.c_str(),
                            chatterName.c_str());
            return;
        }
    }

    m_stepCount = 0;
    bool hasEffect = false;
    for (const std::string& key : kvdata::keysOf(m_currentDialogue)) {
        if (startsWith(key, "Dialog")) ++m_stepCount;
        if (startsWith(key, "Effect")) {
            ++m_stepCount;
            hasEffect = true;
        }
    }
    // A dialogue without the flag would show no box and never advance: it plays as a full one.
    if (!kvdata::hasKey(m_currentDialogue, "light_mode"))
        logDebugMessage("chatter: \"%s\" has no light_mode; shown in full", chatterName.c_str());
    m_lightMode = flagAt(m_currentDialogue, "light_mode") ? (hasEffect ? 2 : 1) : 0;
}

KVChatterManager::Dict* KVChatterManager::findStep(int step) {
    if (m_currentDialogue == nullptr) return nullptr;
    for (const std::string& key : kvdata::keysOf(m_currentDialogue)) {
        const char* type = nullptr;
        if (startsWith(key, "Dialog")) {
            type = "Dialog";
        } else if (m_lightMode == 0 && startsWith(key, "Effect")) {
            type = "Effect";
        } else {
            continue;
        }
        if (std::atoi(key.c_str() + std::strlen(type)) != step) continue;
        Dict* found = kvdata::dictAt(m_currentDialogue, key);
        if (found == nullptr) {
            logDebugMessage("chatter: step %s of \"%s\" is not a dictionary", key.c_str(),
                            m_loadedChatter.c_str());
            return nullptr;
        }
        kvdata::setText(found, "item_type", type);
        return found;
    }
    return nullptr;
}

void KVChatterManager::startChatter() {
    if (m_stepCount == 0) return;
    if (m_hostScene == nullptr) {
        logDebugMessage("chatter: \"%s\" has no host scene to be shown over", m_loadedChatter.c_str());
        return;
    }
    // A second dialogue scene over the first would leave the first one swallowing touches.
    if (m_running || m_dialogueScene != nullptr) endChatter();
    CCNotificationCenter::getInstance()->postNotification(EVENT_CHATTER_START);
    m_step = 1;
    m_running = true;
    m_ready = true;
    m_endRequested = false;
    m_imageCount = 0;
    m_dialogueScene = new KVChatterScene();
    m_dialogueScene->init();
    m_dialogueScene->scheduleUpdate();
    m_hostScene->addChildAtZ(m_dialogueScene, kDialogueSceneZ);
    showCurrentStep();
}

void KVChatterManager::showCurrentStep() {
    if (!m_running) return;
    if (m_step > m_stepCount || m_endRequested) {
        if (!isRunningInGameplay() && s_frontEndExit != nullptr) s_frontEndExit();
        if (m_running) endChatter();
        return;
    }
    if (!m_ready) return;
    Dict* step = findStep(m_step);
    if (step == nullptr) {
        nextStep();
        return;
    }
    showStep(step);
}

void KVChatterManager::showStep(Dict* step) {
    const std::string type = kvdata::textAt(step, "item_type");
    if (type == "Effect") {
        auto* view = new KVChatterImageView(step);
        view->autorelease();
        m_dialogueScene->addChildAtZWithTag(view, kImageViewZ, m_imageCount);
        ++m_imageCount;
        m_ready = false;
        return;
    }
    if (type != "Dialog") return;
    if (flagAt(step, "reset_background")) removeImageViews();
    KVLayer* box = nullptr;
    if (m_lightMode == 0) {
        box = new KVChatterTextView(step);
    } else {
        box = new KVChatterLightTextView(step);
    }
    box->autorelease();
    m_dialogueScene->addChildAtZWithTag(box, kTextViewZ, kTextViewTag);
    m_ready = false;
}

void KVChatterManager::removeImageViews() {
    for (int tag = 0; tag < m_imageCount; ++tag) {
        if (CCNode* view = m_dialogueScene->getChildByTag(tag)) {
            view->removeAllChildren(true);
            m_dialogueScene->removeChild(view, true);
        }
    }
    m_imageCount = 0;
}

void KVChatterManager::nextStep() {
    if (!m_running || m_dialogueScene == nullptr) return;
    if (CCNode* box = m_dialogueScene->getChildByTag(kTextViewTag)) {
        box->removeAllChildren(true);
        m_dialogueScene->removeChild(box, true);
    }
    ++m_step;
    m_ready = true;
    showCurrentStep();
}

void KVChatterManager::endChatter() {
    const bool wasShown = m_running || m_dialogueScene != nullptr;
    m_step = 1;
    m_ready = false;
    m_running = false;
    m_endRequested = false;
    if (!wasShown) return;
    m_inputCooldown = true;
    m_cooldownTime = 0.0f;
    if (m_dialogueScene != nullptr) {
        CCScene* scene = m_dialogueScene;
        m_dialogueScene = nullptr;
        scene->removeAllChildren(true);
        scene->removeFromParent(true);
        scene->release();
    }
    m_imageCount = 0;
    if (m_dialogueFile == nullptr) return;
    auto* name = new CCString(m_loadedChatter);
    CCNotificationCenter::getInstance()->postNotification(EVENT_END_SPEECH, name);
    name->release();
}

void KVChatterManager::update(float dt) {
    if (m_inputCooldown) {
        m_cooldownTime += dt;
        if (m_cooldownTime > kInputCooldown) {
            m_inputCooldown = false;
            m_cooldownTime = 0.0f;
        }
    }
    showCurrentStep();
}

bool KVChatterManager::isRunningInGameplay() const {
    CCScene* scene = runningScene();
    return m_running && scene != nullptr && scene->isKindOf("KVGameplayScene");
}

void KVChatterManager::unloadPortraitSheets() {
    CCResourceIndex* index = CCResourceIndex::getInstance();
    for (const char* sheet : kPortraitSheets) {
        const std::string plist = std::string(sheet) + ".plist";
        if (!index->containsFileName(plist)) continue;
        CCSpriteFrameCache::getInstance()->removeSpriteFramesFromFile(index->pathForFileName(plist).c_str());
        const std::string texture = std::string(sheet) + ".pvr.ccz";
        if (index->containsFileName(texture))
            CCTextureCache::getInstance()->removeTextureForKey(index->pathForFileName(texture).c_str());
    }
}

void KVChatterManager::setHostSceneToRunningScene() {
    setHostScene(runningScene());
}

void KVChatterManager::setHostScene(CCNode* node) {
    if (node != nullptr) node->retain();
    if (m_hostScene != nullptr) m_hostScene->release();
    m_hostScene = node;
}

void KVChatterManager::showDimmer() {
    CCScene* scene = runningScene();
    if (scene == nullptr) return;
    scene->removeChildByTag(kDimmerTag, true);
    const CCSize size = CCDirector::getInstance()->getWinSize();
    CCLayerColor* dimmer = CCLayerColor::createWithColor(ccColor4B{0, 0, 0, 150}, size.width, size.height);
    if (dimmer == nullptr) return;
    dimmer->setAnchorPoint(CCPoint(0, 0));
    dimmer->setPosition(CCPoint(0, 0));
    scene->addChildAtZWithTag(dimmer, kDimmerZOrder, kDimmerTag);
}

void KVChatterManager::hideDimmer() {
    if (CCScene* scene = runningScene()) scene->removeChildByTag(kDimmerTag, true);
}
