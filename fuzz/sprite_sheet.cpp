// Feeds arbitrary bytes, read as a property list, to the sprite-frame cache as a sheet of each
// format: brace texts, aliases and frame entries of any shape must give frames or nothing.
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "engine/files/CCPlistReader.h"
#include "engine/sprites/CCSpriteFrame.h"
#include "engine/sprites/CCSpriteFrameCache.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace kvengine;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setDebugLogSink([](const std::string&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    CCAutoreleasePoolStack::getInstance().push();
    const char* text = reinterpret_cast<const char*>(data);
    const std::string raw(text, size);
    CCRectFromString(raw.c_str());
    CCPointFromString(raw.c_str());
    if (auto* sheet = dictionaryWithContentsOfData(text, static_cast<unsigned>(size))) {
        auto* cache = new CCSpriteFrameCache();
        cache->addSpriteFramesWithDictionary(sheet, nullptr);
        for (const std::string& name : sheet->allKeys())
            cache->findSpriteFrameByName(name.c_str());
        cache->findSpriteFrameByName("idle");
        cache->removeSpriteFramesFromDictionary(sheet);
        cache->release();
    }
    CCAutoreleasePoolStack::getInstance().pop();
    return 0;
}
