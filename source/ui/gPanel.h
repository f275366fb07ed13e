#ifndef ZENTROVA_GPANEL_H
#define ZENTROVA_GPANEL_H

#include <SDL.h>
#include <string>
#include <vector>

#include "CSurface.h"

// A framed panel of text lines, with a bar chart below them if given, and an
// OK plate: the Query Tool's and the finances' window. It is painted once
// when opened, in the interface colours and the built-in font, sized to what
// it holds and centred between the bars; a frame only blits it.
class gPanel {
public:
    struct Chart {
        std::vector<double> values;       // one bar each, left to right
        std::vector<std::string> labels;  // under the bars, one each
    };

    gPanel(const std::vector<std::string>& lines, const Chart* chart);
    gPanel(const gPanel&) = delete;
    gPanel& operator=(const gPanel&) = delete;

    // Centred again, for a window of another size.
    void centre();
    bool contains(int x, int y) const;
    bool onOk(int x, int y) const;
    void show();

    const std::vector<std::string>& getLines() const { return lines; }
    const SDL_Rect& getFrame() const { return frame; }
    const SDL_Rect& getOkPlate() const { return okPlate; }
    // Where the chart's bars stand on the screen, zero-sized without a chart.
    const SDL_Rect& getChartArea() const { return chartArea; }

    static constexpr int lineHeight = 10;
    static constexpr int barWidth = 16;
    static constexpr int barGap = 4;
    static constexpr int chartHeight = 80;

private:
    void paint(const Chart* chart);

    std::vector<std::string> lines;
    SurfacePtr surface;
    SDL_Rect frame;
    SDL_Rect okPlate;
    SDL_Rect chartArea;
};

#endif
