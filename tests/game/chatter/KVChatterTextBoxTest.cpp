// The dialogue text boxes: line breaking and pages, the typewriter, touches page by page, the
// highlighted words and the skip button, on the built fonts and sheets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChatterFixture.h"
#include "engine/base/CCArray.h"
#include "engine/base/CCString.h"
#include "engine/labels/CCLabelBMFont.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCProtocols.h"
#include "game/chatter/KVChatterLightTextItem.h"
#include "game/chatter/KVChatterLightTextView.h"
#include "game/chatter/KVChatterManager.h"
#include "game/chatter/KVChatterTextItem.h"
#include "game/chatter/KVChatterTextView.h"

using namespace kvengine;
using chattertest::ChatterFixture;

namespace {

constexpr ccColor3B kRed{255, 0, 0};

// Counts the pages and the calls of the two hooks.
class Box : public KVLayer {
public:
    void proceed(CCObject*, int count) override {
        ++proceeds;
        pages = count;
    }
    void onTextProgress(CCObject*, int page) override { progress.push_back(page); }
    int proceeds = 0;
    int pages = 0;
    std::vector<int> progress;
};

CCString* text(const std::string& value) {
    auto* made = new CCString(value);
    made->autorelease();
    return made;
}

// The glyph of character i of the page (newlines not counted).
CCRGBAProtocol* glyph(KVChatterTextItemBase* item, int i) {
    const std::string& page = item->getPageText();
    int seen = 0;
    for (size_t at = 0; at < page.size(); ++at) {
        if (page[at] == '\n') continue;
        if (seen++ == i) {
            CCNode* node = item->getLabel()->getChildByTag(static_cast<int>(at));
            return node != nullptr ? node->asRGBAProtocol() : nullptr;
        }
    }
    return nullptr;
}

int shownGlyphs(KVChatterTextItemBase* item) {
    int shown = 0;
    for (int i = 0; i < item->getCharactersInPage(); ++i)
        if (glyph(item, i) != nullptr && glyph(item, i)->getOpacity() == 255) ++shown;
    return shown;
}

} // namespace

class ChatterTextBoxTest : public ChatterFixture {
protected:
    void setUpWithGL() override {
        ChatterFixture::setUpWithGL();
        box = new Box();
        box->init();
    }
    void tearDownWithGL() override {
        if (box != nullptr) box->release();
        ChatterFixture::tearDownWithGL();
    }
    // A full item as the full box makes it on a normal screen at content scale 2.
    KVChatterTextItem* fullItem(const std::string& value) {
        auto* item = new KVChatterTextItem(text(value), 580, 146, 40, kRed, "junction16.fnt", 1.0f, nullptr);
        item->autorelease();
        item->setDelegate(box);
        return item;
    }
    Box* box = nullptr;
};

TEST_F(ChatterTextBoxTest, LinesBreakAtTheWidthAndAtTheMark) {
    struct Case {
        const char* text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {""}},
        {"one", {"one"}},
        {"one two", {"one two"}},
        // An explicit break keeps its word on the line; the next line starts with a space.
        {"one\\n two", {" one", " two"}},
        {"a b\\n c", {"a b", " c"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fullItem(c.text)->getLines(), c.lines) << c.text;

    // Long texts break before the word that passes the width, never inside a word.
    std::string words;
    for (int i = 0; i < 40; ++i)
        words += std::string(i == 0 ? "" : " ") + "word" + std::to_string(i);
    KVChatterTextItem* item = fullItem(words);
    ASSERT_GT(item->getLines().size(), 2u);
    std::string joined;
    for (const std::string& line : item->getLines()) {
        EXPECT_FALSE(line.empty());
        EXPECT_NE(line.front(), ' ');
        joined += (joined.empty() ? "" : " ") + line;
    }
    EXPECT_EQ(joined, words);
    // An over-long first word stays on the first line instead of leaving it empty.
    EXPECT_EQ(fullItem(std::string(80, 'W'))->getLines(), std::vector<std::string>{std::string(80, 'W')});
}

TEST_F(ChatterTextBoxTest, FourLinesMakeTwoPagesTurnedByTouches) {
    KVChatterTextItem* item = fullItem("one\\n two\\n three\\n four");
    ASSERT_EQ(item->getLines().size(), 4u);
    EXPECT_EQ(item->getPageCount(), 2);
    EXPECT_EQ(item->getPageText(), " one\n two\n three\n");
    EXPECT_EQ(shownGlyphs(item), 0) << "a full page is typed out";

    item->advance(); // completes the page being typed
    EXPECT_EQ(shownGlyphs(item), item->getCharactersInPage());
    EXPECT_EQ(item->getPage(), 1);
    item->advance(); // page 2
    EXPECT_EQ(item->getPage(), 2);
    EXPECT_EQ(item->getPageText(), " four\n");
    EXPECT_EQ(box->progress, std::vector<int>{2});
    EXPECT_EQ(shownGlyphs(item), 0);
    item->advance();
    item->advance(); // past the last page
    EXPECT_TRUE(item->isFinished());
    EXPECT_EQ(box->proceeds, 1);
    EXPECT_EQ(box->pages, 2);
}

TEST_F(ChatterTextBoxTest, SixtyCharactersTypeInThreeSeconds) {
    const std::string row(19, 'a');
    KVChatterTextItem* item = fullItem(row + "\\n " + row + "\\n " + row);
    ASSERT_EQ(item->getCharactersInPage(), 60);
    for (int step = 1; step <= 60; ++step) {
        item->update(0.05f);
        ASSERT_EQ(shownGlyphs(item), step) << "after " << step * 0.05f << " s";
    }
    item->update(1.0f);
    EXPECT_EQ(item->getRevealed(), 60.0f);
    // The first glyphs are shown in text order.
    auto* fresh = fullItem(row + "\\n " + row + "\\n " + row);
    fresh->update(0.25f);
    for (int i = 0; i < 60; ++i)
        EXPECT_EQ(glyph(fresh, i)->getOpacity(), i < 5 ? 255 : 0) << i;
}

TEST_F(ChatterTextBoxTest, AMarkedWordIsRedWithoutItsMark) {
    KVChatterTextItem* item = fullItem("Find the @cpearls now");
    EXPECT_EQ(item->getPageText(), "Find the pearls now\n");
    item->advance();
    const std::string page = "Find the pearls now";
    for (int i = 0; i < static_cast<int>(page.size()); ++i) {
        if (page[static_cast<size_t>(i)] == ' ') continue;
        const bool red = i >= 9 && i < 15;
        const ccColor3B colour = glyph(item, i)->getColor();
        EXPECT_EQ(colour.g, red ? 0 : 255) << i;
        EXPECT_EQ(colour.r, 255) << i;
    }
    // Marked words on a later page are coloured when that page shows.
    KVChatterTextItem* paged = fullItem("a\\n b\\n c\\n @cdd e");
    paged->advance();
    paged->advance();
    EXPECT_EQ(paged->getPageText(), " dd e\n");
    EXPECT_EQ(glyph(paged, 1)->getColor().g, 0);
    EXPECT_EQ(glyph(paged, 3)->getColor().g, 255);
}

TEST_F(ChatterTextBoxTest, AnEmptyTextIsOneEmptyPage) {
    KVChatterTextItem* item = fullItem("");
    EXPECT_EQ(item->getPageCount(), 1);
    EXPECT_EQ(item->getCharactersInPage(), 0);
    item->advance();
    EXPECT_EQ(box->proceeds, 1);
}

TEST_F(ChatterTextBoxTest, TheLightItemShowsWholePages) {
    auto* item =
        new KVChatterLightTextItem(text("a\\n b\\n c\\n d\\n e"), 567, 72, 20, kRed, "junction12.fnt", 1.0f);
    item->autorelease();
    item->setDelegate(box);
    ASSERT_GE(item->getLinesPerPage(), 1);
    item->update(1.0f / 60);
    EXPECT_EQ(shownGlyphs(item), item->getCharactersInPage());
    const int pages = item->getPageCount();
    for (int i = 0; i < pages; ++i)
        item->advance();
    EXPECT_EQ(box->proceeds, 1);
    EXPECT_EQ(static_cast<int>(box->progress.size()), pages - 1);
}

TEST_F(ChatterTextBoxTest, TheFullBoxTurnsPagesAndItsSkipButtonEndsTheDialogue) {
    play("M01a_chatin");
    // The picture step first: a zoom and a pan of 2 s each, one after the other.
    run(4.2f);
    auto* full = dynamic_cast<KVChatterTextView*>(stepView(KVChatterManager::kTextViewTag));
    ASSERT_NE(full, nullptr) << "the picture step ended by itself";
    ASSERT_NE(full->getChildByTag(KVChatterTextView::kPortraitTag), nullptr);
    ASSERT_NE(full->getChildByTag(KVChatterTextView::kNameTag), nullptr);
    frame();
    // An ordinary touch advances the text and posts nothing.
    tap(480, 100);
    EXPECT_EQ(recorder->count("EVENT_CHATTER_NEXT"), 0);
    EXPECT_EQ(full->getTextItem()->getRevealed(),
              static_cast<float>(full->getTextItem()->getCharactersInPage()));
    // The skip button: posted once, the dialogue ends at the next frame.
    CCNode* skip = full->getChildByTag(KVChatterTextView::kSkipTag);
    ASSERT_NE(skip, nullptr);
    CCNode* item = static_cast<CCNode*>(skip->getChildren()->objectAtIndex(0));
    const CCPoint at = item->convertToWorldSpace(CCPoint(4, 4));
    tap(at.x, at.y);
    EXPECT_EQ(recorder->count("EVENT_CHATTER_NEXT"), 1);
    EXPECT_TRUE(chatter->isChatterRunning());
    EXPECT_TRUE(chatter->isEndRequested());
    chatter->update(1.0f / 60);
    EXPECT_FALSE(chatter->isChatterRunning());
    EXPECT_EQ(ends->identifiers, std::vector<std::string>{"M01a_chatin"});
}

TEST_F(ChatterTextBoxTest, TheLightBoxAnswersTouchesOnItselfOnly) {
    play("M01a_chatlt");
    auto* light = dynamic_cast<KVChatterLightTextView*>(stepView(KVChatterManager::kTextViewTag));
    ASSERT_NE(light, nullptr);
    EXPECT_TRUE(light->isAnimatedPortraitShown());
    frame();
    const int page = light->getTextItem()->getPage();
    tap(20, 580); // far from the box: nothing
    EXPECT_EQ(recorder->count("EVENT_CHATTER_NEXT"), 0);
    EXPECT_EQ(light->getTextItem()->getPage(), page);
    EXPECT_EQ(chatter->getStep(), 1);
    // Touches on the box go through the pages, then to the next step.
    CCNode* frameNode = light->getChildByTag(KVChatterLightTextView::kBoxTag);
    ASSERT_NE(frameNode, nullptr);
    const CCPoint at = frameNode->convertToWorldSpace(CCPoint(30, 20));
    const int pages = light->getTextItem()->getPageCount();
    for (int i = 0; i < pages; ++i)
        tap(at.x, at.y);
    EXPECT_EQ(chatter->getStep(), 2);
    EXPECT_EQ(recorder->count("EVENT_CHATTER_NEXT"), pages);
}
