// Feeds arbitrary bytes to the property-list readers. Whatever tree comes out must be writable as
// a document that parses again: the writer may never produce text its own reader refuses.
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "engine/files/CCPlistReader.h"
#include "engine/files/CCPlistWriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace kvengine;

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
        dictionaryWithContentsOfData(document.data(), static_cast<unsigned>(document.size()), &wellFormed);
        if (!wellFormed) abort();
    }
    CCAutoreleasePoolStack::getInstance().pop();
    return 0;
}
