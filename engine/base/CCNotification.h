#pragma once

#include "engine/base/CCObject.h"
#include "engine/base/CCString.h"

namespace kvengine {

/// The message handed to each observer of one post: the name, the posted object and the user
/// information, each retained while the notification lives. It lives only during the post; an
/// observer that needs a field later retains that field. Reports "CCObject".
class CCNotification : public CCObject {
public:
    CCNotification(CCString* name, CCObject* object, CCObject* userInfo);
    ~CCNotification() override;

    CCString* getName() const { return m_name; }
    CCObject* getObject() const { return m_object; }
    CCObject* getUserInfo() const { return m_userInfo; }

private:
    CCString* m_name;
    CCObject* m_object;
    CCObject* m_userInfo;
};

/// An observer callback: a member function of the observer taking the notification.
using SEL_Notification = void (CCObject::*)(CCNotification*);

} // namespace kvengine

/// Turns `&Class::method` (void (Class::*)(CCNotification*)) into a SEL_Notification.
#define notification_selector(SELECTOR) static_cast<kvengine::SEL_Notification>(&SELECTOR)
