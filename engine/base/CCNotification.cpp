#include "engine/base/CCNotification.h"

namespace kvengine {

CCNotification::CCNotification(CCString* name, CCObject* object, CCObject* userInfo)
    : m_name(name), m_object(object), m_userInfo(userInfo) {
    if (m_name != nullptr) m_name->retain();
    if (m_object != nullptr) m_object->retain();
    if (m_userInfo != nullptr) m_userInfo->retain();
}

CCNotification::~CCNotification() {
    if (m_name != nullptr) m_name->release();
    if (m_object != nullptr) m_object->release();
    if (m_userInfo != nullptr) m_userInfo->release();
}

} // namespace kvengine
