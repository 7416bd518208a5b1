#pragma once

// The game's shared vocabulary: notification names, screen names, fonts, item names and lists.
//
// Every constant is a CCString made during static initialisation of this file and never
// changed, retained elsewhere or destroyed: each lives until the process ends, so an observer or
// a late destructor can always use it. Never release one of them. The notification centre keys
// its tables by text, so any CCString with the same text names the same notification. Code that
// runs during static initialisation of another file must not read these pointers (their order of
// initialisation across files is unspecified).

#include "engine/base/CCString.h"

/// Colour of three bytes for highlighted label texts.
struct KVColor3B {
    unsigned char r;
    unsigned char g;
    unsigned char b;
};

// Addresses, fonts, lists and item names.
extern kvengine::CCString* const ALERTS_URL;
extern kvengine::CCString* const HELP_PAGE_URL;
extern kvengine::CCString* const SOCIAL_PAGE_URL;
extern kvengine::CCString* const SECOND_SOCIAL_PAGE_URL;
extern kvengine::CCString* const PRODUCT_FONT;
extern kvengine::CCString* const DEFAULT_LANGUAGE;
extern kvengine::CCString* const TUTORIAL_CHATTER_LIST;
extern kvengine::CCString* const TUTORIAL_CHATTER_LIST_SHORT;
extern kvengine::CCString* const LANGUAGE_KEY_LIST;
extern kvengine::CCString* const KELVO_CLASS_FRIGATE;
extern kvengine::CCString* const HUD_FONT;
extern kvengine::CCString* const ITEM_ENERGY_DRINK;
extern kvengine::CCString* const ITEM_SUSHI;
extern kvengine::CCString* const ITEM_NINJA_LOG;
extern kvengine::CCString* const ITEM_SPIKY_SHELL;
extern kvengine::CCString* const ITEM_SHURIKEN;
/// Cyan (0, 255, 255): label texts of the heads-up display, the options and result screens.
extern const KVColor3B HIGHLIGHT_COLOR;
/// The text of PRODUCT_FONT.
extern const char* const PRODUCT_FONT_NAME;

// Screen and step names, posted when a screen opens or a step is confirmed.
extern kvengine::CCString* const SCREEN_MENU_MAIN;                    // "Menu - Main"
extern kvengine::CCString* const SCREEN_MENU_INTRO_MOVIE;             // "Menu - Intro Movie"
extern kvengine::CCString* const SCREEN_MENU_GAME_MODE_SELECTION;     // "Menu - Game Mode Selection"
extern kvengine::CCString* const SCREEN_MENU_STORY_CHAPTER_SELECTION; // "Menu - Story Chapter Selection"
extern kvengine::CCString* const SCREEN_MENU_MAP_SELECTION;           // "Menu - Map Selection"
extern kvengine::CCString* const SCREEN_MENU_SHOP;                    // "Menu - Shop"
extern kvengine::CCString* const SCREEN_MENU_SHOP_KELVOS;             // "Menu - Shop - Kelvos"
extern kvengine::CCString* const SCREEN_MENU_SHOP_HELMETS;            // "Menu - Shop - Helmets"
extern kvengine::CCString* const SCREEN_MENU_SHOP_STUFF;              // "Menu - Shop - Stuff"
extern kvengine::CCString* const SCREEN_MENU_SQUAD;                   // "Menu - Squad"
extern kvengine::CCString* const SCREEN_MENU_EQUIP;                   // "Menu - Equip"
extern kvengine::CCString* const SCREEN_MENU_EQUIP_REMOVE_HELMET;     // "Menu - Equip - Remove Helmet"
extern kvengine::CCString* const SCREEN_MENU_TRAIN_KELVO;             // "Menu - Train Kelvo"
extern kvengine::CCString* const SCREEN_MENU_TRAIN_KELVO_CONFIRM;     // "Menu - Train Kelvo - Confirm"
extern kvengine::CCString* const SCREEN_MENU_TRAIN_KELVO_CANCEL;      // "Menu - Train Kelvo - Cancel"
extern kvengine::CCString* const SCREEN_MENU_EQUIP_REMOVE_FROM_SQUAD; // "Menu - Equip - Remove From Squad"
extern kvengine::CCString* const SCREEN_MENU_USE_BRAINWASH;           // "Menu - Use Brainwash"
extern kvengine::CCString* const SCREEN_MENU_BUY;                     // "Menu - Buy"
extern kvengine::CCString* const SCREEN_MENU_BUY_CONFIRM;             // "Menu - Buy - Confirm"
extern kvengine::CCString* const SCREEN_MENU_BUY_CANCEL;              // "Menu - Buy - Cancel"
extern kvengine::CCString* const SCREEN_MENU_BUY_REAL_MONEY;          // "Menu - Buy - Real money"
extern kvengine::CCString* const SCREEN_MENU_BUY_CONSUMABLE;          // "Menu - Buy - Consumable"
extern kvengine::CCString* const SCREEN_MENU_BUY_PACK;                // "Menu - Buy - Pack"
extern kvengine::CCString* const SCREEN_MENU_BUY_ITEM;                // "Menu - Buy - Item"
extern kvengine::CCString* const SCREEN_MENU_ABOUT;                   // "Menu - About"
extern kvengine::CCString* const SCREEN_MENU_OPTION;                  // "Menu - Option"
extern kvengine::CCString* const SCREEN_INGAME_GAME;                  // "InGame - Game"
extern kvengine::CCString* const SCREEN_INGAME_PAUSE;                 // "InGame - Pause"

// Game notification names.
extern kvengine::CCString* const EVENT_NEW_ACTOR;
extern kvengine::CCString* const EVENT_CHANGE_CONTROL_KELVO;
extern kvengine::CCString* const EVENT_SET_CAMERA_TO_OBJECT;
extern kvengine::CCString* const EVENT_DEAD_PAWN;
extern kvengine::CCString* const EVENT_PAWN_PLAYS_KO;
extern kvengine::CCString* const EVENT_BEGIN_PUFF;
extern kvengine::CCString* const EVENT_MIDDLE_PUFF;
extern kvengine::CCString* const EVENT_DEAD_PAWN_READY;
extern kvengine::CCString* const EVENT_REMOVE_ACTOR;
extern kvengine::CCString* const EVENT_VICTORY_DANCE;
extern kvengine::CCString* const EVENT_VICTORY_STAR_GAINED;
extern kvengine::CCString* const EVENT_VICTORY_STAR_NOT_OBTAINED;
extern kvengine::CCString* const EVENT_LOOSE_DANCE;
extern kvengine::CCString* const EVENT_VICTORY_DANCE_DONE;
extern kvengine::CCString* const EVENT_GAME_WINNER;
extern kvengine::CCString* const EVENT_GAME_PLAYER_LOSE;
extern kvengine::CCString* const EVENT_GAME_OVER;
extern kvengine::CCString* const EVENT_SHOW_COMBO_MESSAGE;
extern kvengine::CCString* const EVENT_SHOW_SKIP_TURN;
extern kvengine::CCString* const EVENT_SKIP_TURN;
extern kvengine::CCString* const EVENT_CAM_UNPLAYABLE;
extern kvengine::CCString* const EVENT_CAM_PLAYABLE;
extern kvengine::CCString* const EVENT_END_TURN_BEFORE_BUFFER;
extern kvengine::CCString* const EVENT_END_TURN;
extern kvengine::CCString* const EVENT_START_TURN;
extern kvengine::CCString* const EVENT_MOVE_OVER_BEFORE_BUFFER;
extern kvengine::CCString* const EVENT_MOVE_OVER;
extern kvengine::CCString* const EVENT_GAME_SHUTDOWN;
extern kvengine::CCString* const EVENT_WM_SHUTDOWN;
extern kvengine::CCString* const EVENT_POWERUP_PICKED_UP;
extern kvengine::CCString* const EVENT_NINJA_LOG_FX;
extern kvengine::CCString* const EVENT_SPIKY_SHELL_EQUIP;
extern kvengine::CCString* const EVENT_SPIKY_SHELL_UNEQUIP;
extern kvengine::CCString* const EVENT_SPIKY_SHELL_SPIKE;
extern kvengine::CCString* const EVENT_END_OF_SUSHI;
extern kvengine::CCString* const EVENT_KELVO_ADDED;
extern kvengine::CCString* const EVENT_KELVO_REMOVED;
extern kvengine::CCString* const EVENT_KELVO_UNLOCKED;
extern kvengine::CCString* const EVENT_MAP_UNLOCKED;
extern kvengine::CCString* const EVENT_ACTION;
extern kvengine::CCString* const EVENT_DAMAGE_MODE_REQUEST_ON;
extern kvengine::CCString* const EVENT_DAMAGE_MODE_REQUEST_OFF;
extern kvengine::CCString* const EVENT_DAMAGE_MODE_ON;
extern kvengine::CCString* const EVENT_DAMAGE_MODE_OFF;
extern kvengine::CCString* const EVENT_KELVO_HIGHLIGHT_ON;
extern kvengine::CCString* const EVENT_KELVO_HIGHLIGHT_OFF;
extern kvengine::CCString* const EVENT_KELVO_ATTACK_MODE_AVAILABLE;
extern kvengine::CCString* const EVENT_KELVO_ATTACK_MODE_UNAVAILABLE;
extern kvengine::CCString* const EVENT_PLAYER_MOVE_REMAINING;
extern kvengine::CCString* const EVENT_NOTIFY_IN_ACTION;
extern kvengine::CCString* const EVENT_NOTIFY_IDLE;
extern kvengine::CCString* const EVENT_DISABLE_FORCE_IN_ACTION;
extern kvengine::CCString* const EVENT_INACTIVITY;
extern kvengine::CCString* const EVENT_ACTIVITY;
extern kvengine::CCString* const EVENT_STOP_FUGU;
extern kvengine::CCString* const EVENT_WANTS_AUTOMATIC_MODE_FOLLOW_MOVE;
extern kvengine::CCString* const EVENT_REMOVE_KELVO_HUD;
extern kvengine::CCString* const EVENT_PAWN_HIT_PAWN;
extern kvengine::CCString* const EVENT_PULL_START;
extern kvengine::CCString* const EVENT_PULL_RELEASE;
extern kvengine::CCString* const EVENT_PULL_NO_STAMINA;
extern kvengine::CCString* const EVENT_MISSED_PULL;
extern kvengine::CCString* const EVENT_MISSED_DISTANCE_ATTACK;
extern kvengine::CCString* const EVENT_MISSED_AOE;
extern kvengine::CCString* const EVENT_KELVO_LAUNCHED;
extern kvengine::CCString* const EVENT_POST_LOAD_GAME;
extern kvengine::CCString* const EVENT_SAVE_STATS;
extern kvengine::CCString* const EVENT_HIDDEN_STAR_FOUND;
extern kvengine::CCString* const EVENT_HAS_FOUND_HIDDEN_STAR;
extern kvengine::CCString* const EVENT_CAMERA_AUTO_FOCUS;
extern kvengine::CCString* const EVENT_KELVO_IDLE_STRETCH_START;
extern kvengine::CCString* const EVENT_KELVO_STRETCH_START;
extern kvengine::CCString* const EVENT_KELVO_BLINKS;
extern kvengine::CCString* const EVENT_PAWN_TAKE_DAMAGE;
extern kvengine::CCString* const EVENT_COCONUT_FALL;
extern kvengine::CCString* const EVENT_PAWN_FALL;
extern kvengine::CCString* const EVENT_PAWN_FALLEN;
extern kvengine::CCString* const EVENT_AOE_ACTION_START;
extern kvengine::CCString* const EVENT_AOE_ANIM_START;
extern kvengine::CCString* const EVENT_AOE_ANIM_OVER;
extern kvengine::CCString* const EVENT_AOE_TRIGGERED;
extern kvengine::CCString* const EVENT_DISTANCE_ATTACK_ACTION_START;
extern kvengine::CCString* const EVENT_DISTANCE_ATTACK_ANIM_START;
extern kvengine::CCString* const EVENT_DISTANCE_ATTACK_TRIGGERED;
extern kvengine::CCString* const EVENT_GAME_PLAYER_WIN;
extern kvengine::CCString* const EVENT_CHATTER_START;
extern kvengine::CCString* const EVENT_CHATTER_UPDATE;
extern kvengine::CCString* const EVENT_CHATTER_NEXT;
extern kvengine::CCString* const EVENT_END_SPEECH;
extern kvengine::CCString* const EVENT_COMBO_START;
extern kvengine::CCString* const EVENT_COMBO_END;
extern kvengine::CCString* const EVENT_BUTTON_VALIDATED;
extern kvengine::CCString* const EVENT_BUTTON_VALIDATED_LIGHT;
extern kvengine::CCString* const EVENT_BUTTON_INVALIDATED;
extern kvengine::CCString* const EVENT_BUBBLE_POP;
extern kvengine::CCString* const EVENT_TRIGGER_TRIGGERED;
extern kvengine::CCString* const EVENT_TRIGGER_ENABLE;
extern kvengine::CCString* const EVENT_TRIGGER_DISABLE;
extern kvengine::CCString* const EVENT_SPAWN_PAWN;
extern kvengine::CCString* const EVENT_SIMPLE_TAP_ON_PAWN;
extern kvengine::CCString* const EVENT_SINGLE_TAP;
extern kvengine::CCString* const EVENT_PAWN_SELECTED;
extern kvengine::CCString* const EVENT_PAWN_UNSELECTED;
extern kvengine::CCString* const EVENT_PAWN_ON_SCREEN;
extern kvengine::CCString* const EVENT_PAWN_OUT_OF_SCREEN;
extern kvengine::CCString* const EVENT_CONSUMABLE_READY_TO_USED;
extern kvengine::CCString* const EVENT_COMBO_SFX;
extern kvengine::CCString* const EVENT_MISSION_OBJECTIVE;
extern kvengine::CCString* const EVENT_DASH;
extern kvengine::CCString* const EVENT_AUTO_FOCUS_REQUEST;
extern kvengine::CCString* const EVENT_ANCHOR_START;
extern kvengine::CCString* const EVENT_ANCHOR_END;
extern kvengine::CCString* const EVENT_AI_ANIM_IMPULSE_START;
extern kvengine::CCString* const EVENT_AI_ANIM_IMPULSE_END;
extern kvengine::CCString* const EVENT_PEARL_ACQUIRED;
extern kvengine::CCString* const EVENT_OOF_ACTIVE;
extern kvengine::CCString* const EVENT_DASH_ACTIVE;
extern kvengine::CCString* const EVENT_MUSIC_MENU_START;
extern kvengine::CCString* const EVENT_MUSIC_MENU_STOP;
extern kvengine::CCString* const EVENT_MUSIC_GAME_START;
extern kvengine::CCString* const EVENT_MUSIC_GAME_STOP;
extern kvengine::CCString* const EVENT_TURN_START_PLAYER;
extern kvengine::CCString* const EVENT_TURN_START_ENEMY;
extern kvengine::CCString* const EVENT_TURN_START_PLAYER_DISPLAY;
extern kvengine::CCString* const EVENT_TREASURE_CHEST_OPENED;
extern kvengine::CCString* const EVENT_TREASURE_CHEST_HELMET_REWARD;
extern kvengine::CCString* const EVENT_MIRACLE_TENTACLE_TRIGGERED;
extern kvengine::CCString* const EVENT_TENTACLE_GRIP_TRIGGERED;
extern kvengine::CCString* const EVENT_KRAKEN_TRIGGERED;
extern kvengine::CCString* const EVENT_KRAKEN_EFFECT_TRIGGERED;
extern kvengine::CCString* const EVENT_KRAKEN_ANIM_FINISHED;
extern kvengine::CCString* const EVENT_KRAKEN_SOUND_TRIGGER;
extern kvengine::CCString* const EVENT_POWER_UP_TRIGGERED;
extern kvengine::CCString* const EVENT_BRAIN_WASH_TRIGGERED;
extern kvengine::CCString* const EVENT_CHARACTER_ITEM_UPDATE_NEEDED;
extern kvengine::CCString* const EVENT_KELVO_TRAIN_OK;
extern kvengine::CCString* const EVENT_UPDATE_STAT_NUMBER;
extern kvengine::CCString* const EVENT_PAWN_BOUNCE;
extern kvengine::CCString* const EVENT_PAWN_BOUNCE_FOR_ACHIEVEMENT;
extern kvengine::CCString* const EVENT_SHURIKEN_THROW;
extern kvengine::CCString* const EVENT_MAKE_PAWN_INVISIBLE;
extern kvengine::CCString* const EVENT_MAKE_PAWN_VISIBLE;
extern kvengine::CCString* const EVENT_USELESS_TAP_DURING_AI_TURN;
extern kvengine::CCString* const EVENT_CONSUMABLE_START_HUD_FX_MIRACLE_TENTACLES;
extern kvengine::CCString* const EVENT_CONSUMABLE_START_HUD_FX_TENTACLE_GRIP;
extern kvengine::CCString* const EVENT_COCONUT_CRAB_QUAKE_TRIGGER;
extern kvengine::CCString* const EVENT_COCONUT_CRAB_QUAKE_ACTION_START;
extern kvengine::CCString* const EVENT_COCONUT_CRAB_QUAKE_ANIM_END;
extern kvengine::CCString* const EVENT_COCONUT_CRAB_SWIPE_TRIGGER;
extern kvengine::CCString* const EVENT_COCONUT_CRAB_SWIPE_ANIM_END;
extern kvengine::CCString* const EVENT_COCONUT_CRAB_THROW_LEFT_TRIGGER;
extern kvengine::CCString* const EVENT_COCONUT_CRAB_THROW_LEFT_ATTACK_TRIGGER;
extern kvengine::CCString* const EVENT_COCONUT_CRAB_THROW_LEFT_ANIM_END;
extern kvengine::CCString* const EVENT_COCONUT_CRAB_THROW_RIGHT_TRIGGER;
extern kvengine::CCString* const EVENT_COCONUT_CRAB_THROW_RIGHT_ATTACK_TRIGGER;
extern kvengine::CCString* const EVENT_COCONUT_CRAB_THROW_RIGHT_ANIM_END;
extern kvengine::CCString* const EVENT_COCONUT_CRAB_ACTIVATE_MOUTH;
extern kvengine::CCString* const EVENT_COCONUT_CRAB_DEAD;
extern kvengine::CCString* const EVENT_COCONUT_CRAB_KO_RIGHT_EYE;
extern kvengine::CCString* const EVENT_COCONUT_CRAB_KO_LEFT_EYE;
extern kvengine::CCString* const EVENT_COCONUT_CRAB_KO_BOTH_EYES;
extern kvengine::CCString* const EVENT_PURCHASE_DONE;
extern kvengine::CCString* const EVENT_PEARLFISH_REWARD;
extern kvengine::CCString* const EVENT_POP_UP_CLOSED;
extern kvengine::CCString* const EVENT_POP_UP_CANCELLED;
extern kvengine::CCString* const EVENT_MENU_SCROLL_STARTED;
extern kvengine::CCString* const EVENT_MENU_DROP;
extern kvengine::CCString* const EVENT_PEARL_PICKED;
extern kvengine::CCString* const EVENT_MISSION_SET_STATUS_PLAYED;
extern kvengine::CCString* const EVENT_PEARL_SPWANED;
extern kvengine::CCString* const EVENT_KELVO_RECRUITED;
extern kvengine::CCString* const EVENT_STAR_HIDDEN_UNLOCKED;
extern kvengine::CCString* const EVENT_STAR_SURVIVAL_UNLOCKED;
extern kvengine::CCString* const EVENT_STAR_SPEED_UNLOCKED;
extern kvengine::CCString* const EVENT_ACHIEVEMENT_SEAFOOD_PORRIDGE;
extern kvengine::CCString* const EVENT_ACHIEVEMENT_DONT_RUN_NEAR_POOL;
extern kvengine::CCString* const EVENT_ACHIEVEMENT_KUNG_FU_KELVO;
extern kvengine::CCString* const EVENT_ACHIEVEMENT_FACEBOOK;
extern kvengine::CCString* const EVENT_CONNECTED_TO_GAME_CENTER;
extern kvengine::CCString* const EVENT_NOT_CONNECTED_TO_GAME_CENTER;
extern kvengine::CCString* const EVENT_USER_LOGGED_IN_ACHIEVEMENT_MANAGER;
extern kvengine::CCString* const EVENT_USER_CHOSE_FAVORITE_ACHIEVEMENT_MANAGER;
extern kvengine::CCString* const EVENT_STEP_VALIDATED;
extern kvengine::CCString* const EVENT_TAP_ANIMATION;
extern kvengine::CCString* const APPVIP_DID_CLOSE;

/// Map file names, in the order of the original map list (placeholders are underscores).
extern kvengine::CCString* const MAP_FILE_NAMES[12];

/// Every notification and screen name above, in order of definition (tests and tools).
extern kvengine::CCString* const* const ALL_NOTIFICATION_NAMES;
extern const unsigned ALL_NOTIFICATION_NAME_COUNT;
