#pragma once

#include <functional>
#include <memory>
#include <string>

class AppDelegate;

/// The program's start and end around the run loop:
/// 1. another copy of the game running for this user (the lock file in the user's data folder is
///    held): returns 0 at once, silently;
/// 2. the lock cannot be taken at all: returns 1 with a message on standard error;
/// 3. `resourceRoot` becomes the resource root (the current directory stays the root when it is
///    empty or refused);
/// 4. builds the delegate with `makeDelegate`, runs it, destroys it (which releases the game's
///    shared objects), then ends the engine; returns the run loop's exit code.
/// `lockPath` empty: CCInstanceLock::defaultPath().
int kvRunProgram(const std::string& resourceRoot,
                 const std::function<std::unique_ptr<AppDelegate>()>& makeDelegate,
                 const std::string& lockPath = "");
