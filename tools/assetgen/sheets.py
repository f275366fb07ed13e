"""Every picture the generator writes, with its size and what draws it."""

from functools import partial

from .elevator import ELEVATOR_SIZE, make_elevator
from .interface import (BUTTON_H, BUTTON_W, BUTTONS_SIZE, FLOORS_SIZE, icon_elevator, icon_hotel1, icon_hotel2,
                        icon_office, make_buttons, make_floors, make_icon)
from .night import lamplit, night_sheet, tiles_light, walls_light
from .palette import CELL_H, CELL_W, DAY
from .people import PEOPLE_SIZE, make_people
from .rooms import make_hotel1, make_hotel2, make_office
from .service import SERVICE_SIZE, make_service
from .tiles import CURSOR_SIZE, TILES_SIZE, WALLS_SIZE, make_cursor, make_lobby, make_tiles, make_walls
from .titles import APP_ICON_SIZES, make_app_icon, make_title_intro, make_title_menu

ICON_SIZE = (BUTTON_W, BUTTON_H)

# path: (size, draw); draw takes the look for the sheets that have a night
# picture, and nothing for the others
DAY_SHEETS = {
    'assets/tiles.png': (TILES_SIZE, lambda look: make_tiles()),
    'assets/walls.png': (WALLS_SIZE, make_walls),
    'assets/lobby.png': ((CELL_W, CELL_H), lambda look: make_lobby()),
    'assets/hotel1.png': ((128, 384), make_hotel1),
    'assets/hotel2.png': ((192, 320), make_hotel2),
    'assets/office.png': ((256, 384), make_office),
    'assets/elevator.png': (ELEVATOR_SIZE, lambda look: make_elevator()),
    'assets/people.png': (PEOPLE_SIZE, lambda look: make_people()),
}

# night picture: (its day sheet, which light each of its pixels takes)
NIGHT_SHEETS = {
    'assets/tiles-night.png': ('assets/tiles.png', tiles_light),
    'assets/walls-night.png': ('assets/walls.png', walls_light),
    'assets/lobby-night.png': ('assets/lobby.png', lamplit),
    'assets/hotel1-night.png': ('assets/hotel1.png', lamplit),
    'assets/hotel2-night.png': ('assets/hotel2.png', lamplit),
    'assets/office-night.png': ('assets/office.png', lamplit),
    'assets/elevator-night.png': ('assets/elevator.png', lamplit),
    'assets/people-night.png': ('assets/people.png', lamplit),
}

OTHER_SHEETS = {
    'assets/title_intro.png': ((600, 300), make_title_intro),
    'assets/title_menu.png': ((600, 400), make_title_menu),
    'assets/cursor.png': (CURSOR_SIZE, make_cursor),
    'assets/buttons.png': (BUTTONS_SIZE, make_buttons),
    'assets/floors.png': (FLOORS_SIZE, make_floors),
    'assets/service.png': (SERVICE_SIZE, make_service),
    'assets/icons/elevator.png': (ICON_SIZE, partial(make_icon, icon_elevator)),
    'assets/icons/hotel1.png': (ICON_SIZE, partial(make_icon, icon_hotel1)),
    'assets/icons/hotel2.png': (ICON_SIZE, partial(make_icon, icon_hotel2)),
    'assets/icons/office.png': (ICON_SIZE, partial(make_icon, icon_office)),
}
OTHER_SHEETS.update({'desktop/zentrova-%d.png' % n: ((n, n), partial(make_app_icon, n)) for n in APP_ICON_SIZES})


def images():
    """path: (size, draw()) for every picture, night pictures included."""
    out = dict(OTHER_SHEETS)
    for path, (size, make) in DAY_SHEETS.items():
        out[path] = (size, partial(make, DAY))
    for night, (day, light) in NIGHT_SHEETS.items():
        size, make = DAY_SHEETS[day]
        out[night] = (size, partial(night_sheet, make, light))
    return out
