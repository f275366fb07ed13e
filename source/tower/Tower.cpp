#include "Tower.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>

#include "lifeLayout.h"
#include "roomRecords.h"
#include "saveSections.h"

Tower::Tower(bool living) {
    grid.loadMap("assets/map.png", STOREYS);
    if (!living) return;
    // A living tower's shafts are whole columns: bulldozed anywhere, gone everywhere.
    grid.setWholeShafts(true);
    people = std::make_unique<life::Life>(LIFE_SEED, lifeTick());
    people->setLayout(lifeLayout(grid), true);
}

Tower::~Tower() = default;

sim::Tick Tower::lifeTick() const {
    return calendar.dayNumber() * life::ticksPerDay + life::ticksAt(calendar.getHour(), calendar.getMinute());
}

void Tower::layoutChanged(bool atOnce) {
    if (people) people->setLayout(lifeLayout(grid), atOnce);
}

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
    if (people) {
        for (const life::Section& section : people->save()) {
            ok = saveSections::writeHeader(file, section.name.c_str(), static_cast<long>(section.records.size())) && ok;
            for (const std::string& record : section.records) ok = fprintf(file, "%s\n", record.c_str()) > 0 && ok;
        }
    }
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
    std::vector<life::Section> saved;
    while (reader.nextSection(name, count)) {
        if (roomRecords.read(name, reader)) continue;
        if (name == "ledger") {
            accounts.read(reader);
            continue;
        }
        if (people && std::find(std::begin(life::Life::sectionNames), std::end(life::Life::sectionNames), name) !=
                          std::end(life::Life::sectionNames)) {
            saved.push_back(life::Section{name, {}});
            std::string record;
            while (reader.nextRecord(record)) saved.back().records.push_back(record);
            continue;
        }
        reader.report("the section \"%s\" is not one this game knows; it was passed over", name.c_str());
        reader.skipRecords();
    }
    roomRecords.finish();
    if (people) startLife(saved);
    reader.finish();
}

void Tower::startLife(const std::vector<life::Section>& saved) {
    people = std::make_unique<life::Life>(LIFE_SEED, lifeTick());
    people->setLayout(lifeLayout(grid), true);
    if (saved.empty()) return;  // a tower saved without its people: they come as in a new one
    std::string why;
    if (people->load(saved, why)) return;
    printf("save.txt: the tower's people start afresh: %s\n", why.c_str());
    people = std::make_unique<life::Life>(LIFE_SEED, lifeTick());
    people->setLayout(lifeLayout(grid), true);
}
