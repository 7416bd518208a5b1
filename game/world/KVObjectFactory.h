#pragma once

#include <new>
#include <string>

#include "engine/base/CCObject.h"

/// Makes game objects from class names written in data: actor views, spawned enemies,
/// environment layers, help cases, power-ups.
///
/// A process-wide registry from class name (byte-wise, case-sensitive) to a creator. The
/// application registers the game's classes once at start; lookups are read-only afterwards.
class KVObjectFactory {
public:
    /// Allocates one object of its class and runs only its constructor; null when allocation fails.
    using Creator = kvengine::CCObject* (*)();

    /// The creator of class T (default-constructible, a CCObject).
    template <typename T> static kvengine::CCObject* creatorOf() { return new (std::nothrow) T(); }

    /// registry[className] := creator; an existing entry is replaced. Null name or creator: logged.
    static void registerCreator(const char* className, Creator creator);
    /// Registers every game class built so far. Called once, first thing at application start.
    /// Defined with the table of classes in game/app/KVGameClasses.cpp: only the application knows
    /// every class, and this folder stays below the ones that define them.
    static void registerGameClasses();
    /// A new object of the named class (count 1, not autoreleased: the caller owns it and runs its
    /// init operation), or null, logged, for a name that is not registered.
    static kvengine::CCObject* create(const std::string& className);
    /// True when the name is registered.
    static bool isRegistered(const std::string& className);
};
