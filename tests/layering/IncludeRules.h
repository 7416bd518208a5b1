#pragma once

// The include-rule checker: reads the #include lines of the tree and checks them against the
// layering written in include-rules.txt (the README's Layout section explains it).

#include <map>
#include <string>
#include <vector>

namespace kvlayering {

/// One #include line.
struct Include {
    int line = 0;
    std::string name;    ///< as written between the quotes or angle brackets
    bool angled = false; ///< <...> rather than "..."
};

/// path (relative to the tree's root, '/' separators) -> the file's includes in order.
using Tree = std::map<std::string, std::vector<Include>>;

/// Where an outside library may be seen.
struct LibraryRule {
    std::string prefix;               ///< include names starting with it ("SDL2/", "box2d/")
    bool reach = false;               ///< also through the tree's own headers, not just directly
    std::vector<std::string> allowed; ///< paths (see pathMatches) that may include it
};

/// Includes of `from` files that must not name `to` files.
struct Forbidden {
    std::string from;
    std::string to;
};

/// A file (or files) allowed to include more than its layer permits.
struct Exception {
    std::string from;
    std::vector<std::string> to;
};

/// Files under `folder` may be included only by files under `users`.
struct Private {
    std::string folder;
    std::vector<std::string> users;
};

struct Rules {
    /// Layers, lowest first; each a list of paths.
    std::vector<std::pair<std::string, std::vector<std::string>>> layers;
    /// Every file under these roots must belong to a layer.
    std::vector<std::string> layeredRoots;
    std::vector<Exception> exceptions;
    std::vector<LibraryRule> libraries;
    std::vector<Forbidden> forbidden;
    std::vector<Private> privates;
};

/// True when `path` is `pattern`, lies below the folder `pattern`, or starts with `pattern` less a
/// final '*'.
bool pathMatches(const std::string& pattern, const std::string& path);

/// Parses the rules text. False, with one message per bad line in `errors`, on a malformed line.
bool parseRules(const std::string& text, Rules& rules, std::vector<std::string>& errors);

/// The #include lines of a source text (line comments and block comments skipped).
std::vector<Include> readIncludes(const std::string& text);

/// Reads every C and C++ source and header under the given folders of `root`.
Tree scanTree(const std::string& root, const std::vector<std::string>& folders);

/// Every broken rule, one message each ("path:line: ..."), in path order; empty when the tree obeys.
std::vector<std::string> checkTree(const Rules& rules, const Tree& tree);

} // namespace kvlayering
