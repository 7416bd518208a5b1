#include "game/menu/KVTitleItem.h"

#include "game/hud/KVLabelWithShadow.h"

using namespace kvengine;

namespace {
constexpr int kLabelZ = 1;
}

KVTitleItem* KVTitleItem::createWithTitle(CCString* title, const std::string& fontName, int fontSize) {
    auto* item = new KVTitleItem(title, fontName, fontSize);
    item->autorelease();
    item->setAnchorPoint(CCPoint(0, 0));
    item->setPosition(CCPoint(0, 0));
    return item;
}

KVTitleItem::KVTitleItem(CCString* title, const std::string& fontName, int fontSize) {
    init();
    KVLabelWithShadow* label =
        KVLabelWithShadow::createWithString(title, fontName.c_str(), static_cast<float>(fontSize));
    addChildAtZ(label, kLabelZ);
    setContentSize(label->getContentSize());
}
