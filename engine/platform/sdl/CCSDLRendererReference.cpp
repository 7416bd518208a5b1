// SDL_Renderer back end of the benchmark reference drawer.
#include "engine/platform/CCPlatformLog.h"
#include "engine/platform/CCRendererReference.h"

#include <SDL2/SDL.h>

namespace kvengine {

struct CCRendererReference::State {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int height = 0;
};

namespace {

// The SDL renderer makes its own GL context current; the caller's comes back on scope exit.
class KeepCurrentContext {
public:
    KeepCurrentContext() : m_window(SDL_GL_GetCurrentWindow()), m_context(SDL_GL_GetCurrentContext()) {}
    ~KeepCurrentContext() {
        if (m_window && m_context) SDL_GL_MakeCurrent(m_window, m_context);
    }
    KeepCurrentContext(const KeepCurrentContext&) = delete;
    KeepCurrentContext& operator=(const KeepCurrentContext&) = delete;

private:
    SDL_Window* m_window;
    SDL_GLContext m_context;
};

} // namespace

CCRendererReference::CCRendererReference() : m_state(new State()) {}

CCRendererReference::~CCRendererReference() {
    close();
}

bool CCRendererReference::isOpen() const {
    return m_state->renderer != nullptr;
}

bool CCRendererReference::open(int width, int height, const uint8_t* rgba, int texWidth, int texHeight) {
    close();
    if (!rgba || width <= 0 || height <= 0 || texWidth <= 0 || texHeight <= 0) {
        platformLog("renderer reference: bad arguments");
        return false;
    }
    KeepCurrentContext keep;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        platformLog("renderer reference: video start-up failed: %s", SDL_GetError());
        return false;
    }
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear"); // the engine's textures filter linearly too
    m_state->window = SDL_CreateWindow("renderer reference", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                       width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (m_state->window)
        m_state->renderer = SDL_CreateRenderer(m_state->window, -1, SDL_RENDERER_ACCELERATED);
    if (m_state->renderer) {
        m_state->texture = SDL_CreateTexture(m_state->renderer, SDL_PIXELFORMAT_ABGR8888,
                                             SDL_TEXTUREACCESS_STATIC, texWidth, texHeight);
        if (m_state->texture) {
            SDL_UpdateTexture(m_state->texture, nullptr, rgba, texWidth * 4);
            SDL_SetTextureBlendMode(m_state->texture, SDL_BLENDMODE_BLEND);
        }
    }
    if (!m_state->texture) {
        platformLog("renderer reference: cannot open: %s", SDL_GetError());
        close();
        return false;
    }
    m_state->height = height;
    return true;
}

void CCRendererReference::close() {
    if (!m_state) return;
    KeepCurrentContext keep;
    if (m_state->texture) SDL_DestroyTexture(m_state->texture);
    if (m_state->renderer) SDL_DestroyRenderer(m_state->renderer);
    if (m_state->window) SDL_DestroyWindow(m_state->window);
    const bool wasOpen = m_state->window != nullptr;
    m_state->texture = nullptr;
    m_state->renderer = nullptr;
    m_state->window = nullptr;
    if (wasOpen) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

const char* CCRendererReference::rendererName() const {
    SDL_RendererInfo info;
    if (!m_state->renderer || SDL_GetRendererInfo(m_state->renderer, &info) != 0) return "";
    return info.name;
}

void CCRendererReference::drawFrame(const float* xy, const int* sourceXY, int count, int sw, int sh) {
    if (!m_state->renderer || !xy || !sourceXY || count <= 0) return;
    KeepCurrentContext keep;
    SDL_Renderer* renderer = m_state->renderer;
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    const float height = static_cast<float>(m_state->height);
    for (int i = 0; i < count; ++i) {
        // SDL's y runs downwards: the lower-left corner at y becomes a top edge at height - y - sh.
        const SDL_FRect target{xy[2 * i], height - xy[2 * i + 1] - static_cast<float>(sh),
                               static_cast<float>(sw), static_cast<float>(sh)};
        const SDL_Rect source{sourceXY[2 * i], sourceXY[2 * i + 1], sw, sh};
        SDL_RenderCopyF(renderer, m_state->texture, &source, &target);
    }
    const SDL_Rect one{0, 0, 1, 1};
    uint32_t pixel = 0;
    SDL_RenderReadPixels(renderer, &one, SDL_PIXELFORMAT_ABGR8888, &pixel, 4);
}

} // namespace kvengine
