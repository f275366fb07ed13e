// The living tower's sections of a saved game: bytes become the clock line
// and everything after the ledger of a small living tower's save (two
// offices, a Single Room and a Suite over a shaft through three storeys),
// loaded through Game::load. Whatever loads must run on with everyone
// accounted for, every tick.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Life.h"
#include "fuzzSupport.h"
#include "game.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_support::openHeadlessScreen();
    static const std::string tower = [] {
        std::string text;
        FILE* file = fopen(ZENTROVA_SOURCE_DIR "/tests/fuzz/data/life-tower.txt", "rb");
        if (!file) abort();
        for (int c = fgetc(file); c != EOF; c = fgetc(file)) text.push_back(static_cast<char>(c));
        fclose(file);
        return text;
    }();
    Game::setLife(true);
    Game* game = Game::Instance();
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t lineEnd = input.find('\n');
    const std::string clock = input.substr(0, lineEnd);
    const std::string sections = lineEnd == std::string::npos ? std::string() : input.substr(lineEnd + 1);
    const std::string save = "5000.000000\n" + clock + "\n" + tower + sections;
    fuzz_support::writeFile(Game::saveFileName, reinterpret_cast<const uint8_t*>(save.data()), save.size());
    game->load();

    life::Life* people = game->getTower().getLife();
    if (!people || game->getMap().roomCountProblem()) abort();
    if (people->consistencyProblem()) abort();
    for (int step = 0; step < 10; ++step) {
        people->advance(people->now() + 10, 10);
        if (people->consistencyProblem()) abort();
    }
    return 0;
}
