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

namespace {

// An editor may put a byte-order mark before the first line; it is no part of the funds.
void skipByteOrderMark(FILE* file) {
    const int first = fgetc(file);
    if (first == 0xEF) {
        const int second = fgetc(file), third = fgetc(file);
        if (second == 0xBB && third == 0xBF) return;
    }
    rewind(file);
}

}  // namespace

bool Tower::read(FILE* file) {
    skipByteOrderMark(file);
    bool ok = true;
    double loaded = money;
    // Money that is not a plain amount would make every later price check meaningless.
    if (fscanf(file, "%lf", &loaded) == 1 && std::isfinite(loaded) && loaded >= 0) {
        money = loaded;
    } else {
        puts("MONEY LOAD ERROR");
        ok = false;
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
        reader.report("the section \"%s\" is not one this game knows; it was passed over", name.c_str());
        reader.skipRecords();
    }
    roomRecords.finish();
    reader.finish();
}
