#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "RoomDefs.h"
#include "testSupport.h"

namespace {

const std::string dataDir = "tests/data/roomdefs/";

class RoomDefsTest : public ::testing::Test {
protected:
    void SetUp() override { clearRoomDefs(); }
    void TearDown() override {
        clearRoomDefs();
        remove(scratch.c_str());
    }

    // Loads a file and returns what the loader wrote to stderr; the table must grow only on success.
    std::string load(const std::string& path, bool loads) {
        const size_t before = rooms.size();
        testing_support::CapturedOutput err(stderr);
        EXPECT_EQ(loads, loadARoom(path.c_str())) << path;
        EXPECT_EQ(before + (loads ? 1 : 0), rooms.size()) << path;
        return err.text();
    }
    // valid.xml with one piece of text replaced, written to a scratch file.
    std::string variant(const std::string& from, const std::string& to) {
        std::string text = testing_support::readFile(dataDir + "valid.xml");
        const size_t at = text.find(from);
        EXPECT_NE(std::string::npos, at) << from;
        if (at != std::string::npos) text.replace(at, from.size(), to);
        testing_support::writeFile(scratch, text);
        return scratch;
    }

    std::string validIcon() const {
        const std::string valid = testing_support::readFile(dataDir + "valid.xml");
        const size_t start = valid.find("<icon>") + 6;
        return valid.substr(start, valid.find("</icon>") - start);
    }
    // valid.xml with other text for the icon.
    std::string withIcon(const std::string& text) { return variant(validIcon(), text); }

    // valid.xml with elements nested `levels` deep in front of the title, each opening followed by `text`.
    std::string nested(int levels, const std::string& text) {
        const std::string valid = testing_support::readFile(dataDir + "valid.xml");
        const size_t title = valid.find("<title>");
        std::string open, close;
        for (int i = 1; i < levels; ++i) {  // roomdata is the first level
            open += "<n>" + text;
            close += "</n>";
        }
        testing_support::writeFile(scratch, valid.substr(0, title) + open + close + valid.substr(title));
        return scratch;
    }

    const std::string scratch = ::testing::TempDir() + "zentrova_roomdef_" + std::to_string(getpid()) + ".xml";
};

std::string summary(const aRoom& room) {
    char text[160];
    snprintf(text, sizeof text, "%d %s: type %d, %ux%u, %d variants, cost %.1f, rent %d/%d, icon %d", room.id,
             room.title, room.type, room.sizeX, room.sizeY, room.maxVariant + 1, room.cost, room.rentIncome,
             room.rentPeriod, room.icon != nullptr);
    return text;
}

std::string finding(const char* element) { return std::string("Error finding <") + element + "> element in XML file."; }

}  // namespace

TEST_F(RoomDefsTest, GameDefinitionsLoadInOrderAfterTheLobby) {
    ASSERT_TRUE(loadRoomDefs());
    const std::vector<std::string> expected = {"0 Lobby: type 0, 1x1, 1 variants, cost 100.0, rent 0/0, icon 0",
                                               "1 Elevator: type 2, 2x2, 1 variants, cost 2000.0, rent 0/0, icon 1",
                                               "2 Single Room: type 1, 1x1, 3 variants, cost 500.0, rent 40/1, icon 1",
                                               "3 Suite: type 1, 1x2, 2 variants, cost 1200.0, rent 120/2, icon 1",
                                               "4 Office: type 1, 2x2, 2 variants, cost 1500.0, rent 900/7, icon 1"};
    std::vector<std::string> loaded;
    for (const aRoom& room : rooms) {
        EXPECT_NE(nullptr, room.surface) << room.title;
        loaded.push_back(summary(room));
    }
    EXPECT_EQ(expected, loaded);
}

TEST_F(RoomDefsTest, FileIsReadByPositionAfterTheTitle) {
    loadRoomDefs();
    EXPECT_EQ("", load(dataDir + "valid.xml", true));
    EXPECT_EQ("5 Test Room: type 1, 1x2, 3 variants, cost 250.5, rent 12/3, icon 1", summary(rooms.back()))
        << "the rent income of \"12 coins\" is read up to the first non-digit";

    load(variant("variants=\"3\"", "variants=\"many\""), true);
    EXPECT_EQ(65535, rooms.back().maxVariant) << "no digits read as 0 variants, less one";
    load(variant("Test Room", std::string(60, 'T')), true);
    EXPECT_EQ(std::string(49, 'T'), rooms.back().title) << "a long title is shortened to 49 characters";
    EXPECT_EQ(7, rooms.back().id);
}

TEST_F(RoomDefsTest, EveryMissingElementIsReportedInOrder) {
    static const char* const names[] = {"title", "type", "graphics", "size", "cost", "rentIncome", "rentPeriod"};
    const std::string valid = testing_support::readFile(dataDir + "valid.xml");
    for (int kept = 0; kept < 7; ++kept) {
        // Cut the definition right before the first element that is to be missing.
        const size_t cut = valid.find(std::string("<") + names[kept]);
        const size_t end = valid.find("</roomdata>");
        testing_support::writeFile(scratch, valid.substr(0, cut) + valid.substr(end));
        std::string expected;
        for (int missing = kept; missing < 7; ++missing)
            expected += finding(names[missing]);
        EXPECT_EQ(expected, load(scratch, false)) << "kept the first " << kept << " elements";
    }
    testing_support::writeFile(scratch, valid.substr(0, valid.find("<icon>")));
    EXPECT_EQ(finding("icon"), load(scratch, false));
}

TEST_F(RoomDefsTest, MalformedValuesAreRefused) {
    const struct {
        const char* from;
        const char* to;
        const char* message;
    } cases[] = {
        {"<title>Test Room</title>", "<title></title>", "Error: empty <title> element in XML file."},
        {"<cost>250.5</cost>", "<cost> </cost>", "Error: empty <cost> element in XML file."},
        {" variants=\"3\"", "", "Error: <graphics> needs a variants attribute in XML file."},
        {"hotel1.png", "twenty_five_chars_xxx.png",
         "Error: <graphics> file name longer than 24 characters in XML file."},
        {"hotel1.png", "twenty_four_chars_xx.png", "Error loading image file."},
        {" y=\"2\"", "", "Error: <size> needs x and y of at least 1 in XML file."},
        {"x=\"1\"", "x=\"0\"", "Error: <size> needs x and y of at least 1 in XML file."},
        {"250.5", "-1", "Error: <cost> must be an amount of at least 0 in XML file."},
        {"250.5", "inf", "Error: <cost> must be an amount of at least 0 in XML file."},
        {"250.5", "nan", "Error: <cost> must be an amount of at least 0 in XML file."},
        {"</roomdata>", "</roomdata", "Error loading XML File."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.message, load(variant(c.from, c.to), false)) << c.from << " -> " << c.to;
    EXPECT_EQ("Unknown <type> in XML file, read as BASIC.", load(variant("BASIC", "basic"), true))
        << "a kind with a type keyword in the wrong case is still offered, as an ordinary room";
    EXPECT_EQ(BASIC, rooms.back().type);
    EXPECT_EQ("Error loading XML File.", load(dataDir + "no_such_file.xml", false));
    EXPECT_EQ(0u, load(dataDir + "no_roomdata.xml", false).find(finding("roomdata") + finding("title")));
}

TEST_F(RoomDefsTest, OnlyAnUnbrokenBase64PngOfSaneSizeIsAnIcon) {
    const std::string notConverted = "Error converting icon file.";
    EXPECT_EQ("ERROR decoding the icon: invalid input" + notConverted, load(dataDir + "icon_split.xml", false));
    std::string unpadded = validIcon();
    unpadded.erase(unpadded.find('='));
    EXPECT_EQ("ERROR decoding the icon: invalid input" + notConverted, load(withIcon(unpadded), false))
        << "text without its padding";
    EXPECT_EQ(notConverted, load(dataDir + "icon_bmp.xml", false)) << "a BMP is a readable image, but not a PNG";
    EXPECT_EQ(notConverted, load(dataDir + "icon_huge.xml", false)) << "the header declares 5000 x 5000";
    const std::string corrupt = load(dataDir + "icon_corrupt.xml", false);  // the PNG library adds a line of its own
    EXPECT_EQ(notConverted, corrupt.substr(corrupt.size() - std::min(corrupt.size(), notConverted.size())));
    EXPECT_EQ(notConverted, load(withIcon(""), false)) << "an empty icon";
}

TEST_F(RoomDefsTest, OversizedOrDeeplyNestedFilesAreRefusedBeforeParsing) {
    const std::string valid = testing_support::readFile(dataDir + "valid.xml");
    const size_t title = valid.find("<title>");
    EXPECT_EQ("", load(nested(64, ""), true)) << "64 levels are allowed";
    EXPECT_EQ(0u, load(nested(65, ""), false).find("Error loading XML File."));

    std::string padded = valid;
    padded.insert(title, std::string(1 << 20, ' '));
    testing_support::writeFile(scratch, padded);
    EXPECT_EQ(0u, load(scratch, false).find("Error loading XML File."));
}

// A file just under 1 MiB of such nesting overflows the XML reader's stack.
TEST_F(RoomDefsTest, TextThatLooksLikeATagEndDoesNotHideNesting) {
    EXPECT_EQ(0u, load(nested(65, "/>"), false).find("Error loading XML File."))
        << "the text \"/>\" inside an element closes nothing, so the nesting is still 65 deep";
}

TEST_F(RoomDefsTest, MissingLobbyImageLeavesAPlainLobbyAndReadsNoFiles) {
    char dir[] = "/tmp/zentrova-nolobby-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(dir));
    char* previous = getcwd(nullptr, 0);
    ASSERT_EQ(0, chdir(dir));
    bool result = true;
    std::string printed, complained;
    {
        testing_support::CapturedOutput out(stdout), err(stderr);
        result = loadRoomDefs();
        printed = out.text();
        complained = err.text();
    }
    EXPECT_EQ(0, chdir(previous));
    free(previous);
    rmdir(dir);

    EXPECT_FALSE(result);
    EXPECT_EQ("Error loading lobby file.", complained);
    EXPECT_EQ(std::string::npos, printed.find("loading elevator")) << "no room file is read without the lobby";
    ASSERT_EQ(1u, rooms.size());
    EXPECT_STREQ("Lobby", rooms[0].title);
    EXPECT_NE(nullptr, rooms[0].surface) << "a stand-in picture keeps the lobby drawable";
    EXPECT_EQ(100.0, rooms[0].cost);
}
