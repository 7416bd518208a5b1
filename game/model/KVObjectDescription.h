#pragma once

#include <string>
#include <vector>

/// The object description that a level drawing attaches to a shape ("game_data"): parts separated
/// by ",", each a key and a value separated by "="; key "object" names the level object, key
/// "objectparams" holds its parameters as pairs separated by ";", each a key and a value separated
/// by ":". Nothing is trimmed: spaces belong to the names and values.
namespace kvdescription {

/// The runs of `text` between the separators, in order, empty runs included (a separator at the
/// end gives an empty last piece). The search starts at the second character, so a separator that
/// is the very first character belongs to the first piece. An empty text gives no pieces.
std::vector<std::string> split(const std::string& text, char separator);

/// A key and its value; `valid` is false for a piece without its separator.
struct Pair {
    std::string key;
    std::string value;
    bool valid = false;
};

/// The first two pieces of `piece` split at `separator`: the key and the value (further pieces
/// are not read).
Pair splitPair(const std::string& piece, char separator);

} // namespace kvdescription
