// Feeds arbitrary bytes to the property-list readers. Whatever tree comes out must be writable as
// a document that reads back as the same tree: the writer may never produce text its own reader
// refuses, and the reader may never lose what the writer wrote (empty texts and keys included).
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "engine/files/CCPlistReader.h"
#include "engine/files/CCPlistWriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace kvengine;

namespace {

using Dictionary = CCMutableDictionary<std::string, CCObject*>;
using Array = CCMutableArray<CCObject*>;

bool sameTree(CCObject* a, CCObject* b) {
    if (a == nullptr || b == nullptr) return a == b;
    if (auto* textA = dynamic_cast<CCString*>(a)) {
        auto* textB = dynamic_cast<CCString*>(b);
        return textB != nullptr && textA->text == textB->text;
    }
    if (auto* arrayA = dynamic_cast<Array*>(a)) {
        auto* arrayB = dynamic_cast<Array*>(b);
        if (arrayB == nullptr || arrayA->count() != arrayB->count()) return false;
        for (unsigned i = 0; i < arrayA->count(); ++i)
            if (!sameTree(arrayA->objectAtIndex(i), arrayB->objectAtIndex(i))) return false;
        return true;
    }
    auto* dictionaryA = dynamic_cast<Dictionary*>(a);
    auto* dictionaryB = dynamic_cast<Dictionary*>(b);
    if (dictionaryA == nullptr || dictionaryB == nullptr) return false;
    if (dictionaryA->allKeys() != dictionaryB->allKeys()) return false;
    for (const std::string& key : dictionaryA->allKeys())
        if (!sameTree(dictionaryA->objectForKey(key), dictionaryB->objectForKey(key))) return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setDebugLogSink([](const std::string&) {}); // bad input is expected here; keep the output quiet
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    CCAutoreleasePoolStack::getInstance().push();
    const char* text = reinterpret_cast<const char*>(data);
    auto* dictionary = dictionaryWithContentsOfData(text, static_cast<unsigned>(size));
    arrayWithContentsOfData(text, static_cast<unsigned>(size));
    if (dictionary) {
        std::string document = plistDocumentForDictionary(dictionary);
        bool wellFormed = false;
        auto* again = dictionaryWithContentsOfData(document.data(), static_cast<unsigned>(document.size()),
                                                   &wellFormed);
        if (!wellFormed || !sameTree(dictionary, again)) abort();
    }
    CCAutoreleasePoolStack::getInstance().pop();
    return 0;
}
