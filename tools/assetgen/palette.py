"""The colours every sheet shares, the cell's size on screen, and the looks."""

FONT_BOLD = '/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf'

# Screen size of one grid cell: a diamond in a 128 x 64 box, a storey is 64 px.
CW, CH, SH = 64, 32, 64
CELL_W, CELL_H = 2 * CW, 2 * CH

# The two looks a sheet can be drawn in; the night one is graded further by
# night.night_sheet.
DAY, NIGHT = 'day', 'night'

# warm concrete, glass blue, lawn green, asphalt; light from top-left
INK = (38, 42, 54)
ASPHALT = (78, 82, 92)
KERB = (170, 168, 160)
LANE = (236, 226, 190)
LAWN = (122, 180, 94)
CONCRETE = (204, 200, 192)
ROOF = (112, 110, 116)
WALL = (236, 228, 214)
SKY = (150, 204, 238)
GLASS = (112, 164, 206)
STEEL = (150, 160, 174)
ACCENT = (242, 170, 64)
WOOD = (170, 118, 74)
FACE_TOP = (100, 114, 138)
FACE_BOT = (66, 76, 96)
