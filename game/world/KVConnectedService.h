#pragma once

#include "engine/base/CCLog.h"

/// How code reaches a shared service that lives on a floor above it (the data layer asking the
/// shop's catalogue, the dialogues or the menus): the lower floor declares what it needs as an
/// interface deriving from KVConnectedService<Interface>, the service above implements it, and the
/// application installs, once at start, where the shared one comes from. The lower floor never
/// includes the service's own header.
///
/// Interface must define `static constexpr const char* kServiceName` for the log line.
template <typename Interface> class KVConnectedService {
public:
    using Source = Interface* (*)();

    /// The shared service from the installed source (which may create it); null, with one log line
    /// per installation, while no source is installed.
    static Interface* shared() {
        if (s_source == nullptr) {
            if (!s_missingLogged)
                kvengine::logDebugMessage("game: no %s is connected", Interface::kServiceName);
            s_missingLogged = true;
            return nullptr;
        }
        return s_source();
    }
    /// The shared service when it has been made; null otherwise or while no source is installed.
    /// Never makes it.
    static Interface* existing() { return s_existingSource != nullptr ? s_existingSource() : nullptr; }
    /// Installs where shared() and existing() take the service from; null disconnects it.
    static void setSharedSource(Source source, Source existingSource = nullptr) {
        s_source = source;
        s_existingSource = existingSource;
        s_missingLogged = false;
    }

protected:
    ~KVConnectedService() = default;

private:
    inline static Source s_source = nullptr;
    inline static Source s_existingSource = nullptr;
    inline static bool s_missingLogged = false;
};
