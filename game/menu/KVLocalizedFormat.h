#pragma once

#include <initializer_list>
#include <string>

#include "engine/base/CCWideFormat.h"

namespace kvengine {
class CCString;
}

/// Localised texts that are format texts: "Pop Up Kelvo Bought" = "%s joins your team!".
///
/// A format text comes from a translation table, which a translator can get wrong. Before a text
/// is filled, its conversions are held against the arguments the caller passes (their number and
/// kinds: %d, %i, %u, %x, %X and %c take an integer, %s a text, %% nothing): a translation that does
/// not match is logged and the English table's text is used instead; when that does not match
/// either, or the key is in neither table, the result is null.
namespace kvformat {

/// Whether `format` takes exactly the arguments `args`, in order.
bool formatTakes(const std::u16string& format, std::initializer_list<kvengine::CCWideArg> args);

/// The localised format text of `key` filled with `args`, as a new autoreleased string; null (and
/// a log line) when no table has a text for the key that takes these arguments.
kvengine::CCString* formatLocalized(const std::string& key, std::initializer_list<kvengine::CCWideArg> args);

/// The text filled with `args`, with no length limit; the caller has checked it with formatTakes.
std::u16string fillFormat(const std::u16string& format, std::initializer_list<kvengine::CCWideArg> args);

} // namespace kvformat
