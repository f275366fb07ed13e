#include "xmlGuard.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

struct FileCloser {
    void operator()(FILE* file) const { fclose(file); }
};

// Follows the markup the way the XML reader splits it, so that nothing the
// reader takes for a nested element escapes the count: counting "</" and
// "/>" wherever they stand let text, comments and attribute values close
// elements that the reader still held open. Where the two could disagree,
// the count errs towards deeper.
class NestingScanner {
public:
    explicit NestingScanner(const std::vector<char>& text) : text(text), n(text.size()) {}

    bool withinLimit() {
        while (i < n) {
            if (text[i] != '<') {
                ++i;
            } else if (startsWith("<!--")) {
                skipPast("-->");
            } else if (startsWith("<![CDATA[")) {
                skipPast("]]>");
            } else if (startsWithIgnoringCase("<?xml")) {
                if (!skipDeclaration()) return true;
            } else if (i + 1 < n && text[i + 1] == '/') {
                closeElement();
            } else if (i + 1 < n && isNameStart(text[i + 1])) {
                if (!openElement()) return true;
                if (open.size() > static_cast<size_t>(maxXmlNesting)) return false;
            } else {
                // Any other markup the reader keeps whole up to the next '>'.
                skipPast(">");
            }
        }
        return true;
    }

private:
    static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
    static bool isNameStart(char c) {
        const unsigned char u = static_cast<unsigned char>(c);
        return u >= 127 || isalpha(u) || c == '_';
    }
    static bool isNameChar(char c) {
        const unsigned char u = static_cast<unsigned char>(c);
        return u >= 127 || isalnum(u) || c == '_' || c == '-' || c == '.' || c == ':';
    }

    bool startsWith(const char* prefix) const {
        const size_t length = strlen(prefix);
        return i + length <= n && memcmp(&text[i], prefix, length) == 0;
    }
    bool startsWithIgnoringCase(const char* prefix) const {
        const size_t length = strlen(prefix);
        if (i + length > n) return false;
        for (size_t k = 0; k < length; ++k)
            if (tolower(static_cast<unsigned char>(text[i + k])) != prefix[k]) return false;
        return true;
    }
    void skipPast(const char* end) {
        const size_t length = strlen(end);
        const auto found = std::search(text.begin() + static_cast<long>(i), text.end(), end, end + length);
        i = found == text.end() ? n : static_cast<size_t>(found - text.begin()) + length;
    }
    void skipSpace() {
        while (i < n && isSpace(text[i])) ++i;
    }
    std::string readName() {
        const size_t from = i;
        while (i < n && isNameChar(text[i])) ++i;
        return std::string(text.begin() + static_cast<long>(from), text.begin() + static_cast<long>(i));
    }

    // name = "value", 'value' or an unquoted value; false where the reader gives up.
    bool skipAttribute() {
        if (readName().empty()) return false;
        skipSpace();
        if (i >= n || text[i] != '=') return false;
        ++i;
        skipSpace();
        if (i < n && (text[i] == '"' || text[i] == '\'')) {
            const char quote = text[i++];
            while (i < n && text[i] != quote) ++i;
            if (i >= n) return false;
            ++i;
        } else {
            while (i < n && !isSpace(text[i]) && text[i] != '/' && text[i] != '>') ++i;
        }
        return true;
    }

    // <?xml ...?> honours quotes only in its version, encoding and standalone values.
    bool skipDeclaration() {
        i += 5;
        while (i < n) {
            if (text[i] == '>') {
                ++i;
                return true;
            }
            skipSpace();
            if (startsWithIgnoringCase("version") || startsWithIgnoringCase("encoding") ||
                startsWithIgnoringCase("standalone")) {
                if (!skipAttribute()) return false;
            } else {
                while (i < n && text[i] != '>' && !isSpace(text[i])) ++i;
            }
        }
        return false;
    }

    // False where the reader would stop with an error: nothing after it is read.
    bool openElement() {
        ++i;
        const std::string name = readName();
        while (true) {
            skipSpace();
            if (i >= n) return false;
            if (text[i] == '/') {
                ++i;
                if (i >= n || text[i] != '>') return false;
                ++i;
                return true;
            }
            if (text[i] == '>') {
                ++i;
                open.push_back(name);
                return true;
            }
            if (!skipAttribute()) return false;
        }
    }

    // Only the end of the innermost open element closes anything; the reader
    // stops at any other, so ignoring it can only over-count.
    void closeElement() {
        i += 2;
        const size_t from = i;
        const std::string name = readName();
        if (!open.empty() && i > from && name == open.back()) open.pop_back();
        skipPast(">");
    }

    const std::vector<char>& text;
    const size_t n;
    size_t i = 0;
    std::vector<std::string> open;
};

bool nestingWithinLimit(const std::vector<char>& text) { return NestingScanner(text).withinLimit(); }

// The reader steps over a character by the length its first byte announces
// (2 to 4 bytes from 0xC2, 0xE0 and 0xF0 on), without looking at the bytes it
// steps over: a character cut short by the end of the text, or by a byte that
// cannot follow, carries it past the end of its buffer.
bool lettersWhole(const std::vector<char>& text) {
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        size_t length = 1;
        if (lead >= 0xC2 && lead < 0xE0) length = 2;
        else if (lead >= 0xE0 && lead < 0xF0) length = 3;
        else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
        if (i + length > text.size()) return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

}  // namespace

XmlCheck checkXmlFile(const char* path) {
    std::unique_ptr<FILE, FileCloser> file(fopen(path, "rb"));
    if (!file) return XmlCheck::SAFE;
    if (fseek(file.get(), 0, SEEK_END) != 0) return XmlCheck::TOO_LARGE;
    const long size = ftell(file.get());
    if (size < 0 || size > maxXmlFileSize) return XmlCheck::TOO_LARGE;
    fseek(file.get(), 0, SEEK_SET);
    std::vector<char> text(static_cast<size_t>(size));
    if (size > 0 && fread(text.data(), 1, text.size(), file.get()) != text.size()) return XmlCheck::TOO_LARGE;
    if (!nestingWithinLimit(text)) return XmlCheck::TOO_LARGE;
    return lettersWhole(text) ? XmlCheck::SAFE : XmlCheck::BROKEN_LETTER;
}

bool xmlFileIsSafe(const char* path) { return checkXmlFile(path) == XmlCheck::SAFE; }
