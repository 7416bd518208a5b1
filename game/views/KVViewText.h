#pragma once

#include <initializer_list>
#include <string>

namespace kvviewtext {

/// How many printf conversions `format` holds when every one is an integer conversion ("%d" or
/// "%i", flags and width allowed; "%%" is a plain percent sign); -1 when any conversion is of
/// another kind or is cut off at the end.
int countIntegerConversions(const std::string& format);

/// The localised text of `key` filled with `values` in order. A text whose conversions are not
/// exactly that many integer ones is not used as a format: the English table's text is tried
/// next, then the key itself (without any value), each refusal logged once per key.
std::string formatLocalised(const char* key, std::initializer_list<int> values);

/// The folder of the English table, which the fallback reads; tests point it elsewhere.
void setEnglishTablePath(const std::string& path);

} // namespace kvviewtext
