#include "xmlGuard.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct FileCloser {
    void operator()(FILE* file) const { fclose(file); }
};

// Counts element nesting: "<name" opens, "</" and "/>" close; comments,
// declarations and processing instructions do not count.
bool nestingWithinLimit(const std::vector<char>& text) {
    int depth = 0;
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        if (text[i] == '<' && i + 1 < n) {
            const char next = text[i + 1];
            if (next == '/') {
                --depth;
            } else if (next != '!' && next != '?') {
                if (++depth > maxXmlNesting) return false;
            }
        } else if (text[i] == '/' && i + 1 < n && text[i + 1] == '>') {
            --depth;
        }
    }
    return true;
}

}  // namespace

bool xmlFileIsSafe(const char* path) {
    std::unique_ptr<FILE, FileCloser> file(fopen(path, "rb"));
    if (!file) return true;
    if (fseek(file.get(), 0, SEEK_END) != 0) return false;
    const long size = ftell(file.get());
    if (size < 0 || size > maxXmlFileSize) return false;
    fseek(file.get(), 0, SEEK_SET);
    std::vector<char> text(static_cast<size_t>(size));
    if (size > 0 && fread(text.data(), 1, text.size(), file.get()) != text.size()) return false;
    return nestingWithinLimit(text);
}
