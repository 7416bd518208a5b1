#pragma once

#include "engine/base/CCObject.h"

/// The root of the game's own objects: a CCObject with an active flag.
///
/// The level model updates, each step, only the actors whose active flag is set. Objects that live
/// for the whole program (the shared services, the achievements) answer true to isPersistent();
/// the front-end menu states answer true to isMenuState().
class KVObject : public kvengine::CCObject {
public:
    CC_DECLARE_CLASS_NAME(KVObject, kvengine::CCObject)

    void update(float dt) override { (void)dt; }
    void cleanupBeforeDelete() override {}

    virtual bool isPersistent() { return false; }
    virtual bool isMenuState() { return false; }

    /// 1 at construction.
    unsigned char active = 1;
};
