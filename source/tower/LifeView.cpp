#include "LifeView.h"

#include <algorithm>
#include <cstdio>

#include "Elevator.h"
#include "Life.h"
#include "Lobby.h"
#include "RoomDefs.h"
#include "gamePaths.h"
#include "isometric.h"
#include "protocol.h"
#include "sheetGeometry.h"

namespace {

// Where on a cell the people standing on it go, so that they do not cover each other.
constexpr int spread[LifeView::shownOnACell][2] = {{0, -2}, {-18, 4}, {18, 4}, {0, 10}};

// The middle of a cell's diamond, on the screen without the camera.
point middleOf(const life::Layout& layout, int cell) {
    const point box = isometric::cellOnStorey(layout.xOf(cell), layout.yOf(cell), layout.storeyOf(cell));
    return point(box.x + isometric::cellWidth / 2, box.y + isometric::cellHeight / 2, 0);
}

sheet::people::Facing facingOf(const life::Layout& layout, int from, int to, int id) {
    const int dx = layout.xOf(to) - layout.xOf(from), dy = layout.yOf(to) - layout.yOf(from);
    if (dx > 0) return sheet::people::downRight;
    if (dx < 0) return sheet::people::upLeft;
    if (dy > 0) return sheet::people::downLeft;
    if (dy < 0) return sheet::people::upRight;
    return id % 2 ? sheet::people::downLeft : sheet::people::downRight;
}

}  // namespace

LifeView::LifeView() {
    const std::string picture = gamePaths::data("assets/people.png");
    day = CSurface::toDisplayFormat(CSurface::loadPNGFile(picture.c_str()));
    if (!day) {
        fprintf(stderr, "No picture %s; the tower's people are not drawn", picture.c_str());
        return;
    }
    night = CSurface::loadNightPicture(picture);
    service = CSurface::toDisplayFormat(CSurface::loadPNGFile(gamePaths::data("assets/service.png").c_str()));
}

void LifeView::prepareCopies() {
    copiesPrepared = true;
    std::vector<SDL_Rect> frames;
    for (int look = 0; look < sheet::people::looks; ++look)
        for (int facing = 0; facing < sheet::people::facings; ++facing)
            for (int step = 0; step < sheet::people::steps; ++step)
                frames.push_back(sheet::people::frame(static_cast<sheet::people::Look>(look),
                                                      static_cast<sheet::people::Facing>(facing),
                                                      static_cast<sheet::people::Step>(step)));
    CSurface::prepareCopies(day.get(), frames.data(), frames.size());
    CSurface::prepareCopies(night.get(), frames.data(), frames.size());
    for (const aRoom& def : rooms)
        if (def.type == ELEVATOR) {
            CSurface::prepareCopies(def.surface.get(), sheet::elevator::car, 2);
            CSurface::prepareCopies(def.nightSurface.get(), sheet::elevator::car, 2);
        }
    std::vector<SDL_Rect> digits;
    for (int d = 0; d < 10; ++d) {
        SDL_Rect digit = sheet::floors::digit;
        digit.x = static_cast<Sint16>(digit.x + d * digit.w);
        digits.push_back(digit);
    }
    CSurface::prepareCopies(CSurface::slot(slots::FLOOR_INDICATOR), digits.data(), digits.size());
    CSurface::prepareCopies(service.get(), sheet::service::tint, sheet::service::tints);
}

void LifeView::prepare(const life::Life& running, const Map& tower, int viewed, bool showService) {
    if (!copiesPrepared) prepareCopies();
    life = &running;
    map = &tower;
    serviceShown = showService;
    storey = viewed;
    const life::Layout& layout = running.layout();
    const size_t cells = static_cast<size_t>(layout.width() * layout.height());
    firstOnCell.assign(cells, -1);
    countOnCell.assign(cells, 0);
    const std::vector<life::Person>& people = running.people();
    if (nextOnCell.size() < people.size()) nextOnCell.resize(people.size());
    // Back to front on each cell: the list is built in reverse.
    for (size_t i = people.size(); i-- > 0;) {
        const life::Person& person = people[i];
        if (person.where != life::Where::Walking && person.where != life::Where::Waiting) continue;
        int from = person.cell, to = person.cell, progress = 0;
        person.walkAt(running.now(), life::ticksPerCell, from, to, progress);
        const int cell = progress * 2 < life::ticksPerCell ? from : to;
        if (cell < 0 || layout.storeyOf(cell) != viewed) continue;
        const size_t at = static_cast<size_t>(cell % static_cast<int>(cells));
        nextOnCell[i] = firstOnCell[at];
        firstOnCell[at] = static_cast<int>(i);
        ++countOnCell[at];
    }
}

void LifeView::tint(Room& room, const point& camera, int x, int y) {
    room.OnRender(camera, x, y);
    // Over the picture, which stands at the anchor: every cell of the room once it is drawn.
    const point anchor = room.getLocation();
    if (x != anchor.x || y != anchor.y) return;
    sheet::service::Tint shade = sheet::service::vacant;
    switch (life->tenancy().serviceOf(room.getUid())) {
    case life::Service::Good: shade = sheet::service::good; break;
    case life::Service::Fair: shade = sheet::service::fair; break;
    case life::Service::Poor: shade = sheet::service::poor; break;
    case life::Service::Vacant: break;
    }
    short sizeX = 1, sizeY = 1;
    room.getSize(sizeX, sizeY);
    for (int i = sizeY - 1; i >= 0; --i)
        for (int j = sizeX - 1; j >= 0; --j) {
            if (map->roomAt(anchor.x - i, anchor.y - j, storey) != &room) continue;
            const point box = isometric::cellOnStorey(anchor.x - i, anchor.y - j, storey);
            CSurface::OnDraw(0, service.get(), camera.x + box.x, camera.y + box.y, &sheet::service::tint[shade]);
        }
}

bool LifeView::drawRoom(Room& room, const point& camera, int x, int y) {
    if (!life) return false;
    auto* shaft = dynamic_cast<Elevator*>(&room);
    if (!shaft) {
        // The service view tints the rooms the tower's people rent, each cell of them.
        if (!serviceShown || !service || &room == map->getLobby() || life->layout().roomIndex(room.getUid()) < 0)
            return false;
        tint(room, camera, x, y);
        return true;
    }
    const point anchor = shaft->getLocation();
    if (x != anchor.x || y != anchor.y) return true;
    // A shaft is seen only on the storeys it serves, where it covers its
    // whole footprint: elsewhere it covers part of it at most, and that is floor.
    short sizeX = 1, sizeY = 1;
    shaft->getSize(sizeX, sizeY);
    for (int i = 0; i < sizeY; ++i)
        for (int j = 0; j < sizeX; ++j)
            if (map->roomAt(anchor.x - i, anchor.y - j, camera.z) != &room) return true;
    shaft->drawShaft(camera);

    // A shaft just built waits for the next minute to run: its car stands at the bottom.
    const sim::Shaft* run = life->shaft(shaft->getUid());
    const sim::CarTiming timing;
    const int position = run ? run->car(0).position() : anchor.z * timing.ticksPerStorey;
    const int load = run ? run->car(0).load() : 0;
    const int rise = position * isometric::storeyHeight / (run ? run->timing().ticksPerStorey : timing.ticksPerStorey);
    const int above = rise - isometric::storeyHeight * camera.z;  // over the viewed storey's floor
    if (above <= -isometric::storeyHeight || above >= isometric::storeyHeight) return true;
    const point shaftAt = shaft->getScreenPosition();
    const int raised = isometric::storeyHeight * (camera.z - anchor.z);
    const int px = camera.x + shaftAt.x + sheet::elevator::carInShaft.x;
    const int py = camera.y + shaftAt.y + sheet::elevator::carInShaft.y - raised - above;
    // Below the viewed floor the car is hidden by it: nothing lower than the
    // shaft's picture shows.
    SDL_Surface* window = CSurface::slot(slots::WINDOW);
    if (!window) return true;
    const SDL_Rect& picture = shaft->getClip();
    const int bottom = camera.y + shaftAt.y - raised + picture.h;
    SDL_Rect clip = makeRect(0, 0, window->w, std::max(0, std::min(window->h, bottom)));
    SDL_SetClipRect(window, &clip);
    const SDL_Rect& look = sheet::elevator::car[load > 0 ? sheet::elevator::full : sheet::elevator::empty];
    if (const aRoom* def = roomDefinition(shaft->getRoomType())) CSurface::OnDraw(0, roomPicture(*def), px, py, &look);
    SDL_SetClipRect(window, nullptr);
    return true;
}

void LifeView::drawCell(const point& camera, int x, int y) {
    if (!life || !day) return;
    const life::Layout& layout = life->layout();
    if (!layout.inside(x, y, storey)) return;
    const size_t at = static_cast<size_t>(y * layout.width() + x);
    int slot = 0;
    for (int i = firstOnCell[at]; i >= 0 && slot < shownOnACell; i = nextOnCell[static_cast<size_t>(i)], ++slot)
        drawPerson(camera, i, slot);
    if (countOnCell[at] > shownOnACell) drawCount(camera, x, y, countOnCell[at]);
}

void LifeView::drawPerson(const point& camera, int index, int slot) {
    const life::Person& person = life->people()[static_cast<size_t>(index)];
    const life::Layout& layout = life->layout();
    int from = person.cell, to = person.cell, progress = 0;
    person.walkAt(life->now(), life::ticksPerCell, from, to, progress);
    const point a = middleOf(layout, from), b = middleOf(layout, to);
    const int feetX = a.x + (b.x - a.x) * progress / life::ticksPerCell;
    const int feetY = a.y + (b.y - a.y) * progress / life::ticksPerCell;
    const bool walking = from != to;
    const int dx = walking ? 0 : spread[slot][0], dy = walking ? 0 : spread[slot][1];
    sheet::people::Step step = sheet::people::standing;
    if (walking) {
        static constexpr sheet::people::Step cycle[4] = {sheet::people::standing, sheet::people::firstStride,
                                                         sheet::people::standing, sheet::people::secondStride};
        step = cycle[(life->now() - person.walkStart) / 2 % 4];
    }
    const SDL_Rect frame = sheet::people::frame(static_cast<sheet::people::Look>(person.look % sheet::people::looks),
                                                facingOf(layout, from, to, person.id), step);
    SDL_Surface* sheetPicture = CSurface::isNightLook() && night ? night.get() : day.get();
    CSurface::OnDraw(0, sheetPicture, camera.x + feetX + dx - sheet::people::feet.x,
                     camera.y + feetY + dy - sheet::people::feet.y, &frame);
}

void LifeView::drawCount(const point& camera, int x, int y, int count) {
    // With the storey indicator's digits, over the crowd's heads.
    const point box = isometric::cellOnStorey(x, y, storey);
    const int shown = std::min(count, 99);
    const int digits = shown >= 10 ? 2 : 1;
    const int left = camera.x + box.x + isometric::cellWidth / 2 - digits * sheet::floors::digit.w / 2;
    const int top = camera.y + box.y - sheet::people::frameHeight;
    for (int d = 0; d < digits; ++d) {
        const int value = d == 0 && digits == 2 ? shown / 10 : shown % 10;
        SDL_Rect digit = sheet::floors::digit;
        digit.x = static_cast<Sint16>(digit.x + value * digit.w);
        CSurface::OnDraw(0, slots::FLOOR_INDICATOR, left + d * digit.w, top, &digit);
    }
}
