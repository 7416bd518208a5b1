#pragma once

#include "engine/base/CCObject.h"
#include "engine/base/CCRetained.h"
#include "engine/base/CCString.h"

class KVActor;

/// The payload of "EVENT_ACTION": what happened (a type code shared by pawns, attacks, rules,
/// scores and achievements), how much, and between whom. Created, filled, autoreleased and
/// posted at once; a receiver that needs it after the post retains it.
///
/// Type codes (the numbers are stored in rule files and compared by every observer):
///
// clang-format off
/// | code | what happened                                 | actor / target                  | value       |
/// |------|-----------------------------------------------|---------------------------------|-------------|
/// | 0    | knock-out: the target's hit points reached 0  | attacker / dead pawn            | 0           |
/// | 1    | distance-attack hit                           | shooter / hit pawn              | damage      |
/// | 2    | area-attack hit                               | attacker / hit pawn             | damage      |
/// | 3    | melee hit                                     | striker / struck pawn           | damage      |
/// | 4    | heal                                          | healer or null / healed pawn    | HP restored |
/// | 7    | combo performed (text: the sticker image)     | combo's pawn / null             | points      |
/// | 8    | the ninja log absorbed a hit                  | log's owner / absorbed attacker | 0           |
/// | 9    | the spiky shell pricked an enemy              | shell's owner / enemy           | 0           |
/// | 10   | spiky-ball hit                                | null / hit pawn                 | damage      |
/// | 11   | spiky-wall hit                                | null / hit pawn                 | damage      |
/// | 12   | fish-bomb blast                               | null / hit pawn                 | damage      |
/// | 13   | shuriken hit                                  | thrower / hit pawn              | damage      |
/// | 14   | spiky-shell damage                            | shell's owner / enemy           | damage      |
/// | 15   | kraken hit                                    | caller / hit enemy              | damage      |
/// | 16   | an enemy fell into a hole in this pawn's turn | acting pawn / fallen enemy      | 0           |
/// | 17   | points (counted by the score managers)        |                                 | points      |
/// | 18   | pearl reward for a hit or a fall              | rewarded pawn or null / null    | pearls      |
/// | 19   | pearls of a combo collected                   | null / null                     | pearls      |
/// | 20   | pearls of a treasure chest collected          | null / null                     | pearls      |
/// | 21   | pearls bought or delivered by the store       | null / null                     | pearls      |
// clang-format on
///
/// Codes 5 and 6 are not used.
class KVActionEvent : public kvengine::CCObject {
public:
    /// The action-type codes; `type` holds one of them as a plain int.
    enum Type : int {
        KnockOut = 0,
        DistanceHit = 1,
        AreaHit = 2,
        MeleeHit = 3,
        Heal = 4,
        Combo = 7,
        NinjaLogAbsorbed = 8,
        SpikyShellPrick = 9,
        SpikyBallHit = 10,
        SpikyWallHit = 11,
        FishBombBlast = 12,
        ShurikenHit = 13,
        SpikyShellDamage = 14,
        KrakenHit = 15,
        EnemyFell = 16,
        Points = 17,
        PearlReward = 18,
        ComboPearls = 19,
        ChestPearls = 20,
        StorePearls = 21,
    };
    /// The highest code in use.
    static constexpr int kLastType = StorePearls;

    /// A new event: type 0, value 0, ratio 0, no text, no actors.
    KVActionEvent() = default;
    /// Autoreleased event with the given fields.
    static KVActionEvent* create(int type, int value, float ratio, KVActor* actor, KVActor* target);

    CC_DECLARE_CLASS_NAME(KVActionEvent, kvengine::CCObject)

    /// True for the codes that carry damage taken by the target: 1-3 and 10-15.
    static bool isHit(int type) {
        return (type >= DistanceHit && type <= MeleeHit) || (type >= SpikyBallHit && type <= KrakenHit);
    }
    /// True for the codes whose value the score managers add to a score: 17-20.
    static bool isScored(int type) { return type >= Points && type <= ChestPearls; }

    /// Releases the text and forgets both actors.
    void cleanupBeforeDelete() override;

    /// Only for combos: the sticker's image name. Retained; may be null.
    kvengine::CCString* getText() const { return m_text; }
    void setText(kvengine::CCString* text);

    /// One of the Type codes.
    int type = 0;
    /// Damage dealt, hit points restored, points or pearls, by type.
    int value = 0;
    /// Damage divided by the target's maximum hit points for hits; 0 otherwise.
    float ratio = 0.0f;
    /// Who acted; not retained, may be null.
    KVActor* actor = nullptr;
    /// Who was affected; not retained, may be null.
    KVActor* target = nullptr;

private:
    kvengine::CCRetained<kvengine::CCString> m_text;
};
