#ifndef ZENTROVA_SAVESECTIONS_H
#define ZENTROVA_SAVESECTIONS_H

#include <cstdio>
#include <string>

// What save.txt holds after the tile records: sections, each a header line
// "<name> <count>" followed by up to count record lines. A reader that does
// not know a section skips it, so later versions can add sections; a file
// that ends early, or a count larger than the records present, only ends the
// section sooner.
namespace saveSections {

bool writeHeader(FILE* file, const char* name, long count);

class Reader {
public:
    explicit Reader(FILE* file) : file(file) {}

    // The next section's name and count; false at the end of the file. Lines
    // outside any section are reported and passed over.
    bool nextSection(std::string& name, long& count);
    // The next record line of the section being read; false once it has
    // given count records, or when the file ends or the next section begins.
    bool nextRecord(std::string& line);
    // Passes over what is left of the section being read.
    void skipRecords();

    // Says on standard output what was passed over and why, as a line that
    // starts "save.txt: "; after maxReports lines only counts them.
    void report(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // The reading is done: how many reports were not printed, if any.
    void finish();

    static constexpr size_t maxLineLength = 1 << 16;  // a whole tower of cells fits well within
    static constexpr long maxReports = 50;

private:
    bool readLine(std::string& line);
    bool peek();

    FILE* file;
    std::string pending;
    bool hasPending = false;
    long left = 0;
    long reports = 0;
};

// True when the line is "<name> <count>": a word starting with a letter and
// a count of 0 or more.
bool isHeader(const std::string& line, std::string* name = nullptr, long* count = nullptr);

}  // namespace saveSections

#endif
