#include "IncludeRules.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <sstream>

namespace kvlayering {

namespace {

namespace fs = std::filesystem;

std::vector<std::string> wordsOf(const std::string& line) {
    std::istringstream in(line.substr(0, line.find('#')));
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

bool anyMatches(const std::vector<std::string>& patterns, const std::string& path) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&path](const std::string& pattern) { return pathMatches(pattern, path); });
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// "a/./b/../c" -> "a/c", so includes written relative to their file find it in the tree.
std::string normalised(const std::string& path) {
    std::vector<std::string> parts;
    std::stringstream in(path);
    for (std::string part; std::getline(in, part, '/');) {
        if (part.empty() || part == ".") continue;
        if (part == ".." && !parts.empty() && parts.back() != "..") {
            parts.pop_back();
        } else {
            parts.push_back(part);
        }
    }
    std::string result;
    for (const std::string& part : parts)
        result += (result.empty() ? "" : "/") + part;
    return result;
}

class Checker {
public:
    Checker(const Rules& rules, const Tree& tree) : m_rules(rules), m_tree(tree) {}

    std::vector<std::string> run() {
        for (const auto& [path, includes] : m_tree)
            checkFile(path, includes);
        return m_messages;
    }

private:
    // The tree file an include names, or "" for an outside header.
    std::string resolve(const std::string& from, const Include& include) const {
        if (include.angled) return "";
        for (const std::string& candidate : {normalised(folderOf(from) + include.name),
                                             normalised(include.name), normalised("tests/" + include.name)}) {
            if (m_tree.count(candidate) != 0) return candidate;
        }
        return "";
    }

    // Index of the layer of the longest entry holding `path`; -1 for none.
    int layerOf(const std::string& path) const {
        int best = -1;
        std::size_t bestLength = 0;
        for (std::size_t i = 0; i < m_rules.layers.size(); ++i) {
            for (const std::string& entry : m_rules.layers[i].second) {
                if (pathMatches(entry, path) && entry.size() >= bestLength) {
                    best = static_cast<int>(i);
                    bestLength = entry.size();
                }
            }
        }
        return best;
    }

    bool isException(const std::string& from, const std::string& to) const {
        for (const Exception& exception : m_rules.exceptions) {
            if (pathMatches(exception.from, from) && anyMatches(exception.to, to)) return true;
        }
        return false;
    }

    void report(const std::string& path, int line, const std::string& what) {
        m_messages.push_back(path + ":" + std::to_string(line) + ": " + what);
    }

    void checkFile(const std::string& path, const std::vector<Include>& includes) {
        const int layer = layerOf(path);
        if (layer < 0 && anyMatches(m_rules.layeredRoots, path)) {
            report(path, 1,
                   "belongs to no layer: place its folder in a layer of tests/layering/include-rules.txt");
        }
        for (const Include& include : includes) {
            const std::string target = resolve(path, include);
            if (target.empty()) {
                checkLibrary(path, include.line, include.name, "");
                continue;
            }
            const int targetLayer = layerOf(target);
            if (layer >= 0 && targetLayer > layer && !isException(path, target)) {
                report(path, include.line,
                       "includes " + target + ": layer " + m_rules.layers[targetLayer].first +
                           " lies above " + m_rules.layers[layer].first);
            }
            for (const Forbidden& rule : m_rules.forbidden) {
                if (pathMatches(rule.from, path) && pathMatches(rule.to, target))
                    report(path, include.line,
                           "includes " + target + ": " + rule.from + " never includes " + rule.to);
            }
            for (const Private& rule : m_rules.privates) {
                if (pathMatches(rule.folder, target) && !anyMatches(rule.users, path))
                    report(path, include.line,
                           "includes " + target + ": " + rule.folder + " is private to its users");
            }
        }
        checkReach(path);
    }

    const LibraryRule* libraryFor(const std::string& name) const {
        for (const LibraryRule& rule : m_rules.libraries) {
            if (name.compare(0, rule.prefix.size(), rule.prefix) == 0) return &rule;
        }
        return nullptr;
    }

    void checkLibrary(const std::string& path, int line, const std::string& name,
                      const std::string& through) {
        const LibraryRule* rule = libraryFor(name);
        if (rule == nullptr || anyMatches(rule->allowed, path)) return;
        if (through.empty()) {
            report(path, line, "includes <" + name + ">, which only " + joined(rule->allowed) + " may see");
        } else {
            report(path, line,
                   "sees <" + name + "> through " + through + ", which only " + joined(rule->allowed) +
                       " may see (forward-declare instead)");
        }
    }

    // Outside headers that reach the file through the tree's own headers.
    void checkReach(const std::string& path) {
        std::set<std::string> seen{path};
        std::set<std::string> reported;
        std::function<void(const std::string&, const std::string&, int)> walk =
            [&](const std::string& file, const std::string& chain, int firstLine) {
                for (const Include& include : m_tree.at(file)) {
                    const std::string target = resolve(file, include);
                    const int line = file == path ? include.line : firstLine;
                    if (target.empty()) {
                        const LibraryRule* rule = libraryFor(include.name);
                        if (file != path && rule != nullptr && rule->reach &&
                            reported.insert(rule->prefix).second)
                            checkLibrary(path, line, include.name, chain);
                        continue;
                    }
                    if (!seen.insert(target).second) continue;
                    walk(target, chain.empty() ? target : chain + " -> " + target, line);
                }
            };
        walk(path, "", 0);
    }

    static std::string joined(const std::vector<std::string>& items) {
        std::string text;
        for (const std::string& item : items)
            text += (text.empty() ? "" : ", ") + item;
        return text;
    }

    const Rules& m_rules;
    const Tree& m_tree;
    std::vector<std::string> m_messages;
};

} // namespace

bool pathMatches(const std::string& pattern, const std::string& path) {
    if (pattern.empty()) return false;
    if (pattern.back() == '*')
        return path.compare(0, pattern.size() - 1, pattern, 0, pattern.size() - 1) == 0;
    if (path == pattern) return true;
    return path.size() > pattern.size() && path.compare(0, pattern.size(), pattern) == 0 &&
           path[pattern.size()] == '/';
}

bool parseRules(const std::string& text, Rules& rules, std::vector<std::string>& errors) {
    std::istringstream in(text);
    int number = 0;
    const std::size_t errorsBefore = errors.size();
    for (std::string line; std::getline(in, line);) {
        ++number;
        const std::vector<std::string> words = wordsOf(line);
        if (words.empty()) continue;
        const std::string& verb = words[0];
        const std::vector<std::string> rest(words.begin() + 1, words.end());
        if (verb == "layer" && rest.size() >= 2) {
            rules.layers.emplace_back(rest[0], std::vector<std::string>(rest.begin() + 1, rest.end()));
        } else if (verb == "layered" && !rest.empty()) {
            rules.layeredRoots.insert(rules.layeredRoots.end(), rest.begin(), rest.end());
        } else if (verb == "allow" && rest.size() >= 2) {
            rules.exceptions.push_back({rest[0], std::vector<std::string>(rest.begin() + 1, rest.end())});
        } else if (verb == "library" && rest.size() >= 3 && (rest[1] == "direct" || rest[1] == "reach")) {
            rules.libraries.push_back(
                {rest[0], rest[1] == "reach", std::vector<std::string>(rest.begin() + 2, rest.end())});
        } else if (verb == "forbid" && rest.size() == 2) {
            rules.forbidden.push_back({rest[0], rest[1]});
        } else if (verb == "private" && rest.size() >= 2) {
            rules.privates.push_back({rest[0], std::vector<std::string>(rest.begin() + 1, rest.end())});
        } else {
            errors.push_back("rules line " + std::to_string(number) + " not understood: " + line);
        }
    }
    return errors.size() == errorsBefore;
}

std::vector<Include> readIncludes(const std::string& text) {
    std::vector<Include> result;
    bool inBlockComment = false;
    int number = 0;
    std::istringstream in(text);
    for (std::string raw; std::getline(in, raw);) {
        ++number;
        // Comments removed, so an include that is commented out does not count.
        std::string line;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (inBlockComment) {
                if (raw.compare(i, 2, "*/") == 0) {
                    inBlockComment = false;
                    ++i;
                }
            } else if (raw.compare(i, 2, "/*") == 0) {
                inBlockComment = true;
                ++i;
            } else if (raw.compare(i, 2, "//") == 0) {
                break;
            } else {
                line += raw[i];
            }
        }
        std::size_t at = line.find_first_not_of(" \t");
        if (at == std::string::npos || line[at] != '#') continue;
        at = line.find_first_not_of(" \t", at + 1);
        if (at == std::string::npos || line.compare(at, 7, "include") != 0) continue;
        at = line.find_first_not_of(" \t", at + 7);
        if (at == std::string::npos || (line[at] != '"' && line[at] != '<')) continue; // a macro
        const char close = line[at] == '"' ? '"' : '>';
        const std::size_t end = line.find(close, at + 1);
        if (end == std::string::npos) continue;
        result.push_back({number, line.substr(at + 1, end - at - 1), close == '>'});
    }
    return result;
}

Tree scanTree(const std::string& root, const std::vector<std::string>& folders) {
    static const std::set<std::string> kExtensions{".h", ".hpp", ".c", ".cc", ".cpp"};
    Tree tree;
    for (const std::string& folder : folders) {
        std::error_code error;
        const fs::path start = fs::path(root) / folder;
        if (!fs::is_directory(start, error)) continue;
        for (fs::recursive_directory_iterator it(start, error), end; !error && it != end;
             it.increment(error)) {
            if (!it->is_regular_file(error) || kExtensions.count(it->path().extension().string()) == 0)
                continue;
            std::ifstream file(it->path(), std::ios::binary);
            const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
            tree[fs::relative(it->path(), root).generic_string()] = readIncludes(text);
        }
    }
    return tree;
}

std::vector<std::string> checkTree(const Rules& rules, const Tree& tree) {
    return Checker(rules, tree).run();
}

} // namespace kvlayering
