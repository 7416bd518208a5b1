#pragma once

// A thin event reader over libxml2's SAX interface, shared by the property-list readers, the
// tile-map parser and the level parser. Only elements and character data are reported; entity
// declarations and external documents are never loaded.

#include <string>

struct _xmlSAXHandler;

namespace kvengine {

/// Receives the events of one parse. context is the CCSAXContext of that parse.
class CCSAXDelegator {
public:
    virtual ~CCSAXDelegator() = default;
    /// An opening tag. attributes is a null-terminated list: name, value, name, value, ... (may be null).
    virtual void startElement(void* context, const char* name, const char** attributes) = 0;
    /// A closing tag; an empty element gives a start and an end.
    virtual void endElement(void* context, const char* name) = 0;
    /// Character data: text is not terminated, only length bytes belong to it. One element's text
    /// may arrive in several pieces (around entities, at buffer boundaries).
    virtual void textHandler(void* context, const char* text, int length) = 0;
};

/// What the XML library hands to the callbacks: the delegator of one parse.
class CCSAXContext {
public:
    CCSAXContext() = default;
    bool init() { return true; }
    void setDelegator(CCSAXDelegator* delegator) { delegator_ = delegator; }
    CCSAXDelegator* delegator() const { return delegator_; }

private:
    CCSAXDelegator* delegator_ = nullptr;
};

/// Reads the whole file (unscrambled when its type is scrambled) and sends its events to the
/// delegator. False (with a log line) when the file cannot be read or is not well-formed XML; the
/// events before the error have been delivered. May be called again from inside a callback.
bool parseXMLFile(const char* path, CCSAXDelegator* delegator);

/// The same for a document already in memory; name is only used in log lines.
bool parseXMLData(const char* data, unsigned size, CCSAXDelegator* delegator, const char* name);

/// The first error of a parse that registers its own libxml2 handler. A reader that needs the
/// last bit of speed derives its parse record from this and skips the delegator's virtual calls.
struct CCSAXErrors {
    std::string firstError;
    int errorLine = 0;
};

/// parseXMLData with the reader's own libxml2 SAX handler: its callbacks get `errors` as their
/// user data (cast it back to the derived record). The handler's error callback is set here.
bool parseXMLDataWithHandler(const char* data, unsigned size, _xmlSAXHandler* handler, CCSAXErrors* errors,
                             const char* name);

/// parseXMLFile with the reader's own handler, as parseXMLDataWithHandler.
bool parseXMLFileWithHandler(const char* path, _xmlSAXHandler* handler, CCSAXErrors* errors);

} // namespace kvengine
