#pragma once

/// Gives the game window (the one whose GL context is current) its picture: a square cut from
/// the splash picture "splash.png" around the orange kelvo at its middle. False, with a log
/// line, when the picture cannot be read or no window is open; the window then keeps the
/// desktop's default picture.
bool kvWindowIconFromSplash();
