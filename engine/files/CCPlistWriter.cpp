#include "engine/files/CCPlistWriter.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "engine/files/CCFileUtils.h"
#include "engine/files/CCFileWriter.h"

namespace kvengine {

namespace {

using Dictionary = CCMutableDictionary<std::string, CCObject*>;

// Length of the valid UTF-8 sequence at text[i], or 0 when the bytes there are not one.
size_t utf8SequenceLength(const std::string& text, size_t i) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t length = lead < 0x80           ? 1
                    : (lead >> 5) == 0x6  ? 2
                    : (lead >> 4) == 0xE  ? 3
                    : (lead >> 3) == 0x1E ? 4
                                          : 0;
    if (length == 0 || i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
    }
    if (length == 2 && lead < 0xC2) return 0; // overlong
    return length;
}

// Writes text so that the XML reader gives back the same bytes: markup characters become
// entities and a carriage return a character reference (readers fold line ends otherwise).
// Bytes XML cannot carry are changed rather than allowed to break the whole document: a stray
// byte that is not UTF-8 is taken as Latin-1, and control characters are dropped.
void appendEscaped(std::string& out, const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        switch (c) {
        case '&':
            out += "&amp;";
            ++i;
            continue;
        case '<':
            out += "&lt;";
            ++i;
            continue;
        case '>':
            out += "&gt;";
            ++i;
            continue;
        case '\r':
            out += "&#13;";
            ++i;
            continue;
        default:
            break;
        }
        if (c < 0x20 && c != '\t' && c != '\n') {
            ++i;
            continue;
        }
        size_t length = utf8SequenceLength(text, i);
        if (length == 0) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
            ++i;
            continue;
        }
        out.append(text, i, length);
        i += length;
    }
}

void appendArray(std::string& out, CCObject* array);

// Appends one value; false when the object is of a kind a property list cannot hold.
bool appendValue(std::string& out, CCObject* value) {
    if (!value) return false;
    if (value->isKindOf("CCMutableDictionary")) {
        if (auto* dictionary = dynamic_cast<Dictionary*>(value)) {
            appendPlistDictionary(out, dictionary);
            return true;
        }
        if (auto* strings = dynamic_cast<CCMutableDictionary<std::string, CCString*>*>(value)) {
            out += "<dict>\n";
            for (const std::string& key : strings->allKeys()) {
                out += "<key>";
                appendEscaped(out, key);
                out += "</key>\n<string>";
                appendEscaped(out, strings->objectForKey(key)->text);
                out += "</string>\n";
            }
            out += "</dict>\n";
            return true;
        }
        return false;
    }
    if (value->isKindOf("CCString")) {
        out += "<string>";
        appendEscaped(out, static_cast<CCString*>(value)->text);
        out += "</string>\n";
        return true;
    }
    if (value->isKindOf("CCMutableArray") && !value->isKindOf("CCArray")) {
        appendArray(out, value);
        return true;
    }
    return false;
}

template <typename T> bool appendArrayOf(std::string& out, CCObject* object) {
    auto* array = dynamic_cast<CCMutableArray<T>*>(object);
    if (!array) return false;
    out += "<array>\n";
    for (unsigned i = 0; i < array->count(); ++i)
        appendValue(out, array->objectAtIndex(i));
    out += "</array>\n";
    return true;
}

void appendArray(std::string& out, CCObject* array) {
    if (appendArrayOf<CCObject*>(out, array) || appendArrayOf<CCString*>(out, array) ||
        appendArrayOf<Dictionary*>(out, array)) {
        return;
    }
    logDebugMessage("engine: property list: an array of another element type is not written");
}

} // namespace

void appendPlistDictionary(std::string& out, Dictionary* dictionary) {
    out += "<dict>\n";
    if (dictionary) {
        for (const std::string& key : dictionary->allKeys()) {
            std::string value;
            if (!appendValue(value, dictionary->objectForKey(key))) {
                logDebugMessage("engine: property list: the value of key \"%s\" cannot be written",
                                key.c_str());
                continue;
            }
            out += "<key>";
            appendEscaped(out, key);
            out += "</key>\n";
            out += value;
        }
    }
    out += "</dict>\n";
}

void writePlistDictionary(FILE* file, Dictionary* dictionary) {
    if (!file) return;
    std::string text;
    appendPlistDictionary(text, dictionary);
    fwrite(text.data(), 1, text.size(), file);
}

void writePlistArray(FILE* file, CCMutableArray<CCObject*>* array) {
    if (!file) return;
    std::string text;
    if (array)
        appendArray(text, array);
    else
        text = "<array>\n</array>\n";
    fwrite(text.data(), 1, text.size(), file);
}

std::string plistDocumentForDictionary(Dictionary* dictionary) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                       "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                       "<plist version=\"1.0\">\n";
    appendPlistDictionary(text, dictionary);
    text += "</plist>\n";
    return text;
}

bool saveDictionaryToPlistFile(Dictionary* dictionary, const char* path) {
    if (!dictionary || !path || !*path) {
        logDebugMessage("engine: cannot save a property list: %s", dictionary ? "no path" : "no dictionary");
        return false;
    }
    // Scrambled in memory, so the plain text never reaches the disk.
    std::string text = plistDocumentForDictionary(dictionary);
    if (isScrambledDataPath(path)) {
        scrambleDataBuffer(reinterpret_cast<unsigned char*>(&text[0]), static_cast<unsigned>(text.size()));
    }
    return writeFileAtomically(path, text.data(), text.size());
}

} // namespace kvengine
