// The mission fixture of the result-screen tests, compiled into this program too: the HUD stands
// on the same window, resource folder, clock and running mission.
#include "../menu/MenuFixture.cpp"
#include "../results/ResultsFixture.cpp"
