// Feeds arbitrary bytes to the ".strings" parser: it must stay inside the data and keep every
// value within its length limit.
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace kvengine;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setDebugLogSink([](const std::string&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CCAutoreleasePoolStack::getInstance().push();
    auto* table = new CCLocalizationManager();
    if (!table->parseStringsData(data, static_cast<unsigned>(size))) abort();
    for (const char* key : {"k", "title", ""}) {
        if (CCString* value = table->stringForKey(key)) {
            const char16_t* wide = value->wideString();
            if (!wide) abort();
            if (std::u16string(wide).size() > CCLocalizationManager::kMaxValueUnits) abort();
        }
    }
    table->release();
    CCAutoreleasePoolStack::getInstance().pop();
    return 0;
}
