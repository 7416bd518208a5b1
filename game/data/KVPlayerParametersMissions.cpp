// Player profile: chapter and mission records, stars and the best speed margin.

#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVPlayerParameters.h"

using kvdata::Array;
using kvdata::Dict;
using kvengine::CCString;

namespace {

void post(CCString* name, const std::string& objectText) {
    kvengine::CCNotificationCenter::getInstance()->postNotification(name, kvdata::newString(objectText),
                                                                    nullptr);
}

// A star lock counts as still locked when stored as "YES" or as a non-zero number.
bool starLocked(Dict* record, const char* key) {
    const std::string text = kvdata::textAt(record, key, "1");
    return text == "YES" || atoi(text.c_str()) != 0;
}

} // namespace

Dict* KVPlayerParameters::getMissionRecord(const std::string& mission, const std::string& chapter) {
    return kvdata::dictAt(kvdata::dictAt(m_missions, chapter), mission);
}

Dict* KVPlayerParameters::getChapterMissionRecords(const std::string& chapter) {
    return kvdata::dictAt(m_missions, chapter);
}

Dict* KVPlayerParameters::getChapterRecord(const std::string& chapter) {
    return kvdata::dictAt(m_chapters, chapter);
}

Array* KVPlayerParameters::getChapterMissionList(const std::string& chapter) {
    return kvdata::arrayAt(getChapterRecord(chapter), "mission_list");
}

int KVPlayerParameters::getMissionLockStatus(const std::string& mission, const std::string& chapter) {
    return kvdata::intAt(getMissionRecord(mission, chapter), "status_locked", kLockStatusLocked);
}

int KVPlayerParameters::getMissionSpeedLock(const std::string& mission, const std::string& chapter) {
    Dict* record = getMissionRecord(mission, chapter);
    return record != nullptr ? kvdata::intAt(record, "speed_locked", 1) : -1;
}

int KVPlayerParameters::getMissionSurvivalLock(const std::string& mission, const std::string& chapter) {
    Dict* record = getMissionRecord(mission, chapter);
    return record != nullptr ? kvdata::intAt(record, "surviva_locked", 1) : -1;
}

int KVPlayerParameters::getMissionHiddenLock(const std::string& mission, const std::string& chapter) {
    Dict* record = getMissionRecord(mission, chapter);
    return record != nullptr ? kvdata::intAt(record, "hidden_locked", 1) : -1;
}

CCString* KVPlayerParameters::getChapterStarsText(CCString* chapter) {
    const std::string chapterName = kvdata::textOf(chapter);
    Array* list = getChapterMissionList(chapterName);
    const unsigned missions = list != nullptr ? list->count() : 0;
    int earned = 0;
    for (unsigned i = 0; i < missions; ++i) {
        // A mission without a record has earned nothing.
        Dict* record = getMissionRecord(kvdata::textOf(list, i), chapterName);
        if (record == nullptr) continue;
        for (const char* key : {"hidden_locked", "speed_locked", "surviva_locked"}) {
            if (!starLocked(record, key)) ++earned;
        }
    }
    return kvdata::newString(std::to_string(earned) + "/" + std::to_string(3 * missions));
}

void KVPlayerParameters::setMissionValue(const std::string& mission, const std::string& chapter,
                                         const char* key, int value) {
    kvdata::setInt(getMissionRecord(mission, chapter), key, value);
}

void KVPlayerParameters::setMissionLockStatus(const std::string& mission, const std::string& chapter,
                                              int status) {
    setMissionValue(mission, chapter, "status_locked", status);
}

void KVPlayerParameters::setMissionPlayed(const std::string& mission, const std::string& chapter) {
    Dict* record = getMissionRecord(mission, chapter);
    if (record == nullptr) return;
    if (kvdata::intAt(record, "status_played") == 0) post(EVENT_MISSION_SET_STATUS_PLAYED, mission);
    kvdata::setInt(record, "status_played", 1);
}

void KVPlayerParameters::setMissionCompleted(const std::string& mission, const std::string& chapter) {
    setMissionValue(mission, chapter, "status_completed", 1);
}

void KVPlayerParameters::setMissionStar(const std::string& mission, const std::string& chapter,
                                        const char* key, int locked, CCString* notification) {
    Dict* record = getMissionRecord(mission, chapter);
    if (record == nullptr) return;
    kvdata::setInt(record, key, locked);
    // Listeners celebrate a star: writing "locked" is not news.
    if (locked == 0) post(notification, chapter);
}

void KVPlayerParameters::setMissionSpeedLock(const std::string& mission, const std::string& chapter,
                                             int locked) {
    setMissionStar(mission, chapter, "speed_locked", locked, EVENT_STAR_SPEED_UNLOCKED);
}

void KVPlayerParameters::setMissionSurvivalLock(const std::string& mission, const std::string& chapter,
                                                int locked) {
    setMissionStar(mission, chapter, "surviva_locked", locked, EVENT_STAR_SURVIVAL_UNLOCKED);
}

void KVPlayerParameters::setMissionHiddenLock(const std::string& mission, const std::string& chapter,
                                              int locked) {
    setMissionStar(mission, chapter, "hidden_locked", locked, EVENT_STAR_HIDDEN_UNLOCKED);
}

void KVPlayerParameters::updateTurnScore(const std::string& mission, const std::string& chapter,
                                         int turnsUsed) {
    Dict* record = getMissionRecord(mission, chapter);
    if (record == nullptr) return;
    const int old = kvdata::intAt(record, "turn_score");
    Dict* definition = KVGameParameters::getInstance()->findMissionDefinition(mission);
    const int candidate = kvdata::intAt(definition, "speedStar_number") - turnsUsed;
    if (old < candidate) kvdata::setInt(record, "turn_score", candidate);
}

void KVPlayerParameters::setChapterPlayed(const std::string& chapter) {
    kvdata::setInt(getChapterRecord(chapter), "status_played", 1);
}

void KVPlayerParameters::setChapterCompleted(const std::string& chapter) {
    kvdata::setInt(getChapterRecord(chapter), "status_completed", 1);
}
