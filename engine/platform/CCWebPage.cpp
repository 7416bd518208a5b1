#include "engine/platform/CCDesktop.h"

#include <string>

#include "engine/base/CCLog.h"

namespace kvengine {

namespace {

CCWebPageOpener s_opener = nullptr;

constexpr size_t kMaxAddressLength = 2048;

bool startsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

} // namespace

bool isWebPageAddress(const std::string& address) {
    if (address.size() > kMaxAddressLength) return false;
    size_t hostStart = 0;
    if (startsWith(address, "https://"))
        hostStart = 8;
    else if (startsWith(address, "http://"))
        hostStart = 7;
    else
        return false;
    if (hostStart >= address.size() || address[hostStart] == '/') return false;
    for (char c : address) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F) return false;
    }
    return true;
}

bool openWebPage(const std::string& address) {
    if (!isWebPageAddress(address)) {
        logDebugMessage("web page: \"%.80s\" is not a web address; not opened", address.c_str());
        return false;
    }
    const bool opened = s_opener != nullptr ? s_opener(address) : openWebPageInSystemBrowser(address);
    if (!opened) logDebugMessage("web page: %s could not be opened", address.c_str());
    return opened;
}

CCWebPageOpener setWebPageOpener(CCWebPageOpener opener) {
    CCWebPageOpener previous = s_opener;
    s_opener = opener;
    return previous;
}

} // namespace kvengine
