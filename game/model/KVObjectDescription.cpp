#include "game/model/KVObjectDescription.h"

namespace kvdescription {

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    if (text.empty()) return pieces;
    size_t start = 0;
    size_t searchFrom = 1; // a separator in the very first place belongs to the first piece
    for (;;) {
        const size_t at = text.find(separator, searchFrom);
        if (at == std::string::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, at - start));
        start = at + 1;
        searchFrom = start;
    }
}

Pair splitPair(const std::string& piece, char separator) {
    Pair pair;
    const std::vector<std::string> pieces = split(piece, separator);
    if (pieces.size() < 2) return pair;
    // Pieces after the second are not read: "a=b=c" is the key "a" with the value "b".
    pair.key = pieces[0];
    pair.value = pieces[1];
    pair.valid = true;
    return pair;
}

} // namespace kvdescription
