#pragma once

#include <string>

namespace kvengine {

/// The user's preferred interface locale, most preferred first as the desktop reports it
/// ("de_DE", "fr", "pt_BR"...), or "" when nothing is known. Asks SDL's preferred-locale list and
/// falls back to the LC_ALL, LC_MESSAGES and LANG variables.
std::string userInterfaceLocale();

} // namespace kvengine
