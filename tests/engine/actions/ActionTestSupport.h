#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "engine/actions/CCAction.h"
#include "engine/actions/CCActionManager.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "engine/nodes/CCNode.h"

namespace actiontest {

using namespace kvengine;

// A node with a colour interface, so fades and tints have something to change.
class ColourNode : public CCNode, public CCRGBAProtocol {
public:
    void setColor(const ccColor3B& color) override { m_colour = color; }
    ccColor3B getColor() override { return m_colour; }
    uint8_t getOpacity() override { return m_opacity; }
    void setOpacity(uint8_t opacity) override { m_opacity = opacity; }
    CCRGBAProtocol* asRGBAProtocol() override { return this; }

private:
    ccColor3B m_colour;
    uint8_t m_opacity = 255;
};

// An interval action that writes what happens to it into a journal: "start", "u<t>", "stop".
class RecordingAction : public CCActionInterval {
public:
    static RecordingAction* create(float seconds, std::vector<std::string>* journal, std::string name = "") {
        RecordingAction* action = new RecordingAction();
        action->initWithDuration(seconds);
        action->m_journal = journal;
        action->m_name = std::move(name);
        action->autorelease();
        return action;
    }
    void startWithTarget(CCNode* target) override {
        CCActionInterval::startWithTarget(target);
        write("start");
    }
    void stop() override {
        write("stop");
        CCActionInterval::stop();
    }
    void update(float t) override {
        char text[32];
        std::snprintf(text, sizeof text, "u%g", static_cast<double>(t));
        write(text);
        lastT = t;
    }
    CCFiniteTimeAction* reverse() override { return create(getDuration(), m_journal, m_name + "'"); }
    CCObject* copyInto(CCCopyHolder* holder) override {
        RecordingAction* copy = nullptr;
        if (holder != nullptr && holder->object != nullptr) {
            copy = static_cast<RecordingAction*>(holder->object);
        } else {
            copy = new RecordingAction();
        }
        CCCopyHolder inner{copy};
        CCActionInterval::copyInto(&inner);
        copy->m_journal = m_journal;
        copy->m_name = m_name;
        return copy;
    }

    float lastT = -1.0f;

private:
    void write(const std::string& what) {
        if (m_journal != nullptr) m_journal->push_back(m_name.empty() ? what : m_name + ":" + what);
    }
    std::vector<std::string>* m_journal = nullptr;
    std::string m_name;
};

// A selector target for call-function actions.
class Listener : public CCObject {
public:
    void onCall() { calls.push_back("call"); }
    void onNode(CCNode* node) {
        calls.push_back("node");
        nodes.push_back(node);
    }
    void onNodeData(CCNode* node, void* data) {
        calls.push_back("nodeData");
        nodes.push_back(node);
        datas.push_back(data);
        if (onNodeDataHook) onNodeDataHook(node);
    }
    void onObject(CCObject* object) {
        calls.push_back("object");
        objects.push_back(object);
    }

    std::vector<std::string> calls;
    std::vector<CCNode*> nodes;
    std::vector<void*> datas;
    std::vector<CCObject*> objects;
    std::function<void(CCNode*)> onNodeDataHook;
};

// Collects log lines for the lifetime of the guard.
class LogCapture {
public:
    LogCapture() {
        setDebugLogSink([this](const std::string& line) { lines.push_back(line); });
    }
    ~LogCapture() { setDebugLogSink(nullptr); }
    std::vector<std::string> lines;
};

// A running node and the shared action manager driven by hand with a fixed time step.
class ActionTest : public ::testing::Test {
protected:
    void SetUp() override {
        CCAutoreleasePoolStack::getInstance().push();
        node = new ColourNode();
        node->onEnter();
    }
    void TearDown() override {
        CCActionManager::getInstance()->removeAllActionsFromTarget(node);
        node->onExit();
        node->release();
        CCAutoreleasePoolStack::getInstance().pop();
    }

    CCAction* run(CCAction* action) { return node->runAction(action); }
    // One frame of the action manager.
    void frame(float dt) { CCActionManager::getInstance()->update(dt); }
    void frames(int count, float dt) {
        for (int i = 0; i < count; ++i)
            frame(dt);
    }
    unsigned actionCount() { return CCActionManager::getInstance()->countActionsForTarget(node); }

    ColourNode* node = nullptr;
    // Outlives the autorelease pool drained in TearDown, so call-backs may hold it until then.
    Listener listener;
};

} // namespace actiontest
