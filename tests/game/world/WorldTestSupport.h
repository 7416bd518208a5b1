#pragma once

// Small doubles for the game-world tests: an actor that records its contacts, an observer that
// records posts, a log capture and body makers.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <box2d/box2d.h>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/world/KVActor.h"
#include "game/world/KVContactInfo.h"

namespace worldtest {

/// One contact operation as an actor saw it.
struct ContactCall {
    char kind; // 'B'egin, 'E'nd, 'P're-solve, 'S' post-solve
    KVContactInfo info;
};

/// An actor with an optional body that records every contact call and answers `answer`.
class RecordingActor : public KVActor {
public:
    b2Body* getBody() override { return body; }
    bool beginContact(KVContactInfo* contact) override { return record('B', contact); }
    bool endContact(KVContactInfo* contact) override { return record('E', contact); }
    bool preSolve(KVContactInfo* contact) override { return record('P', contact); }
    bool postSolve(KVContactInfo* contact) override { return record('S', contact); }

    int count(char kind) const {
        int n = 0;
        for (const ContactCall& call : calls)
            n += call.kind == kind ? 1 : 0;
        return n;
    }
    const ContactCall* first(char kind) const {
        for (const ContactCall& call : calls)
            if (call.kind == kind) return &call;
        return nullptr;
    }

    b2Body* body = nullptr;
    bool answer = false;
    std::vector<ContactCall> calls;
    /// Called at each begin contact, after recording.
    std::function<void(RecordingActor*)> onBegin;

private:
    bool record(char kind, KVContactInfo* contact) {
        calls.push_back(ContactCall{kind, *contact});
        if (kind == 'B' && onBegin) onBegin(this);
        return answer;
    }
};

/// Records the objects posted under one name.
class PostRecorder : public kvengine::CCObject {
public:
    explicit PostRecorder(kvengine::CCString* name) {
        kvengine::CCNotificationCenter::getInstance()->addObserver(
            this, notification_selector(PostRecorder::onPost), name);
    }
    void cleanupBeforeDelete() override {
        kvengine::CCNotificationCenter::getInstance()->removeObserver(this);
    }
    void onPost(kvengine::CCNotification* notification) {
        objects.push_back(notification->getObject());
        if (onEach) onEach(notification->getObject());
    }

    std::vector<kvengine::CCObject*> objects;
    std::function<void(kvengine::CCObject*)> onEach;
};

/// Collects log lines while it lives.
class LogCapture {
public:
    LogCapture() {
        kvengine::setDebugLogSink([this](const std::string& line) { lines.push_back(line); });
    }
    ~LogCapture() { kvengine::setDebugLogSink({}); }
    bool contains(const std::string& part) const {
        for (const std::string& line : lines)
            if (line.find(part) != std::string::npos) return true;
        return false;
    }
    std::vector<std::string> lines;
};

struct BodySpec {
    float x = 0.0f;
    float y = 0.0f;
    float radius = 0.5f;
    b2BodyType type = b2_dynamicBody;
    bool sensor = false;
    uint16 category = 0x0001;
    uint16 mask = 0xFFFF;
    int16 group = 0;
    float vx = 0.0f;
    float vy = 0.0f;
};

/// A circle body placed as `spec` describes, whose user data names `actor` (may be null).
inline b2Body* makeCircle(b2World* world, KVActor* actor, const BodySpec& spec) {
    b2BodyDef def;
    def.type = spec.type;
    def.position.Set(spec.x, spec.y);
    def.linearVelocity.Set(spec.vx, spec.vy);
    def.userData.pointer = reinterpret_cast<uintptr_t>(actor);
    b2Body* body = world->CreateBody(&def);
    b2CircleShape shape;
    shape.m_radius = spec.radius;
    b2FixtureDef fixture;
    fixture.shape = &shape;
    fixture.density = 1.0f;
    fixture.isSensor = spec.sensor;
    fixture.filter.categoryBits = spec.category;
    fixture.filter.maskBits = spec.mask;
    fixture.filter.groupIndex = spec.group;
    body->CreateFixture(&fixture);
    return body;
}

/// A static box of half sizes (hx, hy) centred at (x, y).
inline b2Body* makeBox(b2World* world, KVActor* actor, float x, float y, float hx, float hy,
                       uint16 category = 1) {
    b2BodyDef def;
    def.position.Set(x, y);
    def.userData.pointer = reinterpret_cast<uintptr_t>(actor);
    b2Body* body = world->CreateBody(&def);
    b2PolygonShape shape;
    shape.SetAsBox(hx, hy);
    b2FixtureDef fixture;
    fixture.shape = &shape;
    fixture.filter.categoryBits = category;
    body->CreateFixture(&fixture);
    return body;
}

} // namespace worldtest
