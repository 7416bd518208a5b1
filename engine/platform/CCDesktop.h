#pragma once
// What the program asks of the desktop: where its own files are, how the screen is proportioned,
// the picture of its window in the task bar, and web pages opened in the user's browser.
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

/// True for an address the program may hand to a browser: "http://" or "https://", then a host,
/// at most 2048 bytes, without spaces or control characters.
bool isWebPageAddress(const std::string& address);

/// How web pages are opened: true when the page was handed on.
using CCWebPageOpener = bool (*)(const std::string& address);

/// Opens `address` in the user's web browser (through the opener set, else the system's). False,
/// with a log line, for an address isWebPageAddress refuses or when the opener fails.
bool openWebPage(const std::string& address);

/// Replaces the way pages are opened (tests and the headless driver record the address instead);
/// null puts the system's browser back. Returns the opener replaced (null: the system's).
CCWebPageOpener setWebPageOpener(CCWebPageOpener opener);

/// The system's own opener (SDL's): hands a checked address to the user's browser.
bool openWebPageInSystemBrowser(const std::string& address);

} // namespace kvengine
