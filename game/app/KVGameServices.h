#pragma once

/// Connects the floors of the game that call a shared service above them through an interface (the
/// data layer's store catalogue, dialogues and quit confirmation) to the services that implement
/// them. Called once at application start, before anything reads game data; calling it again
/// changes nothing. The services themselves are still made on first use.
void kvConnectGameServices();
