#include "engine/base/CCSet.h"

#include "engine/base/CCLog.h"

namespace kvengine {

CCSet::CCSet(const CCSet& other) : CCObject(), m_members(other.m_members) {
    for (CCObject* member : m_members)
        member->retain();
}

CCSet::~CCSet() {
    std::set<CCObject*> members;
    members.swap(m_members);
    for (CCObject* member : members)
        member->release();
}

CCSet* CCSet::copy() {
    return new CCSet(*this);
}

void CCSet::addObject(CCObject* object) {
    if (object == nullptr) {
        logDebugMessage("CCSet::addObject: null object ignored");
        return;
    }
    if (m_members.insert(object).second) object->retain();
}

void CCSet::removeObject(CCObject* object) {
    if (m_members.erase(object) != 0) object->release();
}

} // namespace kvengine
