#include "engine/files/CCSAXParser.h"

#include "engine/base/CCLog.h"
#include "engine/files/CCFileUtils.h"

#include <climits>
#include <cstring>
#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <string>
#include <vector>

namespace kvengine {

namespace {

// libxml2 is handed this record (as its CCSAXErrors part); it carries the caller's context and
// the first error seen.
struct ParseState : CCSAXErrors {
    CCSAXContext context;
};

ParseState* parseStateOf(void* user) {
    return static_cast<ParseState*>(static_cast<CCSAXErrors*>(user));
}

// libxml2 reports names in parts (prefix, local name); the delegators see them as written in the
// document ("xlink:href").
std::string qualifiedName(const xmlChar* prefix, const xmlChar* localName) {
    std::string name;
    if (prefix) {
        name = reinterpret_cast<const char*>(prefix);
        name += ':';
    }
    if (localName) name += reinterpret_cast<const char*>(localName);
    return name;
}

void forwardStartElement(void* user, const xmlChar* localName, const xmlChar* prefix, const xmlChar*,
                         int namespaceCount, const xmlChar** namespaces, int attributeCount, int,
                         const xmlChar** attributes) {
    auto* state = parseStateOf(user);
    CCSAXDelegator* delegator = state->context.delegator();
    if (!delegator) return;
    if (namespaceCount == 0 && attributeCount == 0) {
        // The common case: no list to build, and no name to build when there is no prefix.
        static const char* const kNoAttributes[] = {nullptr};
        const char** none = const_cast<const char**>(kNoAttributes);
        if (!prefix)
            delegator->startElement(&state->context, reinterpret_cast<const char*>(localName), none);
        else
            delegator->startElement(&state->context, qualifiedName(prefix, localName).c_str(), none);
        return;
    }
    // Namespace declarations come first, then the attributes, each as a name and a value.
    std::vector<std::string> texts;
    texts.reserve(2 * static_cast<size_t>(namespaceCount + attributeCount));
    for (int i = 0; i < namespaceCount; ++i) {
        const xmlChar* declaredPrefix = namespaces[2 * i];
        texts.push_back(declaredPrefix ? "xmlns:" + qualifiedName(nullptr, declaredPrefix) : "xmlns");
        texts.emplace_back(namespaces[2 * i + 1] ? reinterpret_cast<const char*>(namespaces[2 * i + 1]) : "");
    }
    for (int i = 0; i < attributeCount; ++i) {
        const xmlChar** a = attributes + 5 * i; // local name, prefix, URI, value start, value end
        texts.push_back(qualifiedName(a[1], a[0]));
        texts.emplace_back(reinterpret_cast<const char*>(a[3]), static_cast<size_t>(a[4] - a[3]));
    }
    std::vector<const char*> list;
    list.reserve(texts.size() + 1);
    for (const std::string& text : texts)
        list.push_back(text.c_str());
    list.push_back(nullptr);
    std::string name = qualifiedName(prefix, localName);
    delegator->startElement(&state->context, name.c_str(), list.data());
}

void forwardEndElement(void* user, const xmlChar* localName, const xmlChar* prefix, const xmlChar*) {
    auto* state = parseStateOf(user);
    CCSAXDelegator* delegator = state->context.delegator();
    if (!delegator) return;
    if (!prefix)
        delegator->endElement(&state->context, reinterpret_cast<const char*>(localName));
    else
        delegator->endElement(&state->context, qualifiedName(prefix, localName).c_str());
}

void forwardCharacters(void* user, const xmlChar* text, int length) {
    auto* state = parseStateOf(user);
    if (CCSAXDelegator* delegator = state->context.delegator()) {
        delegator->textHandler(&state->context, reinterpret_cast<const char*>(text), length);
    }
}

// Keeps libxml2 from printing on its own; the parse reports one line for the first error.
void recordError(void* user, xmlErrorPtr error) {
    auto* state = static_cast<CCSAXErrors*>(user);
    if (!state || !error || error->level < XML_ERR_ERROR || !state->firstError.empty()) return;
    state->firstError = error->message ? error->message : "unknown error";
    while (!state->firstError.empty() &&
           (state->firstError.back() == '\n' || state->firstError.back() == '\r')) {
        state->firstError.pop_back();
    }
    state->errorLine = error->line;
}

xmlSAXHandler makeHandler() {
    xmlSAXHandler handler;
    memset(&handler, 0, sizeof handler);
    handler.initialized = XML_SAX2_MAGIC;
    handler.startElementNs = forwardStartElement;
    handler.endElementNs = forwardEndElement;
    handler.characters = forwardCharacters;
    return handler;
}

} // namespace

bool parseXMLDataWithHandler(const char* data, unsigned size, xmlSAXHandler* handler, CCSAXErrors* errors,
                             const char* name) {
    const char* label = name ? name : "(memory)";
    if (!data || size > INT_MAX) {
        logDebugMessage("engine: XML %s: no data", label);
        return false;
    }
    LIBXML_TEST_VERSION
    handler->serror = recordError;
    // Global library state is set up once and never torn down between parses, so a parse started
    // from inside a callback cannot pull it from under the outer one.
    int result = xmlSAXUserParseMemory(handler, errors, data, static_cast<int>(size));
    if (result != 0) {
        if (errors->firstError.empty()) errors->firstError = "not well-formed";
        logDebugMessage("engine: XML %s line %d: %s", label, errors->errorLine, errors->firstError.c_str());
        return false;
    }
    return true;
}

bool parseXMLFileWithHandler(const char* path, xmlSAXHandler* handler, CCSAXErrors* errors) {
    unsigned size = 0;
    char* data = readFileData(&size, path, "rb");
    if (!data) return false;
    bool ok = parseXMLDataWithHandler(data, size, handler, errors, path);
    delete[] data;
    return ok;
}

bool parseXMLData(const char* data, unsigned size, CCSAXDelegator* delegator, const char* name) {
    static xmlSAXHandler handler = makeHandler();
    ParseState state;
    state.context.init();
    state.context.setDelegator(delegator);
    return parseXMLDataWithHandler(data, size, &handler, &state, name);
}

bool parseXMLFile(const char* path, CCSAXDelegator* delegator) {
    unsigned size = 0;
    char* data = readFileData(&size, path, "rb");
    if (!data) return false;
    bool ok = parseXMLData(data, size, delegator, path);
    delete[] data;
    return ok;
}

} // namespace kvengine
