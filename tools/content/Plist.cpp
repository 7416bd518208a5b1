#include "tools/content/Plist.h"

#include "tools/content/ContentFiles.h"

namespace kvcontent {

PlistNode PlistNode::str(const std::string& value) {
    PlistNode node;
    node.text = value;
    return node;
}

PlistNode PlistNode::flag(bool value) {
    PlistNode node;
    node.kind = value ? Kind::True : Kind::False;
    return node;
}

PlistNode PlistNode::makeDict() {
    PlistNode node;
    node.kind = Kind::Dict;
    return node;
}

PlistNode PlistNode::makeArray() {
    PlistNode node;
    node.kind = Kind::Array;
    return node;
}

PlistNode& PlistNode::set(const std::string& key, PlistNode value) {
    kind = Kind::Dict;
    dict[key] = std::move(value);
    return dict[key];
}

bool isPlainPlistText(const std::string& text) {
    return text.find_first_of("&<>") == std::string::npos;
}

namespace {
bool writeNode(const PlistNode& node, std::string& out, int depth) {
    const std::string indent(static_cast<size_t>(depth), '\t');
    switch (node.kind) {
    case PlistNode::Kind::String:
        if (!isPlainPlistText(node.text)) {
            logLine("text not allowed in a property list: " + node.text);
            return false;
        }
        out += indent + "<string>" + node.text + "</string>\n";
        return true;
    case PlistNode::Kind::True:
        out += indent + "<true/>\n";
        return true;
    case PlistNode::Kind::False:
        out += indent + "<false/>\n";
        return true;
    case PlistNode::Kind::Array:
        out += indent + "<array>\n";
        for (const PlistNode& child : node.array) {
            if (!writeNode(child, out, depth + 1)) return false;
        }
        out += indent + "</array>\n";
        return true;
    case PlistNode::Kind::Dict:
        out += indent + "<dict>\n";
        for (const auto& entry : node.dict) {
            if (!isPlainPlistText(entry.first)) {
                logLine("key not allowed in a property list: " + entry.first);
                return false;
            }
            out += indent + "\t<key>" + entry.first + "</key>\n";
            if (!writeNode(entry.second, out, depth + 1)) return false;
        }
        out += indent + "</dict>\n";
        return true;
    }
    return false;
}
} // namespace

bool writePlistDocument(const PlistNode& root, std::string& out) {
    out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
          "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
          "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
          "<plist version=\"1.0\">\n";
    if (!writeNode(root, out, 0)) return false;
    out += "</plist>\n";
    return true;
}

} // namespace kvcontent
