#include "gPanel.h"

#include <algorithm>

#include "display.h"
#include "spf.h"

namespace {

constexpr int border = 2;
constexpr int padding = 10;
constexpr int barTop = 32;         // the button bar's height
constexpr int statusHeight = 24;   // the status bar's height
constexpr int plateWidth = 100;
constexpr int plateHeight = 20;
constexpr int labelGap = 12;       // from the chart's foot to its labels' foot

Uint32 mapped(SDL_Surface* surface, SDL_Color colour) {
    return SDL_MapRGB(surface->format, colour.r, colour.g, colour.b);
}

void writeText(SDL_Surface* target, const std::string& text, int x, int y) {
    SurfacePtr rendered = FNT_Render(text.c_str(), gui_text);
    if (rendered) CSurface::OnDraw(target, rendered.get(), x, y, nullptr);
}

}  // namespace

gPanel::gPanel(const std::vector<std::string>& text, const Chart* chart) : lines(text) {
    size_t widest = 0;
    for (const std::string& line : lines) widest = std::max(widest, line.size());
    const int bars = chart ? static_cast<int>(chart->values.size()) : 0;
    const int chartWidth = bars * (barWidth + barGap);
    const int contentWidth = std::max({static_cast<int>(widest) * 8, chartWidth, plateWidth});
    const int chartBlock = chart ? chartHeight + labelGap + lineHeight : 0;
    const int w = contentWidth + 2 * (border + padding);
    const int h = 2 * border + padding + static_cast<int>(lines.size()) * lineHeight + chartBlock + padding +
                  plateHeight + padding;
    // Laid out at the top left corner, then moved to its place.
    frame = makeRect(0, 0, w, h);
    okPlate = makeRect(border + padding, h - border - padding - plateHeight, plateWidth, plateHeight);
    const int chartTop = border + padding + static_cast<int>(lines.size()) * lineHeight + padding / 2;
    chartArea = chart ? makeRect(border + padding, chartTop, chartWidth, chartHeight) : makeRect(0, 0, 0, 0);
    centre();
    paint(chart);
}

void gPanel::centre() {
    // Between the button bar and the status bar, never over the bar.
    const int playHeight = resolutionY - barTop - statusHeight;
    const int x = std::max(0, (resolutionX - frame.w) / 2);
    const int y = barTop + std::max(0, (playHeight - frame.h) / 2);
    for (SDL_Rect* rect : {&okPlate, &chartArea}) {
        rect->x = static_cast<Sint16>(rect->x - frame.x + x);
        rect->y = static_cast<Sint16>(rect->y - frame.y + y);
    }
    frame.x = static_cast<Sint16>(x);
    frame.y = static_cast<Sint16>(y);
}

void gPanel::paint(const Chart* chart) {
    surface.reset(SDL_CreateRGBSurface(0, frame.w, frame.h, 32, 0, 0, 0, 0));
    if (!surface) return;
    SDL_Surface* target = surface.get();
    const Uint32 background = mapped(target, gui_background), edge = mapped(target, gui_border),
                 ink = mapped(target, gui_text);
    SDL_FillRect(target, nullptr, edge);
    SDL_Rect inner = makeRect(border, border, frame.w - 2 * border, frame.h - 2 * border);
    SDL_FillRect(target, &inner, background);

    int lineY = border + padding;
    for (const std::string& line : lines) {
        writeText(target, line, border + padding, lineY);
        lineY += lineHeight;
    }
    if (chart && !chart->values.empty()) {
        const int left = chartArea.x - frame.x, top = chartArea.y - frame.y;
        const double highest = std::max(1.0, *std::max_element(chart->values.begin(), chart->values.end()));
        for (size_t i = 0; i < chart->values.size(); ++i) {
            const int barX = left + static_cast<int>(i) * (barWidth + barGap);
            const double value = std::max(0.0, chart->values[i]);
            const int height = static_cast<int>(value / highest * chartHeight + 0.5);
            SDL_Rect bar = makeRect(barX, top + chartHeight - height, barWidth, height);
            if (height > 0) SDL_FillRect(target, &bar, ink);
            if (i < chart->labels.size()) writeText(target, chart->labels[i], barX, top + chartHeight + labelGap - 8);
        }
        SDL_Rect foot = makeRect(left, top + chartHeight, chartArea.w, 1);
        SDL_FillRect(target, &foot, edge);
    }
    SDL_Rect plate = makeRect(okPlate.x - frame.x, okPlate.y - frame.y, plateWidth, plateHeight);
    SDL_FillRect(target, &plate, edge);
    writeText(target, "OK", plate.x + 15, plate.y + 6);
}

bool gPanel::contains(int x, int y) const { return mouseIsInside(x, y, frame, 0, 0); }

bool gPanel::onOk(int x, int y) const { return mouseIsInside(x, y, okPlate, 0, 0); }

void gPanel::show() {
    if (surface) CSurface::drawRepainted(surface.get(), frame.x, frame.y);
}
