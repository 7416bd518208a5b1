#pragma once

namespace kvengine {
class CCSprite;
}

/// The tutorial's pointing hand: a sprite of "doubletap01.png" that, for ever, fades in over
/// 0.1 s, taps through the frames "doubletap01.png" .. "doubletap09.png" at 0.1 s each (the first
/// frame shown again at the end), fades out over 0.1 s and waits 2 s. The caller places it (z 1010
/// over what it points at). Autoreleased; null (logged by the frame cache) when the frames are not
/// loaded.
kvengine::CCSprite* createDoubleTapHint();
