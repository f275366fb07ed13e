#include "saveSections.h"

#include <cctype>
#include <cerrno>
#include <cstdarg>
#include <cstdlib>

namespace saveSections {

bool writeHeader(FILE* file, const char* name, long count) { return fprintf(file, "%s %ld\n", name, count) > 0; }

bool isHeader(const std::string& line, std::string* name, long* count) {
    size_t at = 0;
    while (at < line.size() && line[at] == ' ') ++at;
    const size_t nameStart = at;
    if (at >= line.size() || !isalpha(static_cast<unsigned char>(line[at]))) return false;
    while (at < line.size() && (isalnum(static_cast<unsigned char>(line[at])) || line[at] == '_')) ++at;
    const size_t nameEnd = at;
    if (at >= line.size() || line[at] != ' ') return false;
    while (at < line.size() && line[at] == ' ') ++at;
    if (at >= line.size() || !isdigit(static_cast<unsigned char>(line[at]))) return false;
    errno = 0;
    char* end = nullptr;
    const long value = strtol(line.c_str() + at, &end, 10);
    if (errno == ERANGE) return false;
    while (*end == ' ' || *end == '\r') ++end;
    if (*end != '\0') return false;
    if (name) *name = line.substr(nameStart, nameEnd - nameStart);
    if (count) *count = value;
    return true;
}

bool Reader::readLine(std::string& line) {
    line.clear();
    bool any = false;
    for (int c = fgetc(file); c != EOF; c = fgetc(file)) {
        any = true;
        if (c == '\n') break;
        // A line beyond any record the game writes is cut; what remains is not a record either.
        if (line.size() < maxLineLength) line.push_back(static_cast<char>(c));
    }
    return any;
}

bool Reader::peek() {
    while (!hasPending) {
        if (!readLine(pending)) return false;
        // The tile records end without a line of their own; blank lines are no records.
        if (pending.find_first_not_of(" \t\r") == std::string::npos) continue;
        hasPending = true;
    }
    return true;
}

bool Reader::nextSection(std::string& name, long& count) {
    // Records the last section did not claim are no section's.
    while (peek()) {
        hasPending = false;
        if (isHeader(pending, &name, &count)) {
            left = count;
            return true;
        }
        report("a line outside any section was passed over: %.40s", pending.c_str());
    }
    return false;
}

bool Reader::nextRecord(std::string& line) {
    if (left <= 0 || !peek() || isHeader(pending)) return false;
    hasPending = false;
    --left;
    line.swap(pending);
    return true;
}

void Reader::report(const char* format, ...) {
    if (++reports > maxReports) return;
    fputs("save.txt: ", stdout);
    va_list arguments;
    va_start(arguments, format);
    vprintf(format, arguments);
    va_end(arguments);
    putchar('\n');
}

void Reader::finish() {
    if (reports > maxReports) printf("save.txt: %ld more lines were passed over\n", reports - maxReports);
}

void Reader::skipRecords() {
    std::string line;
    while (nextRecord(line)) {
    }
}

}  // namespace saveSections
