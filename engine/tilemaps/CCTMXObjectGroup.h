#pragma once

#include <string>

#include "engine/base/CCGeometry.h"
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCMutableDictionary.h"
#include "engine/base/CCRetained.h"
#include "engine/base/CCString.h"

namespace kvengine {

/// One object of a TMX object group: always the keys "name", "type", "x", "y", "width" and
/// "height", plus one key per property of the object.
using CCTMXObject = CCMutableDictionary<std::string, CCString*>;

/// A named group of TMX objects, in file order.
class CCTMXObjectGroup : public CCObject {
public:
    CCTMXObjectGroup();
    ~CCTMXObjectGroup() override;

    CC_DECLARE_CLASS_NAME(CCTMXObjectGroup, CCObject)

    virtual CCMutableDictionary<std::string, CCString*>* getProperties() const { return m_properties; }
    /// Retains the new dictionary and releases the old one.
    virtual void setProperties(CCMutableDictionary<std::string, CCString*>* properties);
    virtual CCMutableArray<CCTMXObject*>* getObjects() const { return m_objects; }
    /// Retains the new array and releases the old one.
    virtual void setObjects(CCMutableArray<CCTMXObject*>* objects);

    /// The first object in file order whose "name" equals wanted exactly, or null (no retain).
    CCTMXObject* findObjectByName(const char* wanted) const;

    /// Offset of the group in pixels (the "x"/"y" attributes times the map's tile size).
    CCPoint pixelOffset;
    std::string name;

private:
    CCRetained<CCMutableDictionary<std::string, CCString*>> m_properties;
    CCRetained<CCMutableArray<CCTMXObject*>> m_objects;
};

} // namespace kvengine
