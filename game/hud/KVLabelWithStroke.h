#pragma once

#include "engine/base/CCRetained.h"
#include <string>

#include "engine/labels/CCLabelTTF.h"

namespace kvengine {
class CCAction;
class CCRenderTexture;
} // namespace kvengine

/// A TrueType label with an outline: twelve copies of the text in the stroke colour, drawn around
/// it at the stroke size into a render texture that sits behind the label (child tag 10, z -1).
///
/// The outline is baked on every text change (setString/setWideString) and then drawn as one
/// texture each frame: re-texting every frame costs twelve label draws and a new render texture
/// per frame, so keep the text steady where you can. setColor colours the text only (the outline
/// keeps its stroke colour, nothing is re-baked); opacity is not passed to the outline. A stroke
/// size of 0 means a one-point black outline, chosen at the first bake. A boxed label whose box
/// reaches 1024 x the content scale in either direction gets no outline (logged).
///
///     KVLabelWithStroke* points = KVLabelWithStroke::createWithStdString("", "fonts/Kelvos-Kelvos.ttf", 18,
///                                                                       243, 220, 63, 2.0f);
///     points->setColor(ccColor3B{177, 75, 0});
///     points->setString("12 pearls!");            // re-bakes the outline
///
/// The outline (retained) is released in cleanupBeforeDelete.
class KVLabelWithStroke : public kvengine::CCLabelTTF {
public:
    CC_DECLARE_CLASS_NAME(KVLabelWithStroke, kvengine::CCLabelTTF)

    /// An autoreleased label of `text` with an outline of `strokeSize` points in (red, green, blue).
    static KVLabelWithStroke* createWithStdString(const std::string& text, const char* fontName,
                                                  float fontSize, uint8_t red, uint8_t green, uint8_t blue,
                                                  float strokeSize);

    /// Child tag of the outline.
    static constexpr int kOutlineTag = 10;

    void cleanupBeforeDelete() override;
    void setPosition(const kvengine::CCPoint& position) override;
    void setAnchorPoint(const kvengine::CCPoint& point) override;
    void setColor(const kvengine::ccColor3B& color) override;
    /// Replaces the text ("" shows "a", so that the outline keeps a height) and re-bakes the outline.
    void setString(const char* text) override;
    /// Replaces the text (an empty text stays empty) and re-bakes the outline.
    void setWideString(const char16_t* text) override;

    /// Runs `action` on the label and a matching action on the outline's picture (see
    /// KVLabelWithShadow::runActionWithOutline). Returns `action`.
    virtual kvengine::CCAction* runActionWithOutline(kvengine::CCAction* action);
    /// Stops every action of the outline, then every action of the label.
    virtual void stopActionsWithOutline();

    /// Bakes a new outline of `size` points in `colour` from the current text, replacing the old one.
    void buildOutline(float size, const kvengine::ccColor3B& colour);
    /// Centres the outline on the label's content (nothing while baking or without an outline).
    void updateStrokePosition();

    kvengine::CCRenderTexture* getOutline() const { return m_outline; }
    float getStrokeSize() const { return m_strokeSize; }
    const kvengine::ccColor3B& getStrokeColor() const { return m_strokeColor; }

private:
    /// After a text change: drops the outline and bakes a new one when the box allows.
    void rebuildOutline();
    void dropOutline();

    kvengine::CCRetained<kvengine::CCRenderTexture> m_outline;
    float m_strokeSize = 0.0f;
    kvengine::ccColor3B m_strokeColor{0, 0, 0};
    bool m_building = false;
    /// Set while the engine's init sets the first text: the factory bakes once, afterwards.
    bool m_initialising = false;
};
