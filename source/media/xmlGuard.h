#ifndef ZENTROVA_XMLGUARD_H
#define ZENTROVA_XMLGUARD_H

// The XML reader recurses once per nesting level and reads whole files into
// memory, so files from outside are measured before it sees them.
constexpr long maxXmlFileSize = 1 << 20;
constexpr int maxXmlNesting = 64;

// True when the file is missing (the reader reports that itself) or within
// the size and nesting limits.
bool xmlFileIsSafe(const char* path);

#endif
