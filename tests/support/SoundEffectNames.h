// The fixed effect events the sound manager plays (below "kelvos/SFX/"), beside the voice lines it
// builds from a creature's voice: the sound tests' project and the content check both list these.
#pragma once

namespace kvtest {

inline const char* const kSoundManagerEffects[] = {"Kelvo_launch_light",
                                                   "Kelvo_launch_max",
                                                   "Pawn_hit_pawn",
                                                   "UI_Cam_AutoFocus",
                                                   "Kelvo_stretch",
                                                   "UI_skip_turn",
                                                   "Pawn_fall",
                                                   "Crab_Aoe_Attack",
                                                   "Kelvo_Aoe_Attack",
                                                   "Kelvo_distant_attack",
                                                   "Stat_levelup",
                                                   "UI_Bt_Validated",
                                                   "UI_bt_validated_light",
                                                   "UI_bt_not_validated_light",
                                                   "Pearls_pickup",
                                                   "Male_girly_powerup2",
                                                   "UI_Chatter_Next",
                                                   "UI_Menu_Scroll",
                                                   "UI_BubblePop",
                                                   "Pawn_bounce",
                                                   "Kelvo_Dash",
                                                   "Kelvo_Grab_Anchor",
                                                   "Shuriken_throw",
                                                   "Spiky_shell_drop",
                                                   "VictoryScreen_StarAppear",
                                                   "VictoryScreen_StarNotGained",
                                                   "Spawn_pawn",
                                                   "Ninja_teleport",
                                                   "Pearls_spawn",
                                                   "Boss_Crab_QuakeAtk",
                                                   "Boss_Crab_SwipeAtk",
                                                   "Boss_Crab_KO",
                                                   "Kraken_animation",
                                                   "Hidden_Star_Detect"};

} // namespace kvtest
