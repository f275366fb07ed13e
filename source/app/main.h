#ifndef ZENTROVA_MAIN_H
#define ZENTROVA_MAIN_H

// The program proper: reads the command line, then runs the game or the
// icon conversion. Returns the exit status.
extern "C" int SDL_main(int argc, char** argv);

// Turns an image file into the Base64 icon text of a room definition file,
// written to icon_result.txt in the working directory.
void fileStuff(const char* path);

#endif
