#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/base/CCLog.h"
#include "engine/base/CCObject.h"

// A test object that writes its clean-up and destruction into a shared journal.
class Probe : public kvengine::CCObject {
public:
    explicit Probe(std::vector<std::string>* journal, std::string name = "")
        : m_journal(journal), m_name(std::move(name)) {}
    ~Probe() override {
        if (m_journal) m_journal->push_back("~" + m_name);
        if (onDestroy) onDestroy();
    }
    void cleanupBeforeDelete() override {
        if (m_journal) m_journal->push_back("cleanup " + m_name);
    }
    const std::string& name() const { return m_name; }

    std::function<void()> onDestroy;

private:
    std::vector<std::string>* m_journal;
    std::string m_name;
};

// Collects log lines for the lifetime of the guard.
class LogCapture {
public:
    LogCapture() {
        kvengine::setDebugLogSink([this](const std::string& line) { lines.push_back(line); });
    }
    ~LogCapture() { kvengine::setDebugLogSink(nullptr); }
    std::vector<std::string> lines;
};
