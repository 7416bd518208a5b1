#include "engine/tilemaps/CCTMXObjectGroup.h"

namespace kvengine {

CCTMXObjectGroup::CCTMXObjectGroup() {
    m_properties.adopt(new CCMutableDictionary<std::string, CCString*>());
    m_objects.adopt(new CCMutableArray<CCTMXObject*>());
}

CCTMXObjectGroup::~CCTMXObjectGroup() = default;

void CCTMXObjectGroup::setProperties(CCMutableDictionary<std::string, CCString*>* properties) {
    m_properties = properties;
}

void CCTMXObjectGroup::setObjects(CCMutableArray<CCTMXObject*>* objects) {
    m_objects = objects;
}

CCTMXObject* CCTMXObjectGroup::findObjectByName(const char* wanted) const {
    if (wanted == nullptr || m_objects == nullptr) return nullptr;
    for (CCTMXObject* object : *m_objects) {
        CCString* objectName = object->objectForKey("name");
        if (objectName != nullptr && objectName->text == wanted) return object;
    }
    return nullptr;
}

} // namespace kvengine
