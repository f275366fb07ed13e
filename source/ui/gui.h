#ifndef ZENTROVA_GUI_H
#define ZENTROVA_GUI_H

#include <SDL.h>
#include <memory>
#include <string>
#include <vector>

#include "CSurface.h"
#include "button.h"
#include "gPanel.h"
#include "gWindow.h"

// The tower screen's interface: the button bar, the status bar with help and
// messages, the funds read-out, the floor indicator and one message window.
class GUI {
public:
    static GUI* Instance();
    static bool exists() { return singleton != nullptr; }

    // Ends the GUI: the singleton and everything it owns are gone afterwards.
    void onExit();
    void addButton(int slot, int code, bool momentary, const char* text, int roomNumber, bool selectsTool = true);
    bool checkMouse(int mouseX, int mouseY, bool clicked);
    void checkWindow();
    void clearButtons();
    void deselect();
    void pause();
    void setInfoText(const char* text);
    void setHelpText(const char* text);
    void setMessageText(const char* text);
    void setFloor(int floor, int floors);
    // The living tower's stars at the end of the status line, 0 to 5; none before the first call.
    void setRating(int stars);
    int getRating() const { return rating; }
    void createWindow(const char* text, int lines, int columns, int buttons, int id);
    void killWindow();
    // Lays the bars, the read-out, the storey indicator and the open window
    // out again for the window's size, where it has changed.
    void relayout();

    // The Query Tool's and the finances' panel; one at a time, kind says whose
    // (the event code of its button). It takes every click while open: OK or
    // a click outside closes it.
    void openPanel(const std::vector<std::string>& lines, const gPanel::Chart* chart, int kind);
    void closePanel();
    bool panelTakesClick(int x, int y);
    gPanel* getPanel() const { return panel.get(); }
    int getPanelKind() const { return panel ? panelKind : 0; }
    void update();
    void show();

    static constexpr Uint32 messageLifetime = 2500;  // milliseconds

    // Read-only views for the screens' tests and the frame benchmark.
    bool isPaused() const { return paused; }
    bool isDirty() const { return dirty; }
    const char* getHelpText() const { return helpText.empty() ? nullptr : helpText.c_str(); }
    const char* getMessageText() const { return messageText.empty() ? nullptr : messageText.c_str(); }
    gWindow* getWindow() const { return window.get(); }
    size_t buttonCount() const { return buttons.size(); }
    Button& buttonAt(size_t index) { return *buttons[index]; }
    const SDL_Rect& getFloorClip() const { return floorClip; }
    const SDL_Rect& getDigitClip() const { return digitClip; }
    SDL_Surface* getInfoSurface() const { return infoSurface.get(); }
    const std::string& getInfoText() const { return infoText; }
    const SDL_Rect& getTensClip() const { return tensClip; }
    bool showsTens() const { return tens; }

private:
    friend struct std::default_delete<GUI>;
    GUI();
    void placeInfo();
    // What the open message window was asked to show, to open it again elsewhere.
    struct WindowRequest {
        std::string text;
        int lines, columns, buttons, id;
    };
    ~GUI() = default;
    GUI(const GUI&) = delete;
    GUI& operator=(const GUI&) = delete;
    static std::unique_ptr<GUI> singleton;

    SDL_Rect barRect;
    SDL_Rect statusRect;
    SDL_Rect statusInner;
    SDL_Rect separator;
    Uint32 backgroundColour = 0;
    Uint32 borderColour = 0;
    SurfacePtr barSurface;
    SurfacePtr helpSurface;
    SurfacePtr statusSurface;
    SurfacePtr infoSurface;
    SurfacePtr messageSurface;
    SDL_Rect floorClip;
    SDL_Rect digitClip;
    SDL_Rect tensClip;  // the first digit of a storey from 10 on
    bool tens = false;
    std::string infoText;
    int infoX = 0;
    std::string helpText;     // empty: none shown
    std::string messageText;  // empty: none shown
    std::vector<std::unique_ptr<Button>> buttons;
    std::unique_ptr<gWindow> window;
    WindowRequest windowRequest;
    std::unique_ptr<gPanel> panel;
    int rating = -1;
    SurfacePtr starSheet;
    int panelKind = 0;
    Uint32 messageTime = 0;
    bool paused = false;
    bool dirty = true;
    int lastClicked = 0;
};

#endif
