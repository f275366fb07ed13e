// SDL 1.2 renames main only on some platforms; on this one its start-up code
// is absent, so this stands in for it.
#include "main.h"

int main(int argc, char** argv) { return SDL_main(argc, argv); }
