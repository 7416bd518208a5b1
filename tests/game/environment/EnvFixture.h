#pragma once
// The environment layers in a real GL context: the built resource folder as the resource root,
// a director of the wide design size driven frame by frame by a fake clock, and helpers that
// build layer dictionaries in memory.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/platform/CCClock.h"
#include "game/data/KVDataAccess.h"
#include "support/GLFixture.h"

namespace kvengine {
class CCDirector;
class CCNode;
class CCScene;
} // namespace kvengine
class KVEnvLayer;

namespace envtest {

/// A layer dictionary from (key, text) pairs; arrays are written as "[a b]". Autoreleased.
kvdata::Dict* layerDict(const std::vector<std::pair<std::string, std::string>>& entries);
/// An environment file's root from (key, layer dictionary) pairs. Autoreleased.
kvdata::Dict* rootDict(const std::vector<std::pair<std::string, kvdata::Dict*>>& entries);
/// A sprite layer over the built deep-water picture, with its parallax and zoom factors.
kvdata::Dict* backdrop(const std::string& parallax = "0.5", const std::string& zoom = "0");

class EnvFixture : public kvtest::GLFixture {
protected:
    static constexpr int kWidth = 960;
    static constexpr int kHeight = 600;

    /// Two texels a point, as the game draws, unless a test asks for one.
    explicit EnvFixture(float contentScale = 2.0f)
        : GLFixture(kWidth, kHeight), m_contentScale(contentScale) {}
    /// Needs the built resource folder (skipped without it, failed under CI).
    void setUpWithGL() override;
    void tearDownWithGL() override;

    /// One frame of 1/60 s.
    void frame();
    /// Saves the back buffer as build/screenshots/<name> for a person to look at.
    void screenshot(const std::string& name) const;

    kvengine::CCDirector* director = nullptr;
    /// An empty gameplay layer of the window's size (retained by the fixture).
    kvengine::CCNode* gameplay = nullptr;

private:
    float m_contentScale;
    kvengine::CCFakeClock m_clock;
};

} // namespace envtest
