#ifndef ZENTROVA_AUTOSAVES_H
#define ZENTROVA_AUTOSAVES_H

#include <string>

// The rotating autosaves among the player's files, "autosave-1.txt" to
// "autosave-3.txt": each autosave replaces the one written longest ago.
class Autosaves {
public:
    static constexpr int count = 3;

    // "autosave-2.txt" for 2.
    static std::string fileName(int number);

    // The file the next autosave goes to, and the one after it next time.
    // The first time, one that is missing, else the oldest; a failed write
    // still moves the turn on, so one bad file does not stop the others.
    std::string next();

private:
    int following = 0;  // 1 to count; 0 until the files were looked at
};

#endif
