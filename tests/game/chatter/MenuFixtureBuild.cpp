// The menu tests' fixture, compiled into this program as well.
#include "game/menu/MenuFixture.cpp"
