#pragma once

namespace kvengine {

/// When a shared object is released. A shared object names one or more of these (combined with |).
enum CCReleaseStage : unsigned {
    /// The director's purge, the frame after the window closed: the scene caches, the scheduler and
    /// the action manager.
    kReleasedWithDirectorPurge = 1u << 0,
    /// CCDirector::destroyInstance, the engine's shutdown: the director and the input dispatchers.
    kReleasedWithEngine = 1u << 1,
    /// The application's shutdown: the notification centre, the settings, the localisation table and
    /// every game service.
    kReleasedWithApplication = 1u << 2,
    /// A new content scale factor: what was built at the old scale (the texture cache).
    kReleasedOnContentScaleChange = 1u << 3,
};

/// The shared objects alive now, each with the function that releases it and the stages at which
/// that happens, in creation order.
///
/// A stage releases its objects newest first, so an object made while another was being built (and
/// used by it) outlives its user. An object made while a stage releases (a destructor that asks for
/// a service already gone) is released by the same stage, so nothing is left behind.
/// CCSingleton registers and unregisters its instances; other code rarely calls this directly.
class CCSharedRegistry {
public:
    /// Releases one shared object and forgets it; must call remove() for its own entry.
    using ReleaseFunction = void (*)();

    /// Registers `release` for `stages`; an entry already present moves to the newest place.
    static void add(ReleaseFunction release, unsigned stages);
    /// Forgets the entry; nothing when absent.
    static void remove(ReleaseFunction release);
    static bool contains(ReleaseFunction release);
    /// Number of entries released at any of `stages`.
    static unsigned count(unsigned stages);
    /// Releases, newest first, every entry released at any of `stages`, including entries added
    /// meanwhile. Each entry is taken off before its function runs, so a release that refuses (or
    /// re-registers without end) cannot loop forever.
    static void releaseAll(unsigned stages);
};

} // namespace kvengine
