#include "Layout.h"

#include <algorithm>

namespace life {

int occupantsOf(RoomUse use) {
    switch (use) {
    case RoomUse::Single: return 1;
    case RoomUse::Suite: return 2;
    case RoomUse::Office: return 6;
    case RoomUse::None: break;
    }
    return 0;
}

const std::vector<int> Layout::none;

Layout::Layout(int width, int height, int storeyCount)
    : w(width > 0 ? width : 0),
      h(height > 0 ? height : 0),
      z(storeyCount > 0 && storeyCount <= sim::StoreySet::maxStoreys ? storeyCount : 0),
      regions(static_cast<size_t>(w * h * z), -2),
      hallShaft(static_cast<size_t>(w * h * z), -1) {}

void Layout::setWalkable(int x, int y, int storey) {
    if (inside(x, y, storey)) regions[index(x, y, storey)] = -1;
}

void Layout::addLobbyCell(int x, int y) {
    if (!inside(x, y, 0)) return;
    const int cell = index(x, y, 0);
    regions[cell] = -1;
    // People come in from the street in front: the lobby cell nearest it.
    if (entranceCell < 0 || x + y > xOf(entranceCell) + yOf(entranceCell) ||
        (x + y == xOf(entranceCell) + yOf(entranceCell) && x > xOf(entranceCell))) {
        entranceCell = cell;
    }
}

void Layout::addRoom(Room room) { roomList.push_back(std::move(room)); }

void Layout::addShaft(Shaft shaft) { shaftList.push_back(std::move(shaft)); }

void Layout::neighbours(int cell, int out[4], int& count) const {
    count = 0;
    const int x = xOf(cell), y = yOf(cell), s = storeyOf(cell);
    if (x + 1 < w) out[count++] = index(x + 1, y, s);
    if (x > 0) out[count++] = index(x - 1, y, s);
    if (y + 1 < h) out[count++] = index(x, y + 1, s);
    if (y > 0) out[count++] = index(x, y - 1, s);
}

void Layout::finish() {
    if (finished) return;
    finished = true;
    std::sort(roomList.begin(), roomList.end(), [](const Room& a, const Room& b) { return a.uid < b.uid; });
    std::sort(shaftList.begin(), shaftList.end(), [](const Shaft& a, const Shaft& b) { return a.uid < b.uid; });
    // Here -2 marks a cell nobody walks on and -1 one not yet in a region.
    std::vector<int> stack;
    regionTotal = 0;
    regionStoreys.clear();
    for (int cell = 0; cell < cellCount(); ++cell) {
        if (regions[cell] != -1) continue;
        const int id = regionTotal++;
        regionStoreys.push_back(storeyOf(cell));
        regions[cell] = id;
        stack.push_back(cell);
        while (!stack.empty()) {
            const int at = stack.back();
            stack.pop_back();
            int next[4], count = 0;
            neighbours(at, next, count);
            for (int i = 0; i < count; ++i)
                if (regions[next[i]] == -1) {
                    regions[next[i]] = id;
                    stack.push_back(next[i]);
                }
        }
    }
    for (int& region : regions)
        if (region < 0) region = -1;

    roomDoors.assign(roomList.size(), {});
    for (size_t r = 0; r < roomList.size(); ++r) {
        std::vector<int>& doors = roomDoors[r];
        for (int cell : roomList[r].cells) {
            int next[4], count = 0;
            neighbours(cell, next, count);
            for (int i = 0; i < count; ++i)
                if (walkable(next[i])) doors.push_back(next[i]);
        }
        std::sort(doors.begin(), doors.end());
        doors.erase(std::unique(doors.begin(), doors.end()), doors.end());
    }

    shaftHalls.assign(shaftList.size() * static_cast<size_t>(z), {});
    std::fill(hallShaft.begin(), hallShaft.end(), -1);
    for (size_t s = 0; s < shaftList.size(); ++s) {
        const Shaft& shaft = shaftList[s];
        for (int storey = 0; storey < z; ++storey) {
            if (!shaft.served.contains(storey)) continue;
            std::vector<int>& halls = shaftHalls[s * static_cast<size_t>(z) + static_cast<size_t>(storey)];
            for (int column : shaft.footprint) {
                int next[4], count = 0;
                neighbours(onStorey(column, storey), next, count);
                for (int i = 0; i < count; ++i)
                    if (walkable(next[i])) halls.push_back(next[i]);
            }
            std::sort(halls.begin(), halls.end());
            halls.erase(std::unique(halls.begin(), halls.end()), halls.end());
            for (int hall : halls)
                if (hallShaft[hall] < 0) hallShaft[hall] = static_cast<int>(s);
        }
    }
}

int Layout::roomIndex(int uid) const {
    auto found = std::lower_bound(roomList.begin(), roomList.end(), uid, [](const Room& a, int id) { return a.uid < id; });
    return found != roomList.end() && found->uid == uid ? static_cast<int>(found - roomList.begin()) : -1;
}

int Layout::shaftIndex(int uid) const {
    auto found =
        std::lower_bound(shaftList.begin(), shaftList.end(), uid, [](const Shaft& a, int id) { return a.uid < id; });
    return found != shaftList.end() && found->uid == uid ? static_cast<int>(found - shaftList.begin()) : -1;
}

int Layout::anchorOf(int uid) const {
    const int room = roomIndex(uid);
    if (room >= 0) return roomList[static_cast<size_t>(room)].anchor;
    const int shaft = shaftIndex(uid);
    return shaft >= 0 ? shaftList[static_cast<size_t>(shaft)].anchor : -1;
}

int Layout::uidAt(int anchor) const {
    if (anchor < 0) return -1;
    for (const Room& room : roomList)
        if (room.anchor == anchor) return room.uid;
    for (const Shaft& shaft : shaftList)
        if (shaft.anchor == anchor) return shaft.uid;
    return -1;
}

const std::vector<int>& Layout::halls(int shaft, int storey) const {
    if (shaft < 0 || static_cast<size_t>(shaft) >= shaftList.size() || storey < 0 || storey >= z) return none;
    return shaftHalls[static_cast<size_t>(shaft) * static_cast<size_t>(z) + static_cast<size_t>(storey)];
}

int Layout::hallOf(int cell) const { return cell >= 0 && cell < cellCount() ? hallShaft[cell] : -1; }

}  // namespace life
