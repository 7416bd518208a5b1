// The menus' GL fixture, compiled into this program too: the result screens stand on the same
// window, resource folder, clock and touches as the menu tests.
#include "../menu/MenuFixture.cpp"
