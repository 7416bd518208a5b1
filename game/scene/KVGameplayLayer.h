#pragma once

#include "engine/base/CCRetained.h"
#include <string>

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCMutableDictionary.h"
#include "engine/base/CCNotification.h"
#include "game/menu/KVLayer.h"
#include "game/world/KVActorV.h"

namespace kvengine {
class CCSpriteBatchNode;
class CCTapGestureRecognizer;
class CCTMXTiledMap;
class CCTouch;
} // namespace kvengine
class KVCamera;
class KVGameController;
class KVGameModel;

/// The layer a mission is played on: the level's tile map, one sprite-batch node per loaded sprite
/// sheet (views draw into these), the views of all actors, the camera and the mission's tap
/// recognizer. Every frame it runs the game model, the attached views and the camera.
///
/// All touch input of a mission enters here: a touch is turned into metres of the level (the
/// layer's own space, camera pan and zoom included, x 0.03125) and handed to the game controller,
/// which also decides, as the delegate of the layer's recognizers, which gesture may take it.
/// The layer is a targeted touch handler (claimed touches are swallowed), and the dispatcher hands
/// touches only to the recognizers of standard handlers: so the layer offers every touch it sees
/// to its own recognizers (its tap, the camera's double tap, pan and pinch) before the pull, and
/// claims a touch that the pull or one of those recognizers took. Only the touch that began the
/// pull moves and ends it.
///
/// Sheets: loaded once each by name; batch nodes are tagged 1000, 1001, ... in load order and the
/// sprites added to them 2000, 2001, ... across all sheets. Adding to a sheet never loaded is
/// refused (logged). Views retain the layer; the layer drops its views when it is cleaned up.
class KVGameplayLayer : public KVLayer, public KVActorViewHost {
public:
    CC_DECLARE_CLASS_NAME(KVGameplayLayer, KVLayer)

    /// Metres per layer point.
    static constexpr float kMetresPerPoint = 0.03125f;
    static constexpr int kFirstSheetTag = 1000;
    static constexpr int kFirstChildTag = 2000;

    /// Keeps `map` (null refused, logged), loads the sheets every mission uses, the team's and the
    /// level's pawn sheets, and makes the camera and the tap recognizer.
    virtual bool initWithMap(kvengine::CCTMXTiledMap* map);
    virtual void setGameModel(KVGameModel* model);
    virtual void setGameController(KVGameController* controller);

    /// Makes `sheetName` available to views at `z` (the z of the first load stands). False, logged,
    /// when its plist or texture is missing.
    bool loadSpriteSheet(const std::string& sheetName, int z);
    /// Adds `child` to the batch node of a loaded sheet with the next child tag. False, logged, for
    /// a sheet never loaded or a null child.
    bool addChildToSheetAtZ(const std::string& sheetName, kvengine::CCNode* child, int z);
    bool addChildToSheet(const std::string& sheetName, kvengine::CCNode* child) {
        return addChildToSheetAtZ(sheetName, child, 0);
    }
    /// The sheets of a pawn of the creature or computer-pawn stats (the boss's parts, its helmet).
    void loadPawnSheets(const std::string& pawnName, bool isAI);

    // KVActorViewHost
    kvengine::CCObject* viewHostObject() override { return this; }
    void removeActorView(KVActorV* view) override;
    kvengine::CCNode* viewSheet(const std::string& sheetName) override;

    virtual void onTap(kvengine::CCGestureRecognizer* recognizer, kvengine::CCNode* node);
    virtual void onGameShutdown(kvengine::CCNotification* notification);
    virtual void onNewActor(kvengine::CCNotification* notification);

    void update(float dt) override;
    void cleanup() override;
    void cleanupBeforeDelete() override;
    void registerWithTouchDispatcher() override;
    bool touchBegan(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;
    void touchMoved(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;
    void touchEnded(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;
    void touchCancelled(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;
    bool shouldRecognizerReceiveTouch(kvengine::CCGestureRecognizer* recognizer,
                                      kvengine::CCTouch* touch) override;
    bool shouldRecognizerHandleTouches(kvengine::CCGestureRecognizer* recognizer) override;

    /// A window point (UI coordinates, y down) in metres of the level.
    kvengine::CCPoint metresForViewPoint(const kvengine::CCPoint& viewPoint);

    kvengine::CCTMXTiledMap* getMap() const { return m_map; }
    kvengine::CCMutableArray<KVActorV*>* getViews() const { return m_views; }
    KVGameModel* getGameModel() const { return m_model; }
    KVGameController* getGameController() const { return m_controller; }
    KVCamera* getGameCamera() const { return m_camera; }
    kvengine::CCTapGestureRecognizer* getTapRecognizer() const { return m_tapRecognizer; }
    kvengine::CCSpriteBatchNode* getSheet(const std::string& sheetName) const;

private:
    enum { kTouchBegan, kTouchMoved, kTouchEnded, kTouchCancelled };
    /// Hands `touch` alone to the layer's recognizers in `phase`, unless the dispatcher has
    /// suspended recognizers.
    void offerToRecognizers(int phase, kvengine::CCTouch* touch, kvengine::CCEvent* event);

    kvengine::CCRetained<kvengine::CCTMXTiledMap> m_map;
    kvengine::CCRetained<kvengine::CCMutableArray<KVActorV*>> m_views;
    kvengine::CCRetained<KVGameModel> m_model;
    kvengine::CCRetained<KVGameController> m_controller;
    kvengine::CCRetained<KVCamera> m_camera;
    kvengine::CCRetained<kvengine::CCTapGestureRecognizer> m_tapRecognizer;
    kvengine::CCRetained<kvengine::CCMutableDictionary<std::string, kvengine::CCSpriteBatchNode*>> m_sheets;
    int m_nextSheetTag = kFirstSheetTag;
    int m_nextChildTag = kFirstChildTag;
    /// The touch of the pull under way (compared only, never used); null without one.
    kvengine::CCTouch* m_pullTouch = nullptr;
    /// Whether a recognizer took the touch being offered.
    bool m_gestureTookTouch = false;
};
