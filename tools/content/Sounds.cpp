#include "tools/content/ContentSteps.h"

namespace kvcontent {
bool buildSounds(const BuildPaths&) { return true; }
}  // namespace kvcontent
