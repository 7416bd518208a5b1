#include "tools/content/DataFiles.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace kvcontent {

namespace {
bool isNamed(const xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE &&
           std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

bool checkElements(const xmlNode* node, const std::string& name) {
    bool ok = true;
    for (const xmlNode* child = node; child; child = child->next) {
        if (child->type == XML_ENTITY_REF_NODE) {
            logLine(name + ": an entity reference at line " + std::to_string(child->line) +
                    " (the game reads the text in pieces)");
            ok = false;
        }
        if (isNamed(child, "string") || isNamed(child, "key") || isNamed(child, "integer") ||
            isNamed(child, "real")) {
            xmlChar* text = xmlNodeGetContent(child);
            const bool empty = !text || text[0] == 0;
            const bool special = text && std::strpbrk(reinterpret_cast<const char*>(text), "&<>") != nullptr;
            if (empty) {
                logLine(name + ": empty <" + reinterpret_cast<const char*>(child->name) + "> at line " +
                        std::to_string(child->line) + " (the game loses empty values)");
                ok = false;
            }
            if (special) {
                logLine(name + ": '&', '<' or '>' in a text at line " + std::to_string(child->line));
                ok = false;
            }
            xmlFree(text);
        }
        if (child->children && !checkElements(child->children, name)) ok = false;
    }
    return ok;
}
} // namespace

bool checkPlistSource(const Bytes& data, const std::string& name) {
    // Entities are kept as nodes so that the check can see them.
    xmlDocPtr doc =
        xmlReadMemory(reinterpret_cast<const char*>(data.data()), static_cast<int>(data.size()), name.c_str(),
                      nullptr, XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_NOERROR);
    if (!doc) {
        logLine(name + ": not well-formed XML");
        return false;
    }
    bool ok = true;
    const xmlNode* root = xmlDocGetRootElement(doc);
    const xmlNode* first = nullptr;
    if (root && isNamed(root, "plist")) {
        for (const xmlNode* c = root->children; c; c = c->next) {
            if (c->type == XML_ELEMENT_NODE) {
                first = c;
                break;
            }
        }
    }
    // The rule files of the missions are arrays of rules; every other table is a dictionary.
    const std::string suffix = "_RULE.plist";
    const bool ruleFile =
        name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
    const char* rootKind = ruleFile ? "array" : "dict";
    if (!first || !isNamed(first, rootKind)) {
        logLine(name + ": the root is not a <plist> holding a <" + rootKind + ">");
        ok = false;
    } else if (!checkElements(first, name)) {
        ok = false;
    }
    xmlFreeDoc(doc);
    return ok;
}

bool buildDataFolder(const std::string& sourceFolder, const std::string& targetFolder, int& fileCount) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::is_directory(sourceFolder, error)) {
        logLine("no data folder " + sourceFolder);
        return false;
    }
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(sourceFolder, error)) {
        if (entry.is_regular_file() && entry.path().extension() == ".plist") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    bool ok = true;
    for (const fs::path& file : files) {
        Bytes data;
        const std::string relative = fs::relative(file, sourceFolder).string();
        if (!readWholeFile(file.string(), data) || !checkPlistSource(data, relative) ||
            !writeResource(targetFolder + "/" + relative, data)) {
            ok = false;
            continue;
        }
        ++fileCount;
    }
    return ok;
}

} // namespace kvcontent
