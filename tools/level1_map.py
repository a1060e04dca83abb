#!/usr/bin/env python3
"""Writes the tile map of level1, an abandoned house: rooms joined by corridors.

usage: python3 tools/level1_map.py game/Data/Tilemap/level1.json

Tile numbers are cells of Assets/Art/tiles.png plus one (tools/TileSheet.cpp): 2 floorboards,
3 floor tiles, 4 wall top, 5 wall showing its face, 6 damp wall top, 7 stained boards, 8 runner.
The lower layer is the floor, the upper layer the walls (0 where there is none).
"""
import json
import sys

WIDTH, HEIGHT = 64, 44
BOARDS, TILES, WALL, FACE, RIM, STAIN, RUNNER = 2, 3, 4, 5, 6, 7, 8

# (x, y, width, height, floor) with y counted from the top row.
ROOMS = [
    (4, 3, 14, 10, BOARDS),   # library
    (24, 3, 16, 8, BOARDS),   # study
    (46, 3, 14, 10, TILES),   # kitchen
    (24, 16, 16, 12, BOARDS), # hall
    (46, 18, 14, 9, BOARDS),  # bedroom
    (4, 30, 14, 10, TILES),   # entrance
    (44, 31, 16, 9, TILES),   # cellar
]
CORRIDORS = [
    (10, 13, 3, 17),  # library down to the entrance
    (13, 20, 11, 3),  # across to the hall
    (40, 21, 6, 3),   # hall to bedroom
    (31, 11, 3, 5),   # study to hall
    (18, 6, 6, 3),    # library to study
    (40, 6, 6, 3),    # study to kitchen
    (52, 13, 3, 5),   # kitchen to bedroom
    (52, 27, 3, 4),   # bedroom to cellar
    (18, 34, 26, 3),  # entrance to cellar
    (30, 28, 3, 6),   # hall down to the long passage
]
# Pillars in the hall, a partition in the entrance, shelves in the library.
WALLS = [
    (28, 19, 2, 2), (34, 19, 2, 2), (28, 24, 2, 2), (34, 24, 2, 2),
    (10, 33, 1, 5),
    (6, 5, 1, 6), (9, 5, 1, 6),
    (50, 34, 6, 1),
]
STAINS = [(30, 22), (31, 22), (52, 21), (14, 8), (55, 24)]


def build():
    floor = [[WALL] * WIDTH for _ in range(HEIGHT)]
    solid = [[True] * WIDTH for _ in range(HEIGHT)]

    def carve(x, y, w, h, tile):
        for j in range(y, y + h):
            for i in range(x, x + w):
                floor[j][i] = tile
                solid[j][i] = False

    for x, y, w, h, tile in ROOMS:
        carve(x, y, w, h, tile)
    for x, y, w, h in CORRIDORS:
        carve(x, y, w, h, RUNNER)
    for x, y, w, h in WALLS:
        for j in range(y, y + h):
            for i in range(x, x + w):
                solid[j][i] = True
    for x, y in STAINS:
        floor[y][x] = STAIN

    def open_at(i, j):
        return 0 <= i < WIDTH and 0 <= j < HEIGHT and not solid[j][i]

    walls = [[0] * WIDTH for _ in range(HEIGHT)]
    for j in range(HEIGHT):
        for i in range(WIDTH):
            if not solid[j][i]:
                continue
            if open_at(i, j + 1):
                walls[j][i] = FACE
            elif any(open_at(i + di, j + dj) for di, dj in ((1, 0), (-1, 0), (0, -1))):
                walls[j][i] = RIM
            else:
                walls[j][i] = WALL
    return floor, walls


def rows_text(grid):
    return ",\n".join("        " + ", ".join(str(t) for t in row) for row in grid)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: level1_map.py OUT.json")
    floor, walls = build()
    text = '{\n    "width": %d,\n    "height": %d,\n    "layers": [\n' % (WIDTH, HEIGHT)
    text += '        {"name": "floor", "data": [\n' + rows_text(floor) + "\n        ]},\n"
    text += '        {"name": "walls", "data": [\n' + rows_text(walls) + "\n        ]}\n"
    text += "    ]\n}\n"
    json.loads(text)
    with open(sys.argv[1], "w") as out:
        out.write(text)


if __name__ == "__main__":
    main()
