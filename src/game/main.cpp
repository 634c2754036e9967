#include "game/flow.h"

int main() { tessera::run_game(); }
