#pragma once

#include <string>

#include "engine/base/CCNotification.h"
#include "game/world/KVObject.h"

/// One typical error of play that the game watches for, with a counter and an armed flag; when
/// the error has been seen often enough, the case plays a short help dialogue. Cases observe the
/// game's notifications for the whole program; every mission start ("InGame - Game") resets them.
///
/// The help dialogue goes through the dialogue manager's start, which ends a dialogue that is
/// still running before the help one is shown.
class KVHelpCase : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVHelpCase, KVObject)

    /// Observes "InGame - Game".
    KVHelpCase();
    /// Drops every observer.
    void cleanupBeforeDelete() override;

    /// Counter := 0, armed := false.
    virtual void reset();
    /// The id of the help dialogue ("Tutos_chatot" here).
    virtual std::string getChatterName() const;
    virtual void onGameStart(kvengine::CCNotification* notification);
    virtual void onDamageModeOn(kvengine::CCNotification* notification);
    virtual void onTurnEndOrAction(kvengine::CCNotification* notification);
    virtual void onDamageModeOff(kvengine::CCNotification* notification);

    /// Loads the help dialogue into the dialogue manager and starts it.
    void startChatter();

    int getCounter() const { return m_counter; }
    bool isArmed() const { return m_armed; }

protected:
    void observe(kvengine::CCString* name, kvengine::SEL_Notification selector);

    int m_counter = 0;
    bool m_armed = false;
};
