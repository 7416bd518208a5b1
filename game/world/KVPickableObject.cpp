#include "game/world/KVPickableObject.h"

float KVPickableObject::getPickRadius() {
    return 0.0f;
}

bool KVPickableObject::containsPoint(float x, float y) {
    const float radius = getPickRadius();
    if (!(radius > 0.0f)) return false;
    float px = 0.0f, py = 0.0f;
    getPosition(&px, &py);
    const float dx = x - px;
    const float dy = y - py;
    return dx * dx + dy * dy <= radius * radius;
}
