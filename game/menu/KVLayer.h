#pragma once

#include "engine/nodes/CCLayer.h"

/// The base of the game's layers (HUD, pawn panel, combo display, pause screen, dialogue boxes,
/// screen views and menu items): a `CCLayer` with two hooks that text-writing items call on the
/// layer that owns them. Both do nothing here.
class KVLayer : public kvengine::CCLayer {
public:
    CC_DECLARE_CLASS_NAME(KVLayer, kvengine::CCLayer)

    /// Asks the layer to go on to its next step: `sender` finished writing its text, which had
    /// `count` pages (the dialogue boxes override it).
    virtual void proceed(kvengine::CCObject* sender, int count) {
        (void)sender;
        (void)count;
    }
    /// `sender` has started writing page `page` of its text.
    virtual void onTextProgress(kvengine::CCObject* sender, int page) {
        (void)sender;
        (void)page;
    }
};
