// zentrova-elevators: the elevator simulation run headless against textbook
// figures and seeded traffic; see study.h.
#include <cstdio>
#include <string>
#include <vector>

#include "study.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return study::run(arguments, stdout, stderr);
}
