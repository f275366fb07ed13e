// The XML reader recurses once per nested element, so settings and room
// files are measured before it sees them. These files once slipped past the
// measure (text, comments and attribute values that looked like closing
// tags) and overflowed the stack inside the reader.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "RoomDefs.h"
#include "gEngine.h"
#include "testSupport.h"
#include "xmlGuard.h"

using namespace testing_support;

namespace {

std::string repeat(const std::string& piece, size_t times) {
    std::string text;
    text.reserve(piece.size() * times);
    for (size_t k = 0; k < times; ++k) text += piece;
    return text;
}

class XmlGuard : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/zentrova-xml-XXXXXX";
        const int descriptor = mkstemp(name);
        ASSERT_GE(descriptor, 0);
        close(descriptor);
        path = name;
    }
    void TearDown() override { unlink(path.c_str()); }

    bool safe(const std::string& text) {
        writeFile(path, text);
        return xmlFileIsSafe(path.c_str());
    }

    std::string path;
};

TEST_F(XmlGuard, RefusesDeepNestingDisguisedAsClosingMarkup) {
    // Each piece opens one element for the reader but used to count as closed.
    const struct {
        const char* what;
        const char* piece;
    } disguises[] = {
        {"\"/>\" in text", "<a>/>"},
        {"\"</\" in a comment", "<a><!--</-->"},
        {"\"</a>\" in a quoted attribute value holding '>'", "<a b=\"x> </a>\">"},
        {"\"</a>\" in a declaration's quoted version", "<a><?xml version=\"></a>\"?>"},
        {"\"/>\" in a CDATA section", "<a><![CDATA[/>]]>"},
    };
    for (const auto& disguise : disguises) {
        const std::string piece = disguise.piece;
        const std::string deep = repeat(piece, 200000 / piece.size() * 4);
        ASSERT_LE(deep.size(), static_cast<size_t>(maxXmlFileSize));
        EXPECT_FALSE(safe(deep)) << disguise.what << ": the nesting count let the reader recurse without limit";
        EXPECT_FALSE(safe(repeat(piece, maxXmlNesting + 1))) << disguise.what << " just past the limit";
    }
}

TEST_F(XmlGuard, AcceptsOrdinaryFilesUpToTheNestingLimit) {
    EXPECT_TRUE(safe(repeat("<a>", maxXmlNesting) + repeat("</a>", maxXmlNesting))) << "exactly at the limit";
    EXPECT_FALSE(safe(repeat("<a>", maxXmlNesting + 1) + repeat("</a>", maxXmlNesting + 1))) << "one past it";
    EXPECT_TRUE(safe("<list>" + repeat("<item x=\"1\" />", 5000) + "</list>")) << "siblings do not nest";
    EXPECT_TRUE(safe("<?xml version=\"1.0\" ?>\n<!-- " + repeat("<a>", 500) + " -->\n<root/>"))
        << "elements inside a comment are not elements";
    EXPECT_TRUE(safe(readFile("config.xml"))) << "the game's own settings";
    for (const char* room : {"assets/elevator.xml", "assets/hotel1.xml", "assets/hotel2.xml", "assets/office.xml"}) {
        EXPECT_TRUE(safe(readFile(room))) << room;
    }
    EXPECT_FALSE(safe(std::string(static_cast<size_t>(maxXmlFileSize) + 1, ' '))) << "past the size limit";

    // A character whose first byte announces more bytes than follow would
    // step the reader over the end of its buffer.
    EXPECT_TRUE(safe("<title>Caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8f\xa2</title>")) << "whole characters";
    EXPECT_FALSE(safe("<a>\xea\x80r"));
    EXPECT_FALSE(safe("<a>\xea\x80"));
    EXPECT_FALSE(safe("<window a=\"\xf0\x9f\x8f\"/>"));
    writeFile(path, "<window/><a>\xe9t\xe9</a>");
    CapturedOutput errors(stderr);
    gEngine engine;
    EXPECT_FALSE(engine.loadXMLSettings(path.c_str()));
    EXPECT_EQ("The settings file holds a character cut short. ", errors.text());
}

TEST_F(XmlGuard, SettingsAndRoomLoadersRefuseDeepFilesWithTheirMessages) {
    writeFile(path, repeat("<a>/>", 200000));
    {
        CapturedOutput errors(stderr);
        gEngine engine;
        EXPECT_FALSE(engine.loadXMLSettings(path.c_str()));
        EXPECT_NE(std::string::npos, errors.text().find("larger than 1 MiB or nested too deeply"));
    }
    {
        CapturedOutput errors(stderr);
        CapturedOutput out(stdout);
        EXPECT_FALSE(loadARoom(path.c_str()));
        EXPECT_NE(std::string::npos, errors.text().find("Error loading XML File. (larger than 1 MiB or nested too deeply)"));
    }
}

}  // namespace
