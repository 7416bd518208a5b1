#pragma once
#include "engine/nodes/CCProtocols.h"
#include "engine/sprites/CCAtlasNode.h"

#include <string>

namespace kvengine {

/// A text drawn from a character map: a picture holding a grid of equally sized characters, item
/// 0 being `startChar` and the others following in code order, row by row. One quad per byte of
/// the text; codes below the start character wrap around as a byte.
class CCCharMapLabel : public CCAtlasNode, public CCLabelProtocol {
public:
    /// An autoreleased label; null (logged) when the character map cannot be loaded.
    static CCCharMapLabel* createWithString(const char* text, const char* charMapFile, uint32_t itemWidth,
                                            uint32_t itemHeight, unsigned char startChar);

    [[nodiscard]] bool initWithString(const char* text, const char* charMapFile, uint32_t itemWidth,
                                      uint32_t itemHeight, unsigned char startChar);

    /// Replaces the text (null: empty); the content size becomes (length x item width, item height).
    void setString(const char* text) override;
    const char* getString() override { return m_text.c_str(); }
    void setWideString(const char16_t* text) override { (void)text; }
    const char16_t* getWideString() override { return nullptr; }
    CCLabelProtocol* asLabelProtocol() override { return this; }
    void updateAtlasValues() override;

private:
    std::string m_text;
    unsigned char m_startChar = 0;
};

} // namespace kvengine
