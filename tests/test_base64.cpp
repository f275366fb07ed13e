#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base64.h"

namespace {

const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Encodes through the allocating form, which is what the icon conversion uses.
std::string encoded(const std::string& bytes) {
    char* text = nullptr;
    const unsigned int length = base64_encode_alloc(bytes.data(), static_cast<unsigned int>(bytes.size()), &text);
    EXPECT_NE(nullptr, text) << "allocation of the encoded text failed for " << bytes.size() << " bytes";
    if (!text) return "";
    const std::string result(text);
    EXPECT_EQ(result.size(), length) << "the returned length should be the text's length without its NUL";
    free(text);
    return result;
}

struct Decoded {
    bool ok;
    std::string bytes;
};

Decoded decoded(const std::string& text, unsigned int room = 64) {
    std::string out(room + 1, '\x7e');  // one guard byte behind the room
    unsigned int length = room;
    // An exactly sized copy, so that reading past the input shows under the address sanitizer.
    const std::vector<char> input(text.begin(), text.end());
    const bool ok = base64_decode(input.data(), static_cast<unsigned int>(input.size()), &out[0], &length);
    EXPECT_EQ('\x7e', out[room]) << "decoding \"" << text << "\" wrote past the room it was given";
    return {ok, out.substr(0, length)};
}

TEST(Base64, EncodesTheStandardVectorsWithPadding) {
    const struct {
        const char* plain;
        const char* text;
    } vectors[] = {{"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},        {"foo", "Zm9v"},
                   {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}};
    for (const auto& vector : vectors) {
        EXPECT_EQ(vector.text, encoded(vector.plain)) << "plain text \"" << vector.plain << "\"";
        const Decoded back = decoded(vector.text);
        EXPECT_TRUE(back.ok) << vector.text;
        EXPECT_EQ(vector.plain, back.bytes) << vector.text;
    }
}

TEST(Base64, EncodeAllocOfNothingIsAnEmptyStringNotAFailure) {
    char* text = nullptr;
    EXPECT_EQ(0u, base64_encode_alloc("", 0, &text));
    ASSERT_NE(nullptr, text) << "a result of 0 alone must not mean failure: the buffer holds the NUL";
    EXPECT_EQ('\0', text[0]);
    EXPECT_GE(malloc_usable_size(text), 1u);
    free(text);
}

TEST(Base64, EncodeAllocRefusesASizeThatWrapsAround) {
    // 4 * ceil(n / 3) + 1 wraps to 1 here; nothing may be read or written.
    const char unused = 0;
    char* text = reinterpret_cast<char*>(1);
    EXPECT_EQ(0u, base64_encode_alloc(&unused, 0xC0000000u, &text));
    EXPECT_EQ(nullptr, text);
}

TEST(Base64, EncodeWritesAtMostTheRoomGivenAndTerminatesOnlyWhenThereIsRoom) {
    const struct {
        const char* plain;
        unsigned int room;
        const char* written;  // what lands in the buffer, guard bytes ('#') included
    } cases[] = {
        {"", 0, "######"},      {"", 1, "\0#####"},
        {"foo", 3, "Zm9###"},   {"foo", 4, "Zm9v##"},
        {"f", 2, "Zg####"},     {"fo", 5, "Zm8=\0#"},
        {"foob", 5, "Zm9vY#"},
    };
    for (const auto& c : cases) {
        char out[6];
        memset(out, '#', sizeof out);
        base64_encode(c.plain, static_cast<unsigned int>(strlen(c.plain)), out, c.room);
        EXPECT_EQ(0, memcmp(out, c.written, sizeof out))
            << "encoding \"" << c.plain << "\" into " << c.room << " bytes gave \"" << std::string(out, sizeof out)
            << "\"";
    }
}

TEST(Base64, RoundTripsEveryByteValueAtEveryGroupLength) {
    for (unsigned int length = 0; length <= 70; ++length) {
        std::string bytes;
        for (unsigned int i = 0; i < length; ++i) bytes += static_cast<char>((i * 37 + length * 101) & 0xFF);
        const std::string text = encoded(bytes);
        ASSERT_EQ(4 * ((length + 2) / 3), text.size()) << "encoded length for " << length << " bytes";
        const size_t padding = (3 - length % 3) % 3;
        for (size_t i = 0; i < text.size(); ++i) {
            if (i >= text.size() - padding) {
                EXPECT_EQ('=', text[i]) << "padding of " << length << " bytes";
            } else {
                EXPECT_NE(std::string::npos, alphabet.find(text[i])) << "character " << i << " of " << text;
            }
        }
        char* back = nullptr;
        unsigned int backLength = 0;
        ASSERT_TRUE(base64_decode_alloc(text.data(), static_cast<unsigned int>(text.size()), &back, &backLength));
        ASSERT_NE(nullptr, back);
        EXPECT_GE(malloc_usable_size(back), 3 * (text.size() / 4) + 2);
        EXPECT_EQ(bytes, std::string(back, backLength)) << "round trip of " << length << " bytes";
        free(back);
    }
}

TEST(Base64, IsBase64AcceptsExactlyTheAlphabet) {
    for (int value = 0; value < 256; ++value) {
        const char ch = static_cast<char>(value);
        EXPECT_EQ(alphabet.find(ch) != std::string::npos, isbase64(ch)) << "byte " << value;
    }
}

TEST(Base64, DecodeRefusesMalformedTextKeepingWhatCameBefore) {
    const struct {
        const char* text;
        bool ok;
        const char* bytes;
    } cases[] = {
        {"", true, ""},
        {"Z", false, ""},
        {"Zg", false, "f"},             // unpadded final pair
        {"Zm8", false, "fo"},           // unpadded final triple
        {"Zg=", false, "f"},            // padding cut short
        {"Zg=x", false, "f"},           // "=" must be followed by "="
        {"Zg==Zg==", false, "f"},       // "==" in a group that is not the last
        {"Zm8=Zm8=", false, "fo"},      // "=" in a group that is not the last
        {"Zm9v====", false, "foo"},     // a group of padding alone
        {"=Zg=", false, ""},
        {"Z===", false, ""},
        {"Zm9v\nZm9v", false, "foo"},   // line break
        {"Zm9 v", false, "fo"},         // blank
        {"Zm9v!", false, "foo"},        // a stray character after full groups
        {"Zm-v", false, "f"},           // URL-safe alphabet is not ours
        {"Zm9vYmFy", true, "foobar"},
    };
    for (const auto& c : cases) {
        const Decoded result = decoded(c.text);
        EXPECT_EQ(c.ok, result.ok) << "\"" << c.text << "\"";
        EXPECT_EQ(c.bytes, result.bytes) << "bytes decoded before the fault in \"" << c.text << "\"";
    }
}

TEST(Base64, DecodeDropsBytesPastTheRoomButStillChecksTheRest) {
    Decoded result = decoded("Zm9vYmFy", 4);
    EXPECT_TRUE(result.ok) << "valid text stays valid when the room is short";
    EXPECT_EQ("foob", result.bytes);

    result = decoded("Zm9vYmF!", 2);
    EXPECT_FALSE(result.ok) << "the invalid character lies beyond the room but must still be seen";
    EXPECT_EQ("fo", result.bytes);
}

TEST(Base64, DecodeAllocReportsTheExactLengthAndReleasesOnFailure) {
    char* out = nullptr;
    unsigned int length = 0;
    ASSERT_TRUE(base64_decode_alloc("Zm9vYmE=", 8, &out, &length));
    ASSERT_NE(nullptr, out);
    EXPECT_EQ(5u, length) << "3 bytes per group less the one padded byte";
    EXPECT_EQ("fooba", std::string(out, length));
    free(out);

    ASSERT_TRUE(base64_decode_alloc("Zm9v", 4, &out, nullptr)) << "the length pointer may be null";
    EXPECT_EQ("foo", std::string(out, 3));
    free(out);

    out = reinterpret_cast<char*>(1);
    EXPECT_FALSE(base64_decode_alloc("Zm9vY", 5, &out, &length));
    EXPECT_EQ(nullptr, out) << "a failed decode must release its buffer and hand back null";
}

}  // namespace
