#include "engine/base/CCSharedRegistry.h"

#include <algorithm>
#include <vector>

#include "engine/base/CCLog.h"

namespace kvengine {

namespace {

struct Entry {
    CCSharedRegistry::ReleaseFunction release;
    unsigned stages;
};

// Made on first use and never destroyed: shared objects may be released during static destruction.
std::vector<Entry>& entries() {
    static auto* list = new std::vector<Entry>();
    return *list;
}

// More releases than this in one call means some release keeps registering new objects.
constexpr unsigned kMaxReleasesPerCall = 10000;

} // namespace

void CCSharedRegistry::add(ReleaseFunction release, unsigned stages) {
    if (release == nullptr) return;
    remove(release);
    entries().push_back(Entry{release, stages});
}

void CCSharedRegistry::remove(ReleaseFunction release) {
    std::vector<Entry>& list = entries();
    list.erase(
        std::remove_if(list.begin(), list.end(), [release](const Entry& e) { return e.release == release; }),
        list.end());
}

bool CCSharedRegistry::contains(ReleaseFunction release) {
    const std::vector<Entry>& list = entries();
    return std::any_of(list.begin(), list.end(), [release](const Entry& e) { return e.release == release; });
}

unsigned CCSharedRegistry::count(unsigned stages) {
    const std::vector<Entry>& list = entries();
    return static_cast<unsigned>(std::count_if(
        list.begin(), list.end(), [stages](const Entry& e) { return (e.stages & stages) != 0; }));
}

void CCSharedRegistry::releaseAll(unsigned stages) {
    std::vector<Entry>& list = entries();
    for (unsigned released = 0; released < kMaxReleasesPerCall; ++released) {
        auto newest = std::find_if(list.rbegin(), list.rend(),
                                   [stages](const Entry& e) { return (e.stages & stages) != 0; });
        if (newest == list.rend()) return;
        const ReleaseFunction release = newest->release;
        list.erase(std::next(newest).base());
        release();
    }
    logDebugMessage(
        "CCSharedRegistry::releaseAll: stopped after %u releases; shared objects keep coming back",
        kMaxReleasesPerCall);
}

} // namespace kvengine
