#include "game/menu/KVStateMenu.h"

void KVStateMenu::open(int stateId) {
    m_previousId = m_currentId;
    m_currentId = stateId;
    if (m_entered) return;
    enter();
    buildView();
}

void KVStateMenu::close() {
    m_previousId = m_currentId;
    m_currentId = 0;
    if (m_entered) leave();
}
