#pragma once

class KVPortraitIcon;

/// What a portrait list asks of the screen view that owns it (the list's target). The shop view
/// implements it; a target that does not is taken as "not on its first build".
class KVPortraitListOwner {
public:
    virtual ~KVPortraitListOwner() = default;
    /// True while the view builds its first list since the screen opened: the creature and helmet
    /// lists then choose the item the player came for instead of their first one.
    virtual bool isOnFirstPortraitBuild() const = 0;
};

/// The equipment screen's character card (child 9 of the screen view): it takes the icon of the
/// helmet in use while that icon carries the new-helmet mark, and removes the mark once the
/// helmet's bonuses are transferred.
class KVChosenHelmetIconHolder {
public:
    virtual ~KVChosenHelmetIconHolder() = default;
    /// Retains the icon (null lets go of the previous one).
    virtual void setChosenHelmetIcon(KVPortraitIcon* icon) = 0;
};
