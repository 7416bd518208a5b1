// The program's entry. Start-up grows here as the game's services arrive.
int main() { return 0; }
