#include "engine/platform/CCUserLanguage.h"

#include <cstdlib>

#include <SDL2/SDL.h>

namespace kvengine {

std::string userInterfaceLocale() {
    if (SDL_Locale* locales = SDL_GetPreferredLocales()) {
        std::string result;
        if (locales[0].language != nullptr) {
            result = locales[0].language;
            if (locales[0].country != nullptr) result += std::string("_") + locales[0].country;
        }
        SDL_free(locales);
        if (!result.empty()) return result;
    }
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return value;
    }
    return "";
}

} // namespace kvengine
