#pragma once
// Shared checks of the level-builder tests.
#include <gtest/gtest.h>

#include <box2d/box2d.h>

#include "engine/base/CCMutableArray.h"
#include "game/objects/KVMapBorder.h"

namespace modeltest {

/// Expects the outer border (the first of `borders`) to end at (width, height) metres.
inline void expectOuterBorder(kvengine::CCMutableArray<kvengine::CCObject*>* borders, float width,
                              float height) {
    ASSERT_NE(borders, nullptr);
    ASSERT_GE(borders->count(), 1u);
    auto* border = static_cast<KVMapBorder*>(borders->objectAtIndex(0));
    b2AABB box = border->getBody()->GetFixtureList()->GetAABB(0);
    for (b2Fixture* f = border->getBody()->GetFixtureList(); f; f = f->GetNext())
        box.Combine(f->GetAABB(0));
    EXPECT_NEAR(box.upperBound.x, width, 0.02f);
    EXPECT_NEAR(box.upperBound.y, height, 0.02f);
}

} // namespace modeltest
