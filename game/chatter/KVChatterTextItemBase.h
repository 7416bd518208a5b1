#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/base/CCMutableArray.h"
#include "engine/nodes/CCProtocols.h"
#include "game/menu/KVMenuItem.h"

namespace kvengine {
class CCBMFontConfiguration;
class CCLabelBMFont;
class CCString;
} // namespace kvengine

/// What both dialogue text items share: the text broken into lines that fit a width, the lines
/// grouped into pages shown one at a time in a bitmap-font label, highlighted words and the
/// typewriter that reveals a page character by character.
///
/// Marks in the text: a word containing "@c" is drawn without the mark in the highlight colour; a
/// word containing a backslash followed by "n" ends its line (the mark is dropped). The text is
/// UTF-8; it is shown in the font's Latin-1 range (other characters become '?').
///
/// The item talks back to its box through the delegate (not retained; the box clears it when it
/// leaves the stage): onTextProgress after each new page, proceed once the last page is passed.
class KVChatterTextItemBase : public KVMenuItem {
public:
    CC_DECLARE_CLASS_NAME(KVChatterTextItemBase, KVMenuItem)

    static constexpr int kTypingSpeed = 20; ///< characters a second
    static constexpr kvengine::ccColor3B kNormalColour{255, 255, 255};

    void cleanupBeforeDelete() override;
    /// The typewriter: reveals typing speed x dt more characters of the page.
    void update(float dt) override;
    /// A touch on the box: completes the page being typed, else shows the next page, else tells
    /// the delegate the text is done.
    void advance();

    void setDelegate(KVLayer* delegate) { m_delegate = delegate; }
    KVLayer* getDelegate() const { return m_delegate; }

    /// The text's lines ("" lines included).
    const std::vector<std::string>& getLines() const { return m_lines; }
    int getLinesPerPage() const { return m_linesPerPage; }
    int getPageCount() const { return m_pageCount; }
    /// Pages built so far (1 while the first page shows).
    int getPage() const { return m_page; }
    int getCharactersInPage() const { return m_charactersInPage; }
    float getRevealed() const { return m_revealed; }
    bool isFinished() const { return m_finished; }
    /// The current page's lines, each followed by a newline.
    const std::string& getPageText() const { return m_pageText; }
    kvengine::CCLabelBMFont* getLabel() const { return m_label; }
    /// (first character, count) of every highlighted word, counted over the whole text without
    /// line breaks; -1 once a span's page has been shown.
    const std::vector<std::pair<int, int>>& getHighlightSpans() const { return m_spans; }

protected:
    /// Builds lines, pages and the label. Called by the subclasses' constructors, so the hooks below
    /// answer for the subclass. `width` and `height` are in pixels, like the font's advances.
    void build(kvengine::CCString* text, int width, int height, int margin,
               const kvengine::ccColor3B& highlight, const std::string& fontFile, float scale);

    /// Lines shown together.
    virtual int linesPerPage(const kvengine::CCBMFontConfiguration* font, int height, float scale) const = 0;
    /// Where the label's left middle sits in the item.
    virtual kvengine::CCPoint labelPosition(int height, int margin) const = 0;
    /// True when a new page is typed out, false when it is shown whole.
    virtual bool typesPages() const = 0;

private:
    void breakLines(const std::string& text, const kvengine::CCBMFontConfiguration* font, int width,
                    float scale);
    void buildPage();
    void colourPage();
    void setGlyphOpacity(uint8_t opacity);
    kvengine::CCNode* glyphAt(int character) const;

    KVLayer* m_delegate = nullptr;
    std::vector<std::string> m_lines;
    kvengine::CCLabelBMFont* m_label = nullptr;
    std::string m_pageText;
    std::vector<int> m_glyphTags; ///< label tag of each character of the page
    std::string m_fontFile;
    std::vector<std::pair<int, int>> m_spans;
    float m_revealed = 0.0f;
    int m_linesPerPage = 3;
    int m_page = 0;
    int m_charactersInPage = 0;
    int m_glyphOffset = 0;
    int m_pageCount = 0;
    bool m_finished = false;
    kvengine::ccColor3B m_highlight{255, 0, 0};
};
