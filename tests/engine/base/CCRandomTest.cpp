#include <gtest/gtest.h>

#include "engine/base/CCRandom.h"

using namespace kvengine;

TEST(CCRandomTest, SeededSequencesRepeatAndStayInRange) {
    CCRandom::seed(42);
    std::vector<int> first;
    for (int i = 0; i < 1000; ++i)
        first.push_back(CCRandom::next());
    CCRandom::seed(42);
    bool sawHigh = false, sawLow = false;
    for (int i = 0; i < 1000; ++i) {
        int value = CCRandom::next();
        ASSERT_EQ(value, first[i]);
        ASSERT_GE(value, 0);
        ASSERT_LE(value, CCRandom::kMax);
        sawHigh |= value > 30000;
        sawLow |= value < 2767;
    }
    EXPECT_TRUE(sawHigh && sawLow);
    for (int i = 0; i < 1000; ++i) {
        float unit = CCRandom::random0To1();
        float symmetric = CCRandom::randomMinus1To1();
        ASSERT_GE(unit, 0.0f);
        ASSERT_LE(unit, 1.0f);
        ASSERT_GE(symmetric, -1.0f);
        ASSERT_LE(symmetric, 1.0f);
    }
}
