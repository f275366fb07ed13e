#ifndef ZENTROVA_LOBBY_H
#define ZENTROVA_LOBBY_H

#include "BasicRoom.h"

// The ground-floor lobby: one object shared by every lobby cell, drawn at each.
class Lobby final : public BasicRoom {
public:
    Lobby(point location, int serial);
    void OnRender(const point& camera, int x, int y) override;
    double collectRent(short day, int x, int y) override;
};

#endif
