#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "ActionTestSupport.h"
#include "engine/actions/CCActionEase.h"
#include "engine/actions/CCEaseBack.h"
#include "engine/actions/CCEaseBounce.h"
#include "engine/actions/CCEaseCurves.h"
#include "engine/actions/CCEaseElastic.h"
#include "engine/actions/CCMoveTo.h"
#include "engine/actions/CCRepeat.h"

using namespace kvengine;
using namespace actiontest;

namespace {

using Journal = std::vector<std::string>;

struct EaseCase {
    const char* name;
    std::function<CCActionEase*(CCActionInterval*)> wrap;
    std::function<float(float)> curve;
};

std::vector<EaseCase> easeCases() {
    return {
        {"ease", [](CCActionInterval* a) { return CCActionEase::createWithAction(a); },
         [](float t) { return t; }},
        {"in 3", [](CCActionInterval* a) { return CCEaseIn::createWithActionRate(a, 3); },
         [](float t) { return ease::rateIn(t, 3); }},
        {"out 2", [](CCActionInterval* a) { return CCEaseOut::createWithActionRate(a, 2); },
         [](float t) { return ease::rateOut(t, 2); }},
        {"in-out 2", [](CCActionInterval* a) { return CCEaseInOut::createWithActionRate(a, 2); },
         [](float t) { return ease::rateInOut(t, 2); }},
        {"exponential in", [](CCActionInterval* a) { return CCEaseExponentialIn::createWithAction(a); },
         ease::exponentialIn},
        {"exponential out", [](CCActionInterval* a) { return CCEaseExponentialOut::createWithAction(a); },
         ease::exponentialOut},
        {"exponential in-out",
         [](CCActionInterval* a) { return CCEaseExponentialInOut::createWithAction(a); },
         ease::exponentialInOut},
        {"sine in", [](CCActionInterval* a) { return CCEaseSineIn::createWithAction(a); }, ease::sineIn},
        {"sine out", [](CCActionInterval* a) { return CCEaseSineOut::createWithAction(a); }, ease::sineOut},
        {"sine in-out", [](CCActionInterval* a) { return CCEaseSineInOut::createWithAction(a); },
         ease::sineInOut},
        {"elastic in", [](CCActionInterval* a) { return CCEaseElasticIn::createWithActionPeriod(a, 0.3f); },
         [](float t) { return ease::elasticIn(t, 0.3f); }},
        {"elastic out", [](CCActionInterval* a) { return CCEaseElasticOut::createWithActionPeriod(a, 0.4f); },
         [](float t) { return ease::elasticOut(t, 0.4f); }},
        {"elastic in-out",
         [](CCActionInterval* a) { return CCEaseElasticInOut::createWithActionPeriod(a, 0.45f); },
         [](float t) { return ease::elasticInOut(t, 0.45f); }},
        {"bounce in", [](CCActionInterval* a) { return CCEaseBounceIn::createWithAction(a); },
         ease::bounceIn},
        {"bounce out", [](CCActionInterval* a) { return CCEaseBounceOut::createWithAction(a); },
         ease::bounceOut},
        {"bounce in-out", [](CCActionInterval* a) { return CCEaseBounceInOut::createWithAction(a); },
         ease::bounceInOut},
        {"back in", [](CCActionInterval* a) { return CCEaseBackIn::createWithAction(a); }, ease::backIn},
        {"back out", [](CCActionInterval* a) { return CCEaseBackOut::createWithAction(a); }, ease::backOut},
        {"back in-out", [](CCActionInterval* a) { return CCEaseBackInOut::createWithAction(a); },
         ease::backInOut},
    };
}

} // namespace

using EaseActionTest = ActionTest;

TEST_F(EaseActionTest, EveryWrapperHandsItsInnerActionTheEasedProgress) {
    for (const EaseCase& c : easeCases()) {
        SCOPED_TRACE(c.name);
        Journal journal;
        RecordingAction* inner = RecordingAction::create(2.0f, &journal);
        CCActionEase* eased = c.wrap(inner);
        ASSERT_NE(eased, nullptr);
        EXPECT_FLOAT_EQ(eased->getDuration(), 2.0f);
        run(eased);
        EXPECT_EQ(journal, Journal{"start"});
        frame(0.5f);
        for (int i = 1; i <= 4; ++i) {
            frame(0.5f);
            EXPECT_FLOAT_EQ(inner->lastT, c.curve(i * 0.25f));
        }
        EXPECT_EQ(journal.back(), "stop");
        EXPECT_EQ(inner->getElapsed(), 0.0f); // the inner action is updated, never stepped
        EXPECT_EQ(actionCount(), 0u);
    }
}

TEST_F(EaseActionTest, CopiesKeepTheClassTheParameterAndTheTag) {
    for (const EaseCase& c : easeCases()) {
        SCOPED_TRACE(c.name);
        Journal journal;
        CCActionEase* eased = c.wrap(RecordingAction::create(1.0f, &journal));
        eased->setTag(11);
        CCActionEase* copy = static_cast<CCActionEase*>(eased->copy()->autorelease());
        EXPECT_EQ(copy->getTag(), 11);
        EXPECT_EQ(typeid(*copy), typeid(*eased));
        EXPECT_NE(copy->getInnerAction(), eased->getInnerAction());
        copy->startWithTarget(node);
        copy->update(0.3f);
        EXPECT_FLOAT_EQ(static_cast<RecordingAction*>(copy->getInnerAction())->lastT, c.curve(0.3f));
        copy->stop();
    }
}

TEST_F(EaseActionTest, ReversesWrapTheInnerReverseInTheMirroredEase) {
    struct Case {
        const char* name;
        CCActionEase* eased;
        const std::type_info& reverseType;
    };
    Journal journal;
    auto inner = [&] { return RecordingAction::create(1.0f, &journal); };
    const Case cases[] = {
        {"ease", CCActionEase::createWithAction(inner()), typeid(CCActionEase)},
        {"in", CCEaseIn::createWithActionRate(inner(), 2), typeid(CCEaseRateAction)},
        {"out", CCEaseOut::createWithActionRate(inner(), 2), typeid(CCEaseRateAction)},
        {"in-out", CCEaseInOut::createWithActionRate(inner(), 2), typeid(CCEaseInOut)},
        {"exponential in", CCEaseExponentialIn::createWithAction(inner()), typeid(CCEaseExponentialOut)},
        {"exponential out", CCEaseExponentialOut::createWithAction(inner()), typeid(CCEaseExponentialIn)},
        {"exponential in-out", CCEaseExponentialInOut::createWithAction(inner()), typeid(CCActionEase)},
        {"sine in", CCEaseSineIn::createWithAction(inner()), typeid(CCEaseSineOut)},
        {"sine out", CCEaseSineOut::createWithAction(inner()), typeid(CCEaseSineIn)},
        {"elastic in", CCEaseElasticIn::createWithActionPeriod(inner(), 0.3f), typeid(CCEaseElasticOut)},
        {"elastic out", CCEaseElasticOut::createWithActionPeriod(inner(), 0.3f), typeid(CCEaseElasticIn)},
        {"elastic in-out", CCEaseElasticInOut::createWithActionPeriod(inner(), 0.3f), typeid(CCEaseInOut)},
        {"bounce in", CCEaseBounceIn::createWithAction(inner()), typeid(CCEaseBounceOut)},
        {"bounce out", CCEaseBounceOut::createWithAction(inner()), typeid(CCEaseBounceIn)},
        {"bounce in-out", CCEaseBounceInOut::createWithAction(inner()), typeid(CCActionEase)},
        {"back in", CCEaseBackIn::createWithAction(inner()), typeid(CCEaseBackOut)},
        {"back out", CCEaseBackOut::createWithAction(inner()), typeid(CCEaseBackIn)},
        {"back in-out", CCEaseBackInOut::createWithAction(inner()), typeid(CCActionEase)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCFiniteTimeAction* reversed = c.eased->reverse();
        ASSERT_NE(reversed, nullptr);
        EXPECT_EQ(typeid(*reversed), c.reverseType);
    }

    // The reverse of an ease-in runs its reversed inner action at a linear pace.
    CCActionEase* back = static_cast<CCActionEase*>(CCEaseIn::createWithActionRate(inner(), 3)->reverse());
    back->startWithTarget(node);
    back->update(0.4f);
    EXPECT_FLOAT_EQ(static_cast<RecordingAction*>(back->getInnerAction())->lastT, 0.4f);
    back->stop();

    // A plain elastic ease has no reverse, nor does an ease over an action without one.
    CCEaseElastic* plainElastic = new CCEaseElastic();
    plainElastic->initWithActionPeriod(inner(), 0.3f);
    plainElastic->autorelease();
    EXPECT_EQ(plainElastic->reverse(), nullptr);
    LogCapture log;
    EXPECT_EQ(CCEaseSineIn::createWithAction(CCMoveTo::createWithDurationPosition(1, CCPoint()))->reverse(),
              nullptr);
    EXPECT_FALSE(log.lines.empty());
}

TEST_F(EaseActionTest, ElasticInOutReplacesAZeroPeriodAtItsFirstUpdateAfterTheStart) {
    Journal journal;
    CCEaseElasticInOut* eased =
        CCEaseElasticInOut::createWithActionPeriod(RecordingAction::create(1, &journal), 0);
    run(eased);
    frame(0.25f);
    EXPECT_EQ(eased->getPeriod(), 0.0f);
    frame(0.25f);
    EXPECT_EQ(eased->getPeriod(), ease::kElasticInOutDefaultPeriod);
    CCEaseElasticInOut* copy = static_cast<CCEaseElasticInOut*>(eased->copy()->autorelease());
    EXPECT_EQ(copy->getPeriod(), ease::kElasticInOutDefaultPeriod);
}

TEST_F(EaseActionTest, UnusableParametersAreLoggedAndTheMoveStillEndsExactly) {
    struct Case {
        const char* name;
        std::function<CCActionEase*(CCActionInterval*)> wrap;
    };
    const Case cases[] = {
        {"elastic in, period 0",
         [](CCActionInterval* a) { return CCEaseElasticIn::createWithActionPeriod(a, 0); }},
        {"elastic out, period 0",
         [](CCActionInterval* a) { return CCEaseElasticOut::createWithActionPeriod(a, 0); }},
        {"in-out, rate 2.5", [](CCActionInterval* a) { return CCEaseInOut::createWithActionRate(a, 2.5f); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LogCapture log;
        node->setPosition(CCPoint(0, 0));
        run(c.wrap(CCMoveBy::createWithDurationPosition(1, CCPoint(100, 0))));
        EXPECT_FALSE(log.lines.empty());
        for (int i = 0; i < 10; ++i) {
            frame(0.125f);
            ASSERT_TRUE(std::isfinite(node->getPosition().x)) << "frame " << i;
        }
        EXPECT_FLOAT_EQ(node->getPosition().x, 100.0f);
        EXPECT_EQ(actionCount(), 0u);
    }
}

TEST_F(EaseActionTest, MissingInnerActionGivesNullAndALogLine) {
    LogCapture log;
    EXPECT_EQ(CCActionEase::createWithAction(nullptr), nullptr);
    EXPECT_EQ(CCEaseIn::createWithActionRate(nullptr, 2), nullptr);
    EXPECT_EQ(CCEaseElasticOut::createWithActionPeriod(nullptr, 0.3f), nullptr);
    EXPECT_EQ(CCEaseBounceOut::createWithAction(nullptr), nullptr);
    EXPECT_EQ(log.lines.size(), 4u);
}
