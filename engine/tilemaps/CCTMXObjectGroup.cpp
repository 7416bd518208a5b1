#include "engine/tilemaps/CCTMXObjectGroup.h"

namespace kvengine {

CCTMXObjectGroup::CCTMXObjectGroup()
    : m_properties(new CCMutableDictionary<std::string, CCString*>()),
      m_objects(new CCMutableArray<CCTMXObject*>()) {}

CCTMXObjectGroup::~CCTMXObjectGroup() {
    if (m_properties) m_properties->release();
    if (m_objects) m_objects->release();
}

void CCTMXObjectGroup::setProperties(CCMutableDictionary<std::string, CCString*>* properties) {
    if (properties) properties->retain();
    if (m_properties) m_properties->release();
    m_properties = properties;
}

void CCTMXObjectGroup::setObjects(CCMutableArray<CCTMXObject*>* objects) {
    if (objects) objects->retain();
    if (m_objects) m_objects->release();
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
