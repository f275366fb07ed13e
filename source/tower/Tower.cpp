#include "Tower.h"

#include <cmath>
#include <string>

#include "roomRecords.h"
#include "saveSections.h"

Tower::Tower() { grid.loadMap("assets/map.png", STOREYS); }

void Tower::changeFunds(double amount, Ledger::Kind kind) {
    money += amount;
    accounts.record(calendar.dayNumber(), kind, amount);
}

bool Tower::write(FILE* file) const {
    bool ok = fprintf(file, "%lf\n", money) > 0;
    ok = calendar.save(file) && ok;
    ok = fputc('\n', file) != EOF && ok;
    ok = grid.save(file) && ok;
    ok = RoomRecords::save(grid, file) && ok;
    ok = accounts.save(file) && ok;
    return ok;
}

bool Tower::read(FILE* file) {
    steps.clear();
    bool ok = true;
    double loaded = money;
    const int read = fscanf(file, "%lf", &loaded);
    if (read == EOF) {
        puts("MONEY LOAD ERROR");
        ok = false;
    } else if (read == 1) {
        // Money that is not a plain amount would make every later price check meaningless.
        if (std::isfinite(loaded) && loaded >= 0) {
            money = loaded;
        } else {
            puts("MONEY LOAD ERROR");
            ok = false;
        }
    }
    if (!calendar.load(file)) {
        puts("CLOCK LOAD ERROR");
        ok = false;
    }
    puts("loading map floor");
    if (grid.load(file)) {
        readSections(file);
    } else {
        puts("MAP LOAD ERROR");
        ok = false;
    }
    return ok;
}

void Tower::readSections(FILE* file) {
    // The tower's rooms are those of the file, or none for a file from
    // before rooms were saved; the tiles they stood on came with the tiles.
    RoomRecords roomRecords(grid);
    accounts.clear();
    saveSections::Reader reader(file);
    std::string name;
    long count = 0;
    while (reader.nextSection(name, count)) {
        if (roomRecords.read(name, reader)) continue;
        if (name == "ledger") {
            accounts.read(reader);
            continue;
        }
        printf("save.txt: the section \"%s\" is not one this game knows; it was passed over\n", name.c_str());
        reader.skipRecords();
    }
    roomRecords.finish();
}
