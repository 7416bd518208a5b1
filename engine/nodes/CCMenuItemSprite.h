#pragma once
#include "engine/nodes/CCMenuItem.h"
#include "engine/nodes/CCProtocols.h"

namespace kvengine {

/// A menu item showing one of three images: normal, selected (optional) and disabled
/// (optional). The images are children of the item (the children array holds them); colour and
/// opacity go to every image that has a colour interface.
class CCMenuItemSprite : public CCMenuItem, public CCRGBAProtocol {
public:
    /// An autoreleased item; null (logged) without a normal image.
    static CCMenuItemSprite* createWithSpritesDisabledAndTarget(CCNode* normal, CCNode* selected,
                                                                CCNode* disabled, CCObject* target,
                                                                SEL_MenuHandler selector);
    static CCMenuItemSprite* createWithSpritesAndTarget(CCNode* normal, CCNode* selected, CCObject* target,
                                                        SEL_MenuHandler selector);
    static CCMenuItemSprite* createWithSprites(CCNode* normal, CCNode* selected);

    /// The content size becomes the normal image's; false (logged) without a normal image.
    [[nodiscard]] bool initWithSprites(CCNode* normal, CCNode* selected, CCNode* disabled, CCObject* target,
                                       SEL_MenuHandler selector);

    CCNode* getNormalImage() const { return m_normalImage; }
    void setNormalImage(CCNode* image);
    CCNode* getSelectedImage() const { return m_selectedImage; }
    void setSelectedImage(CCNode* image);
    CCNode* getDisabledImage() const { return m_disabledImage; }
    void setDisabledImage(CCNode* image);

    void setEnabled(bool enabled) override;
    void selected() override;
    void unselected() override;
    CCRGBAProtocol* asRGBAProtocol() override { return this; }

    void setColor(const ccColor3B& color) override;
    ccColor3B getColor() override;
    uint8_t getOpacity() override;
    void setOpacity(uint8_t opacity) override;

private:
    /// Adds `image` as a hidden (or shown) child at anchor (0, 0) in place of `slot`.
    void replaceImage(CCNode*& slot, CCNode* image, bool visible);

    CCNode* m_normalImage = nullptr;
    CCNode* m_selectedImage = nullptr;
    CCNode* m_disabledImage = nullptr;
};

} // namespace kvengine
