#include "engine/platform/CCAudioBackend.h"

#include <algorithm>

namespace kvengine {

float clampAudioVolume(float volume) {
    if (!(volume > 0.0f)) return 0.0f; // also NaN
    return std::min(volume, 1.0f);
}

} // namespace kvengine
