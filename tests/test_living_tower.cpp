// The living tower inside the game: switched on by the settings, its people
// and shafts kept by the tower object, run by the clock whatever the frame
// rate, saved and loaded with the tower, and drawn without allocating.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "CSurface.h"
#include "Elevator.h"
#include "Life.h"
#include "Map.h"
#include "RoomDefs.h"
#include "Tile.h"
#include "freshStart.h"
#include "game.h"
#include "gui.h"
#include "keyModifiers.h"
#include "testSupport.h"
#include "ticks.h"

using namespace testing_support;

namespace {

class LivingTower : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/zentrova-life-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(name));
        workDir = name;
        ASSERT_NE(nullptr, getcwd(repoDir, sizeof repoDir));
        ASSERT_EQ(0, symlink((std::string(repoDir) + "/assets").c_str(), (workDir + "/assets").c_str()));
        ASSERT_EQ(0, chdir(workDir.c_str()));
        Game::setLife(true);
        start();
    }
    void TearDown() override {
        Game::setLife(false);
        endGame();
        keyModifiers::release();
        ticks::thaw();
        ASSERT_EQ(0, chdir(repoDir));
        runCommand("rm -rf '" + workDir + "'");
    }
    void start() {
        game = freshStart::newGame(100000);
        ASSERT_NE(nullptr, game->getTower().getLife());
    }
    Map& map() { return game->getMap(); }
    life::Life& people() { return *game->getTower().getLife(); }

    void aim(int x, int y, int z) {
        const point box = Tile::convertToScreen(x, y, 0, -64 * z);
        map().setCursor(point(0, 0, z), box.x + 64, box.y + 32);
    }
    // Through the game's own commands, with their prices and the people told.
    void build(short kind, int x, int y, int z) {
        if (kind < 0) {
            game->changeCursorSize(1);
            aim(x, y, z);
            kind == -1 ? game->buildEmptyFloor(static_cast<short>(z)) : game->buildLobby(static_cast<short>(z));
            return;
        }
        game->setRoomType(static_cast<short>(z), kind);
        aim(x, y, z);
        if (rooms[static_cast<size_t>(kind)].type == ELEVATOR) {
            game->buildTransportation(static_cast<short>(z));
        } else {
            game->buildRoom(static_cast<short>(z));
        }
        game->changeCursorSize(1);
    }
    // Floors on storeys 0 to 2, a lobby, a shaft through all three, an
    // office on storey 1 and a Single Room and a Suite on storey 2.
    void buildSmallTower() {
        game->getTower().changeFunds(10000, Ledger::RENT);  // a generous landlord
        keyModifiers::hold(KMOD_LALT);
        for (int z = 0; z < 3; ++z)
            for (int x = 2; x <= 7; ++x)
                for (int y = 2; y <= 6; ++y)
                    if (z == 0 || !(x >= 4 && x <= 5 && y >= 4 && y <= 5)) build(-1, x, y, z);
        keyModifiers::release();
        build(-2, 7, 2, 0);
        build(-2, 7, 3, 0);
        build(1, 5, 5, 0);  // the elevator over (4..5, 4..5)
        keyModifiers::hold(KMOD_LALT);
        for (int z = 1; z < 3; ++z)
            for (int x = 4; x <= 5; ++x)
                for (int y = 4; y <= 5; ++y) build(-1, x, y, z);  // the shaft grows
        keyModifiers::release();
        build(4, 7, 6, 1);  // office
        build(2, 2, 6, 2);  // Single Room
        build(3, 7, 6, 2);  // Suite
        build(1, 3, 3, 0);  // a second shaft, over (2..3, 2..3), under floors already poured: the ground alone
    }
    // Frames of the given length until the clock shows the time of day.
    void runUntil(int day, int hour, int minute, Uint32 frameMilliseconds) {
        Clock& clock = game->getClock();
        for (int frames = 0; frames < 10000000; ++frames) {
            if (clock.getDay() == day && clock.getHour() == hour && clock.getMinute() == minute) break;
            ticks::advance(frameMilliseconds);
            game->loop(0);
        }
        ASSERT_EQ(hour, clock.getHour());
    }
    std::string saved() {
        game->save();
        return readFile("save.txt");
    }
    // "" when the texts are the same, else their first different lines.
    static std::string firstDifference(const std::string& a, const std::string& b) {
        size_t at = 0;
        while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
        if (at == a.size() && at == b.size()) return "";
        const size_t start = a.rfind('\n', at) == std::string::npos ? 0 : a.rfind('\n', at) + 1;
        return a.substr(start, a.find('\n', at) - start) + "\n versus\n" + b.substr(start, b.find('\n', at) - start);
    }

    std::string workDir;
    char repoDir[4096];
    Game* game = nullptr;
};

}  // namespace

TEST_F(LivingTower, ShaftsServeWhereTheyAreWholeAndGoWholeWhenBulldozed) {
    buildSmallTower();
    game->getTower().layoutChanged(true);
    const life::Layout& layout = people().layout();
    ASSERT_EQ(2u, layout.shafts().size());
    EXPECT_EQ(sim::StoreySet::range(0, 2), layout.shafts()[0].served);
    EXPECT_EQ(sim::StoreySet::range(0, 0), layout.shafts()[1].served);
    EXPECT_EQ(6u + 1 + 2, people().people().size()) << "six workers, a guest and two guests";
    keyModifiers::hold(KMOD_LALT);
    build(-1, 4, 4, 3);  // one cell of four on storey 3: not a storey the shaft serves
    keyModifiers::release();
    game->getTower().layoutChanged(true);
    EXPECT_EQ(sim::StoreySet::range(0, 2), people().layout().shafts()[0].served);
    EXPECT_EQ(sim::StoreySet::range(0, 0), people().layout().shafts()[1].served);

    game->changeCursorSize(1);
    aim(5, 4, 2);
    game->bulldoze(2);  // on an upper storey: the whole shaft goes
    for (int z = 0; z < 4; ++z)
        for (int x = 4; x <= 5; ++x)
            for (int y = 4; y <= 5; ++y) EXPECT_EQ(nullptr, map().roomAt(x, y, z)) << x << "," << y << "," << z;
    game->getTower().layoutChanged(true);
    EXPECT_EQ(1u, people().layout().shafts().size()) << "the other shaft stands";
}

TEST_F(LivingTower, TheSameScriptedDayComesOutTheSameAtTenAndAThousandFramesASecond) {
    std::uint64_t hashes[2] = {0, 0};
    const Uint32 frames[2] = {100, 1};
    for (int run = 0; run < 2; ++run) {
        if (run > 0) start();
        buildSmallTower();
        runUntil(2, 6, 0, frames[run]);
        keyModifiers::hold(KMOD_LCTRL);  // an hour a step: the people catch up in batches
        runUntil(4, 8, 0, frames[run]);  // the offices find their companies meanwhile
        keyModifiers::release();
        runUntil(4, 9, 30, frames[run]);
        hashes[run] = people().stateHash();
        EXPECT_GT(people().today().trips, 0) << "people came in";
    }
    EXPECT_EQ(hashes[0], hashes[1]);
}

TEST_F(LivingTower, SaveLoadSaveIsTheSameAndTheDayGoesOnAsWithout) {
    buildSmallTower();
    runUntil(2, 8, 20, 10);
    const std::string first = saved();
    ASSERT_NE(std::string::npos, first.find("\npeople 9\n")) << "the people follow the ledger";
    runUntil(2, 9, 15, 10);
    const std::uint64_t without = people().stateHash();

    {
        CapturedOutput out(stdout);
        game->load();
        EXPECT_EQ(std::string::npos, out.text().find("save.txt:")) << out.text();
    }
    ASSERT_STREQ("Game loaded.", GUI::Instance()->getMessageText());
    EXPECT_EQ("", firstDifference(first, saved())) << "save, load, save";
    runUntil(2, 9, 15, 10);
    EXPECT_EQ(without, people().stateHash()) << "the day went on as if never saved";
    EXPECT_EQ(nullptr, people().consistencyProblem());

    // Ctrl moves the clock an hour a step and the people catch up in
    // batches: a save while they are behind keeps them, and loads as saved.
    keyModifiers::hold(KMOD_LCTRL);
    ticks::advance(1000);
    game->loop(0);
    keyModifiers::release();
    ASSERT_LT(people().now(), game->getTower().lifeTick()) << "the people are behind the clock";
    const std::string behind = saved();
    {
        CapturedOutput out(stdout);
        game->load();
        EXPECT_EQ(std::string::npos, out.text().find("save.txt:")) << out.text();
    }
    EXPECT_EQ("", firstDifference(behind, saved())) << "save, load, save with the people behind";

    // A tower saved without its people: they come as in a new one.
    const std::string classic = first.substr(0, first.find("\nlife 1\n") + 1);
    writeFile("save.txt", classic);
    game->load();
    ASSERT_STREQ("Game loaded.", GUI::Instance()->getMessageText());
    EXPECT_EQ(9u, people().people().size());
    for (const life::Person& person : people().people()) EXPECT_EQ(life::Where::Outside, person.where);
}

TEST_F(LivingTower, TheServiceViewTintsEveryCellOfARoomAndOnlyTheRooms) {
    buildSmallTower();
    runUntil(2, 12, 0, 10);
    const point camera(0, 0, 1);
    SDL_Surface* window = CSurface::slot(slots::WINDOW);
    ASSERT_NE(nullptr, window);
    // The middle of each cell of the office over (6..7, 5..6), and a bare floor cell beside it.
    auto middles = [&]() {
        std::vector<SDL_Color> seen;
        game->render(camera);
        for (const auto& cell : {std::pair<int, int>{6, 5}, {7, 5}, {6, 6}, {7, 6}, {3, 5}}) {
            const point box = Tile::convertToScreen(cell.first, cell.second, 0, -64);
            seen.push_back(pixelAt(window, box.x + 64, box.y + 40));
        }
        return seen;
    };
    const std::vector<SDL_Color> plain = middles();
    game->getView().toggleService();
    const std::vector<SDL_Color> tinted = middles();
    game->getView().toggleService();
    for (size_t cell = 0; cell < 4; ++cell) {
        const bool same = plain[cell].r == tinted[cell].r && plain[cell].g == tinted[cell].g && plain[cell].b == tinted[cell].b;
        EXPECT_FALSE(same) << "the office's cell " << cell << " is not tinted";
    }
    EXPECT_TRUE(plain[4].r == tinted[4].r && plain[4].g == tinted[4].g && plain[4].b == tinted[4].b) << "bare floor tinted";
}
