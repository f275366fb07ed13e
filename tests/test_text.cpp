#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "CSurface.h"
#include "font.h"
#include "gEngine.h"
#include "gTextMenu.h"
#include "gTextMenuOption.h"
#include "gui.h"
#include "protocol.h"
#include "spf.h"
#include "testSupport.h"

using testing_support::pixelAt;

namespace {

bool sameColour(SDL_Color a, SDL_Color b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

std::string describe(SDL_Color c) {
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
}

SDL_Color rgb(int r, int g, int b) {
    SDL_Color colour = {static_cast<Uint8>(r), static_cast<Uint8>(g), static_cast<Uint8>(b), 0};
    return colour;
}

bool glyphBit(unsigned char code, int row, int column) {
    return (FNT_GetFont()[8 * code + row] & (0x80 >> column)) != 0;
}

Uint8 valueAt(SDL_Surface* text, int x, int y) {
    return static_cast<const Uint8*>(text->pixels)[y * text->pitch + x];
}

// Compares the 8 x 8 cell at (x, y) with a glyph; code -1 means an empty cell.
::testing::AssertionResult cellHolds(SDL_Surface* text, int x, int y, int code) {
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 8; ++column) {
            const Uint8 expected = code >= 0 && glyphBit(static_cast<unsigned char>(code), row, column) ? 1 : 0;
            const Uint8 actual = valueAt(text, x + column, y + row);
            if (expected != actual) {
                return ::testing::AssertionFailure()
                       << "cell at (" << x << ", " << y << ") should hold " << (code < 0 ? "nothing" : "glyph ")
                       << (code < 0 ? "" : std::to_string(code)) << " but pixel (" << column << ", " << row
                       << ") is " << int(actual);
            }
        }
    }
    return ::testing::AssertionSuccess();
}

struct TextSurface {
    SurfacePtr owned;
    SDL_Surface* surface;
    TextSurface(const std::string& text, SDL_Color colour = rgb(255, 255, 255))
        : owned(FNT_RenderMax(text.data(), static_cast<unsigned int>(text.size()), colour)), surface(owned.get()) {}
};

TEST(Font, ExtentsFollowTabsNewlinesCarriageReturnsAndTheZeroByte) {
    const struct {
        std::string text;
        int width, height;
    } cases[] = {
        {"", 0, 0},
        {"A", 8, 8},
        {"XY\nZ", 16, 16},
        {"A\n", 8, 16},
        {"\t", 32, 8},
        {"\tA", 40, 8},
        {"A\tB", 40, 8},
        {"ABCD\t", 64, 8},  // a tab at a multiple of 4 still moves a full 4 columns
        {"XY\rZ", 24, 8},
        {std::string("XY\0ZW", 5), 16, 8},
        {"AB\nCDEF\nG", 32, 24},
    };
    for (const auto& c : cases) {
        const FNT_Extent extent = FNT_Generate(c.text.data(), static_cast<unsigned int>(c.text.size()), 0, nullptr);
        EXPECT_EQ(static_cast<Uint32>(c.width), extent.width) << "width of \"" << c.text << "\"";
        EXPECT_EQ(static_cast<Uint32>(c.height), extent.height) << "height of \"" << c.text << "\"";
        TextSurface text(c.text);
        ASSERT_NE(nullptr, text.surface) << "an empty text is a 0 x 0 surface, not a failure";
        EXPECT_EQ(c.width, text.surface->w) << "\"" << c.text << "\"";
        EXPECT_EQ(c.height, text.surface->h) << "\"" << c.text << "\"";
    }
    const SurfacePtr whole = FNT_Render("XY\nZ", rgb(1, 2, 3));
    ASSERT_NE(nullptr, whole);
    EXPECT_EQ(16, whole->w);
    EXPECT_EQ(16, whole->h);
}

TEST(Font, GlyphsLandWhereTheLayoutPutsThem) {
    TextSurface lines("XY\nZ");
    EXPECT_TRUE(cellHolds(lines.surface, 0, 0, 'X'));
    EXPECT_TRUE(cellHolds(lines.surface, 8, 0, 'Y'));
    EXPECT_TRUE(cellHolds(lines.surface, 0, 8, 'Z')) << "a newline returns to the left edge";
    EXPECT_TRUE(cellHolds(lines.surface, 8, 8, -1));

    TextSurface tab("\tA");
    for (int x = 0; x < 32; x += 8) EXPECT_TRUE(cellHolds(tab.surface, x, 0, -1)) << "a tab draws nothing";
    EXPECT_TRUE(cellHolds(tab.surface, 32, 0, 'A'));

    TextSurface carriage("XY\rZ");
    EXPECT_TRUE(cellHolds(carriage.surface, 16, 0, 'Z')) << "a carriage return must not move the column";

    TextSurface cut(std::string("XY\0ZW", 5));
    EXPECT_TRUE(cellHolds(cut.surface, 0, 0, 'X'));
    EXPECT_TRUE(cellHolds(cut.surface, 8, 0, 'Y'));
}

TEST(Font, EveryOtherByteDrawsItsOwnGlyph) {
    std::string text;
    for (int code = 1; code < 256; ++code) {
        if (code != '\t' && code != '\n' && code != '\r') text += static_cast<char>(code);
    }
    TextSurface all(text);
    ASSERT_NE(nullptr, all.surface);
    ASSERT_EQ(static_cast<int>(text.size()) * 8, all.surface->w);
    for (size_t i = 0; i < text.size(); ++i) {
        const int code = static_cast<unsigned char>(text[i]);
        EXPECT_TRUE(cellHolds(all.surface, static_cast<int>(i) * 8, 0, code))
            << "byte " << code << (code >= 128 ? " (bytes from 128 on must not be read as negative)" : "");
    }
}

TEST(Font, BackgroundIsTheInkShiftedBy126ModuloTwoFiftyFive) {
    TextSurface text("W", rgb(0, 255, 129));
    ASSERT_NE(nullptr, text.surface);
    const SDL_Palette* palette = text.surface->format->palette;
    ASSERT_NE(nullptr, palette);
    EXPECT_EQ("(126, 126, 0)", describe(palette->colors[0]));
    EXPECT_EQ("(0, 255, 129)", describe(palette->colors[1]));
    EXPECT_TRUE(text.surface->flags & SDL_SRCCOLORKEY);
    EXPECT_EQ(0u, text.surface->format->colorkey) << "the background must be the transparent value";

    TextSurface other("W", rgb(128, 200, 1));
    EXPECT_EQ("(254, 71, 127)", describe(other.surface->format->palette->colors[0]));
}

TEST(Font, BlittingDrawsOnlyTheInkInItsColour) {
    SDL_Surface* screen = CSurface::slot(slots::WINDOW);
    testing_support::fillScreen(10, 20, 30);
    TextSurface text("X", rgb(200, 100, 50));
    ASSERT_TRUE(CSurface::OnDraw(screen, text.surface, 40, 40, nullptr));
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 8; ++column) {
            const SDL_Color expected = glyphBit('X', row, column) ? rgb(200, 100, 50) : rgb(10, 20, 30);
            const SDL_Color actual = pixelAt(screen, 40 + column, 40 + row);
            EXPECT_TRUE(sameColour(expected, actual))
                << "pixel (" << column << ", " << row << ") is " << describe(actual) << ", expected "
                << describe(expected);
        }
    }
    TextSurface empty("");
    EXPECT_TRUE(CSurface::OnDraw(screen, empty.surface, 0, 0, nullptr)) << "an empty text is a valid surface";
    EXPECT_TRUE(sameColour(rgb(10, 20, 30), pixelAt(screen, 0, 0)));
}

TEST(MouseIsInside, EveryEdgeOfTheRectangleCountsAsOutside) {
    const SDL_Rect rect = {10, 20, 30, 40};  // with the offset: x 15..45, y 27..67
    const struct {
        int x, y;
        bool inside;
    } points[] = {
        {16, 28, true}, {44, 66, true}, {15, 28, false}, {45, 28, false},
        {16, 27, false}, {16, 67, false}, {30, 40, true}, {11, 21, false},
    };
    for (const auto& p : points) {
        EXPECT_EQ(p.inside, mouseIsInside(p.x, p.y, rect, 5, 7)) << "(" << p.x << ", " << p.y << ")";
    }
}

class TextMenu : public ::testing::Test {
protected:
    void SetUp() override {
        savedBackground = gui_background;
        savedBorder = gui_border;
        savedText = gui_text;
        gui_background = rgb(10, 60, 110);
        gui_border = rgb(220, 30, 40);
        gui_text = rgb(250, 250, 0);
        testing_support::fillScreen(0, 0, 0);
    }
    void TearDown() override {
        gui_background = savedBackground;
        gui_border = savedBorder;
        gui_text = savedText;
        pointAt(0, 0);
    }
    // Puts the pointer where SDL_GetMouseState will report it.
    static void pointAt(int x, int y) {
        SDL_WarpMouse(static_cast<Uint16>(x), static_cast<Uint16>(y));
        SDL_Event pending;
        while (SDL_PollEvent(&pending)) {
        }
    }
    static int selectionAt(gTextMenu& menu, int x, int y) {
        pointAt(x, y);
        const bool found = menu.loop();
        EXPECT_EQ(found, menu.getSelectedOption() != 0) << "loop() should report whether an option was found";
        return menu.getSelectedOption();
    }
    static SDL_Color screenAt(int x, int y) { return pixelAt(CSurface::slot(slots::WINDOW), x, y); }

    SDL_Color savedBackground, savedBorder, savedText;
};

TEST_F(TextMenu, HitTestingUsesTheStrictPlateEdgesAndLeavesTheGapEmpty) {
    gTextMenu menu(200, 300);
    menu.addMenuOption("One");
    menu.addMenuOption("Two");
    menu.addMenuOption("Three");
    const struct {
        int x, y, option;
    } points[] = {
        {200, 300, 0}, {201, 301, 1}, {299, 319, 1}, {300, 310, 0}, {250, 320, 0},
        {250, 322, 0}, {250, 325, 0}, {250, 326, 2}, {250, 351, 3}, {250, 370, 0},
    };
    for (const auto& p : points) {
        EXPECT_EQ(p.option, selectionAt(menu, p.x, p.y)) << "pointer at (" << p.x << ", " << p.y << ")";
    }
}

TEST_F(TextMenu, AMenuWithoutOptionsSelectsNothing) {
    gTextMenu menu(0, 0);
    gTextMenuOption::selectedOption = 2;
    pointAt(10, 10);
    EXPECT_FALSE(menu.loop());
    EXPECT_EQ(0, menu.getSelectedOption());
}

TEST_F(TextMenu, RenderDrawsTheHighlightedPlateAndTheLabelInset) {
    gTextMenu menu(200, 100);
    menu.addMenuOption("X");
    menu.addMenuOption("X");
    ASSERT_EQ(2, selectionAt(menu, 250, 135));
    menu.render();
    EXPECT_EQ(describe(gui_background), describe(screenAt(201, 101))) << "option 1 is not under the pointer";
    EXPECT_EQ(describe(gui_border), describe(screenAt(201, 126))) << "option 2 is under the pointer";
    EXPECT_EQ(describe(gui_background), describe(screenAt(299, 119))) << "plates are 100 x 20";
    EXPECT_EQ(describe(rgb(0, 0, 0)), describe(screenAt(250, 122))) << "nothing is drawn between the plates";
    // The label sits 15 right of and 6 below the plate's corner.
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 8; ++column) {
            const SDL_Color expected = glyphBit('X', row, column) ? gui_text : gui_background;
            EXPECT_EQ(describe(expected), describe(screenAt(215 + column, 106 + row)))
                << "label pixel (" << column << ", " << row << ")";
        }
    }
}

TEST_F(TextMenu, ASecondMenuResetsTheSelectionAndRebuildsThePlates) {
    gTextMenu first(200, 300);
    first.addMenuOption("first");
    ASSERT_EQ(1, selectionAt(first, 250, 310));

    gui_background = rgb(1, 90, 2);
    gui_border = rgb(3, 4, 180);
    gTextMenu second(400, 100);
    EXPECT_EQ(0, first.getSelectedOption()) << "the selection is shared by every menu";
    second.addMenuOption("a");
    second.addMenuOption("b");
    ASSERT_EQ(1, selectionAt(second, 450, 110));
    second.render();
    EXPECT_EQ("(3, 4, 180)", describe(screenAt(401, 101))) << "the highlight plate keeps an old colour";
    EXPECT_EQ("(1, 90, 2)", describe(screenAt(401, 126))) << "the normal plate keeps an old colour";
}

}  // namespace
