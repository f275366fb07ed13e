#ifndef ZENTROVA_STUDY_H
#define ZENTROVA_STUDY_H

#include <cstdio>
#include <string>
#include <vector>

// The headless elevator study: runs the mode the arguments ask for and
// writes one JSON object to out. Bad arguments: the reason and a usage line
// to err, and 2.
namespace study {

int run(const std::vector<std::string>& arguments, FILE* out, FILE* err);

}  // namespace study

#endif
