#ifndef ZENTROVA_TRANSPORTATION_H
#define ZENTROVA_TRANSPORTATION_H

#include "BasicRoom.h"

// A room that links storeys; a floor built on top of it extends it.
class Transportation : public BasicRoom {
public:
    Transportation(point location, int roomType, int variant, int serial);
    bool isTransportation() override;
};

#endif
