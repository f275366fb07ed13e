#ifndef ZENTROVA_XMLGUARD_H
#define ZENTROVA_XMLGUARD_H

// The XML reader recurses once per nesting level and reads whole files into
// memory, so files from outside are measured before it sees them.
constexpr long maxXmlFileSize = 1 << 20;
constexpr int maxXmlNesting = 64;

enum class XmlCheck {
    SAFE,           // missing (the reader reports that itself), or fit to read
    TOO_LARGE,      // larger than maxXmlFileSize or nested deeper than maxXmlNesting
    BROKEN_LETTER,  // a multi-byte character cut short
};
XmlCheck checkXmlFile(const char* path);

// True when checkXmlFile finds the file safe.
bool xmlFileIsSafe(const char* path);

#endif
