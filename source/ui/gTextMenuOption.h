#ifndef ZENTROVA_GTEXTMENUOPTION_H
#define ZENTROVA_GTEXTMENUOPTION_H

#include <SDL.h>

#include "CSurface.h"

// One labelled 100 x 20 plate of a text menu. The selection and the two plate
// pictures are shared by every menu: only one menu is ever on screen.
class gTextMenuOption {
public:
    static int selectedOption;  // id of the highlighted option, 0 for none
    static SurfacePtr selectedBackground;
    static SurfacePtr normalBackground;
    static bool optionFound;

    static constexpr int plateWidth = 100;
    static constexpr int plateHeight = 20;

    gTextMenuOption(int x, int y, const char* text, int id);
    gTextMenuOption(const gTextMenuOption&) = delete;
    gTextMenuOption& operator=(const gTextMenuOption&) = delete;

    void loop(int mouseX, int mouseY);
    void render();
    int getId() const { return id; }
    const SDL_Rect& getArea() const { return area; }

    // Replaces both shared plates (freeing the old ones) with plates in the
    // current interface colours.
    static void rebuildPlates();

private:
    int x;
    int y;
    int id;
    SurfacePtr textSurface;
    SDL_Rect area;
};

#endif
