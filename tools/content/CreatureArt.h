#pragma once
// Drawing programs of the creatures: the kelvos (round sea creatures with fins, a tuft
// and big eyes) and the crustacean enemies. Each animation frame is a pose computed
// from the animation word and the frame's place in it, drawn with cairo at content
// scale 2 (one point is two texels).
#include <string>
#include <vector>

#include "tools/content/SpriteSheet.h"

namespace kvcontent {

/// An animation of a creature sheet: the frame word and its frame count.
struct AnimationSpec {
    std::string word;
    int frames;
};

/// The frames of a kelvo sheet: "<sprite>_<word>_NN.png" for every animation the
/// creature views ask for, with the counts of the "kelvo" animation settings.
std::vector<SheetFrame> drawKelvoFrames(const std::string& sprite,
                                        const std::vector<AnimationSpec>& animations);

/// The frames of a crustacean sheet ("crab", "shrimp" or "hermit").
std::vector<SheetFrame> drawCrustaceanFrames(const std::string& sprite,
                                             const std::vector<AnimationSpec>& animations);

/// The frames of a helmet sheet: "<helmet>_<word>_NN.png" for the same animations as the
/// kelvos, drawn so that at the view's helmet scale (0.85) over the body sprite the
/// helmet sits on the head in every pose. Empty for an unknown helmet.
std::vector<SheetFrame> drawHelmetFrames(const std::string& helmet,
                                         const std::vector<AnimationSpec>& animations);

/// The front-end icon "<helmet>_frontend_01.png" of a helmet (48 x 48 points) for the portrait
/// lists; a frame without name for an unknown helmet.
SheetFrame drawHelmetIcon(const std::string& helmet);
/// A helmet alone, centred in a square of `size` texels, as the frame `frameName`.
SheetFrame drawHelmetPicture(const std::string& helmet, int size, const std::string& frameName);

/// True when drawKelvoFrames knows the look of this sprite name.
bool hasKelvoLook(const std::string& sprite);
/// True when the helmet drawing program knows `helmet`.
bool hasHelmetDrawing(const std::string& helmet);

} // namespace kvcontent
