#pragma once
// What the program asks of the desktop at start: where its own files are, how the screen is
// proportioned, and the picture of its window in the task bar.
#include <string>

namespace kvengine {

/// The folder that holds the running executable, ending with '/'; "" when it cannot be found.
std::string programFolder();

/// Physical size of the primary screen, in millimetres, from the display's pixel size and its
/// horizontal and vertical densities. False when the display cannot be asked; the sizes are then
/// untouched.
bool screenPhysicalSize(float& widthMillimetres, float& heightMillimetres);

/// Sets the picture of the window whose GL context is current, from `width` x `height` RGBA
/// bytes (rows from the top). False, with a log line, without such a window or with bad input.
bool setCurrentWindowIcon(const unsigned char* rgba, int width, int height);

} // namespace kvengine
