#include "game/shop/KVStorePacks.h"

namespace kvstore {

namespace {

const PackRow kPacks[] = {
    {"pearlfish", true, nullptr, 0, 0, nullptr, nullptr},
    {"jammer_pack", true, "shuriken", 10, 5000, "jammer", "coconut"},
    {"venus_pack", true, "cocktail", 5, 3000, "venus", "nacre_crown"},
    {"vesper_pack", true, "sushi", 10, 3000, "vesper", "claws_crown"},
    {"kapono_pack", true, "mighty_kraken", 1, 1000, "kapono", "tiki_mask"},
    {"miracle_pack", false, "miracle_tentacle_final", 15, 0, nullptr, nullptr},
};

struct TextRow {
    const char* name;
    const char* key;
};

const TextRow kPackTexts[] = {
    {"brainwash_medusa", "Pop Up Brainwash Bought"}, {"pearlfish", "Pop_Up_Pearlfish_Bought"},
    {"jammer_pack", "Pop_Up_JammerPack_Bought"},     {"venus_pack", "Pop_Up_VenusPack_Bought"},
    {"vesper_pack", "Pop_Up_VesperPack_Bought"},     {"kapono_pack", "Pop_Up_Kapono_Bought"},
    {"miracle_pack", "Pop_Up_MiraclePack_Bought"},   {"halloween_pack", "Pop_Up_Halloween_Bought"},
};

const TextRow kPearlTexts[] = {
    {"Chest of pearls", "Pop Up PearlsPack2 Bought"},
    {"Sea of pearls", "Pop Up PearlsPack3 Bought"},
    {"Pack of pearl", "Pop Up PearlsPack1 Bought"},
};

} // namespace

const PackRow* findPack(const std::string& identifier) {
    for (const PackRow& row : kPacks)
        if (identifier == row.identifier) return &row;
    return nullptr;
}

const char* packTextKey(const std::string& identifier) {
    for (const TextRow& row : kPackTexts)
        if (identifier == row.name) return row.key;
    return nullptr;
}

const char* pearlTextKey(const std::string& title) {
    for (const TextRow& row : kPearlTexts)
        if (title == row.name) return row.key;
    return "Pop Up Pearls Bought";
}

} // namespace kvstore
