#include "engine/platform/CCDesktop.h"

#include "engine/platform/CCPlatformLog.h"

#include <SDL2/SDL.h>

namespace kvengine {

std::string programFolder() {
    char* base = SDL_GetBasePath();
    if (base == nullptr) {
        platformLog("desktop: the program's folder is unknown: %s", SDL_GetError());
        return "";
    }
    std::string folder = base;
    SDL_free(base);
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

bool screenPhysicalSize(float& widthMillimetres, float& heightMillimetres) {
    // Asking for displays needs the video subsystem; it is reference-counted, so this start and
    // stop leave the window's own use of it alone.
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        platformLog("desktop: no video subsystem: %s", SDL_GetError());
        return false;
    }
    bool known = false;
    SDL_DisplayMode mode;
    float horizontalDpi = 0.0f;
    float verticalDpi = 0.0f;
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w > 0 && mode.h > 0 &&
        SDL_GetDisplayDPI(0, nullptr, &horizontalDpi, &verticalDpi) == 0 && horizontalDpi > 0.0f &&
        verticalDpi > 0.0f) {
        widthMillimetres = static_cast<float>(mode.w) / horizontalDpi * 25.4f;
        heightMillimetres = static_cast<float>(mode.h) / verticalDpi * 25.4f;
        known = true;
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return known;
}

bool setCurrentWindowIcon(const unsigned char* rgba, int width, int height) {
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    if (window == nullptr || rgba == nullptr || width <= 0 || height <= 0) {
        platformLog("desktop: window icon not set (no window or no picture)");
        return false;
    }
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<unsigned char*>(rgba), width, height,
                                                              32, width * 4, SDL_PIXELFORMAT_RGBA32);
    if (surface == nullptr) {
        platformLog("desktop: window icon not set: %s", SDL_GetError());
        return false;
    }
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
    return true;
}

bool openWebPageInSystemBrowser(const std::string& address) {
    if (SDL_OpenURL(address.c_str()) != 0) {
        platformLog("desktop: the browser did not take %s: %s", address.c_str(), SDL_GetError());
        return false;
    }
    return true;
}

} // namespace kvengine
