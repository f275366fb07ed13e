#include "gui.h"

#include <algorithm>
#include <cstdio>

#include "display.h"
#include "gamePaths.h"
#include "protocol.h"
#include "sheetGeometry.h"
#include "spf.h"
#include "ticks.h"

std::unique_ptr<GUI> GUI::singleton;

namespace {

constexpr int barHeight = 32;
constexpr int statusHeight = 24;

Uint32 mapColour(SDL_Surface* surface, SDL_Color colour) {
    return surface ? SDL_MapRGB(surface->format, colour.r, colour.g, colour.b) : 0;
}

}  // namespace

GUI* GUI::Instance() {
    if (!singleton) singleton.reset(new GUI());
    return singleton.get();
}

GUI::GUI() {
    puts("gui creation");
    relayout();
    messageTime = ticks::now();
    floorClip = sheet::floors::ground;
    digitClip = sheet::floors::digit;
    tensClip = digitClip;
}

void GUI::relayout() {
    if (barSurface && statusSurface && barRect.w == resolutionX && statusRect.y == resolutionY - statusHeight) return;
    barRect = makeRect(0, 0, resolutionX, barHeight);
    statusRect = makeRect(0, resolutionY - statusHeight, resolutionX, statusHeight);
    statusInner = makeRect(4, 4, resolutionX - 8, 16);
    // Placed by the window's height, not its width: the divider sits where it
    // always has. In a low window it keeps to the right of where the longest
    // message ends, as far as the window is wide.
    separator = makeRect(std::max(resolutionY - 200, std::min(400, resolutionX - 270)), 4, 6, 16);

    barSurface.reset(SDL_CreateRGBSurface(0, resolutionX, barHeight, 32, 0, 0, 0, 0));
    if (!barSurface) fputs("GUI is NULL", stderr);
    statusSurface.reset(SDL_CreateRGBSurface(0, resolutionX, statusHeight, 32, 0, 0, 0, 0));
    if (!statusSurface) fputs("status bar is NULL", stderr);
    backgroundColour = mapColour(barSurface.get(), gui_background);
    borderColour = mapColour(statusSurface.get(), gui_border);
    dirty = true;

    placeInfo();
    if (panel) panel->centre();
    if (window) {
        window.reset();
        const WindowRequest request = windowRequest;
        createWindow(request.text.c_str(), request.lines, request.columns, request.buttons, request.id);
    }
}

void GUI::onExit() {
    if (singleton.get() == this) singleton.reset();
}

void GUI::addButton(int slot, int code, bool momentary, const char* text, int roomNumber, bool selectsTool) {
    buttons.push_back(std::make_unique<Button>(slot, code, momentary, text, roomNumber));
    buttons.back()->setSelectsTool(selectsTool);
}

bool GUI::checkMouse(int mouseX, int mouseY, bool clicked) {
    bool over = false;
    for (size_t i = 0; i < buttons.size(); ++i) {
        Button& current = *buttons[i];
        if (!mouseIsInside(mouseX, mouseY, current.getRect(), barRect.x, 0)) continue;
        over = true;
        setHelpText(current.getStatusBar());
        if (clicked) {
            lastClicked = static_cast<int>(i);
            if (current.selectsTool()) clearButtons();
            current.click();
        }
    }
    if (!over && !paused) setHelpText(nullptr);
    const bool overWindow = window && window->checkMouse(mouseX, mouseY, clicked);
    const bool overPanel = panel && panel->contains(mouseX, mouseY);
    return overWindow || overPanel || mouseY > resolutionY - statusHeight || mouseY <= barHeight - 1;
}

void GUI::checkWindow() {
    if (window) window->loop();
}

void GUI::clearButtons() {
    for (size_t i = 0; i < buttons.size(); ++i) buttons[i]->reset(static_cast<int>(i) != lastClicked);
}

void GUI::deselect() {
    if (lastClicked >= 0 && static_cast<size_t>(lastClicked) < buttons.size()) buttons[lastClicked]->reset(true);
}

void GUI::pause() {
    paused = !paused;
    if (!buttons.empty()) {
        Button& pauseButton = *buttons[0];
        if (paused) {
            pauseButton.setAttributes(0, true, "Play");
            pauseButton.activate();
        } else {
            pauseButton.setAttributes(0, false, "Pause");
            pauseButton.reset(true);
        }
    }
    dirty = true;
}

void GUI::setInfoText(const char* text) {
    infoText = text ? text : "";
    infoSurface = FNT_Render(infoText.c_str(), gui_text);
    dirty = true;
    placeInfo();
}

void GUI::placeInfo() {
    // 50 pixels in from the right edge, but in a narrow window not over the
    // last button, nor beyond the edge.
    const int width = infoSurface ? infoSurface->w : 0;
    int barEnd = 0;
    for (const auto& current : buttons) barEnd = std::max(barEnd, current->getRect().x + current->getRect().w);
    infoX = std::min(std::max(resolutionX - width - 50, barEnd + 4), resolutionX - width);
}

void GUI::setHelpText(const char* text) {
    if (!text) {
        if (!helpText.empty() || helpSurface) {
            helpText.clear();
            helpSurface.reset();
        }
        return;
    }
    if (helpSurface && helpText == text) return;
    helpText = text;
    helpSurface = FNT_Render(helpText.c_str(), gui_text);
    dirty = true;
}

void GUI::setMessageText(const char* text) {
    messageTime = ticks::now();
    if (!text) {
        messageText.clear();
        messageSurface.reset();
        return;
    }
    if (messageSurface && messageText == text) return;
    messageText = text;
    messageSurface = FNT_Render(messageText.c_str(), gui_text);
    dirty = true;
}

void GUI::setFloor(int floor, int floors) {
    // The strip holds the digits 0 to 9; from storey 10 on the number takes two.
    const int shown = floor < 0 ? 0 : floor % 100;
    tens = shown >= 10;
    const SDL_Rect& zero = sheet::floors::digit;
    tensClip.x = static_cast<Sint16>(zero.x + shown / 10 * zero.w);
    digitClip.x = static_cast<Sint16>(zero.x + shown % 10 * zero.w);
    if (floor == 1) {
        floorClip = sheet::floors::ground;
    } else if (floor < floors) {
        floorClip = sheet::floors::middle;
    } else {
        floorClip = sheet::floors::top;
    }
}

void GUI::createWindow(const char* text, int lines, int columns, int buttonCount, int id) {
    if (window) return;
    const short w = static_cast<short>(columns * 8 + 20);
    const short h = static_cast<short>(lines * 8 + 52);
    SDL_Rect size = makeRect(0, 0, w, h);
    windowRequest = WindowRequest{text ? text : "", lines, columns, buttonCount, id};
    window = std::make_unique<gWindow>(resolutionX / 2 - w / 2, resolutionY / 2 - h / 2, text, size, buttonCount, id);
}

void GUI::killWindow() { window.reset(); }

void GUI::openPanel(const std::vector<std::string>& lines, const gPanel::Chart* chart, int kind) {
    panel = std::make_unique<gPanel>(lines, chart);
    panelKind = kind;
}

void GUI::closePanel() {
    // A window's own button (the finances') is lit while its window is open.
    for (auto& current : buttons)
        if (current->getCode() == panelKind && !current->selectsTool()) current->reset(true);
    panel.reset();
    dirty = true;
}

bool GUI::panelTakesClick(int x, int y) {
    if (!panel) return false;
    if (panel->onOk(x, y) || !panel->contains(x, y)) closePanel();
    return true;
}

void GUI::update() {
    if (!dirty) return;
    if (messageTime + messageLifetime < ticks::now()) setMessageText(nullptr);
    if (barSurface) SDL_FillRect(barSurface.get(), nullptr, backgroundColour);
    if (statusSurface) {
        SDL_FillRect(statusSurface.get(), nullptr, borderColour);
        SDL_FillRect(statusSurface.get(), &statusInner, backgroundColour);
        SDL_FillRect(statusSurface.get(), &separator, borderColour);
    }
    if (window) window->update();
    dirty = false;
}

void GUI::setRating(int stars) {
    if (!starSheet) {
        starSheet = CSurface::toDisplayFormat(CSurface::loadPNGFile(gamePaths::data("assets/service.png").c_str()));
        if (!starSheet) fputs("No picture assets/service.png; the tower's stars are not shown", stderr);
    }
    rating = stars < 0 ? 0 : stars > 5 ? 5 : stars;
}

void GUI::show() {
    if (barSurface) {
        for (auto& current : buttons) current->show(barSurface.get());
        if (infoSurface) CSurface::OnDraw(barSurface.get(), infoSurface.get(), infoX, 4, nullptr);
        CSurface::drawRepainted(barSurface.get(), barRect.x, barRect.y);
    }
    if (statusSurface) {
        if (helpSurface) CSurface::OnDraw(statusSurface.get(), helpSurface.get(), separator.x + 12, statusInner.y + 4, nullptr);
        if (messageSurface) CSurface::OnDraw(statusSurface.get(), messageSurface.get(), 12, statusInner.y + 4, nullptr);
        if (rating >= 0 && starSheet) {
            const int step = sheet::service::earnedStar.w + 1;
            const int left = statusInner.x + statusInner.w - 5 * step - 2;
            for (int star = 0; star < 5; ++star)
                CSurface::OnDraw(statusSurface.get(), starSheet.get(), left + star * step, statusInner.y + 1,
                                 star < rating ? &sheet::service::earnedStar : &sheet::service::unearnedStar);
        }
        CSurface::drawRepainted(statusSurface.get(), statusRect.x, statusRect.y);
    }
    if (window) window->show();
    if (panel) panel->show();
    CSurface::OnDraw(0, slots::FLOOR_INDICATOR, 0, statusRect.y - floorClip.h, &floorClip);
    const sheet::Offset digitsAt = sheet::floors::digitsOnIndicator;
    const int digitY = statusRect.y - floorClip.h + digitsAt.y;
    if (tens) CSurface::OnDraw(0, slots::FLOOR_INDICATOR, digitsAt.x, digitY, &tensClip);
    CSurface::OnDraw(0, slots::FLOOR_INDICATOR, digitsAt.x + (tens ? tensClip.w : 0), digitY, &digitClip);
}
