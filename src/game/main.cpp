#include "core/lifecycle.h"

int main() { tessera::run_game(); }
