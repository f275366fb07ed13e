#ifndef ZENTROVA_GTEXTMENU_H
#define ZENTROVA_GTEXTMENU_H

#include <memory>
#include <vector>

#include "gTextMenuOption.h"

// A vertical column of text options; the one under the pointer is highlighted
// and becomes the selection.
class gTextMenu {
public:
    gTextMenu(int x, int y);
    gTextMenu(const gTextMenu&) = delete;
    gTextMenu& operator=(const gTextMenu&) = delete;

    void addMenuOption(const char* text);
    bool loop();
    void render();
    int getSelectedOption() const;
    size_t optionCount() const { return options.size(); }
    const gTextMenuOption& option(size_t index) const { return *options[index]; }

    static constexpr int spacing = 25;  // plate height plus a 5-pixel gap

private:
    int x;
    int y;
    std::vector<std::unique_ptr<gTextMenuOption>> options;
};

#endif
