// The system clock over SDL's performance counter.
#include "engine/platform/CCClock.h"

#include <SDL2/SDL.h>

namespace kvengine {

int64_t CCSystemClock::counter() {
    return static_cast<int64_t>(SDL_GetPerformanceCounter());
}

int64_t CCSystemClock::frequency() {
    const int64_t f = static_cast<int64_t>(SDL_GetPerformanceFrequency());
    return f > 0 ? f : 1;
}

void CCSystemClock::yield() {
    SDL_Delay(0);
}

} // namespace kvengine
