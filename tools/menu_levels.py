#!/usr/bin/env python3
"""Writes the menu levels and the confirmation dialog's archetypes.

    python3 tools/menu_levels.py game

Menus are pages laid out in one scene's world; the pause manager and the credits pager
move that scene's camera between them, so every page is built around its own centre
here. The screen shows 1920 units across and 1080 (16:9) to 1200 (16:10) up.
"""

import json
import sys
from pathlib import Path

PALE = {"r": 0.78, "g": 0.74, "b": 0.68, "a": 1}
DIM = {"r": 0.55, "g": 0.52, "b": 0.48, "a": 0.9}
BLOOD = {"r": 0.55, "g": 0.08, "b": 0.07, "a": 1}
PLATE = {"r": 0.07, "g": 0.06, "b": 0.07, "a": 1}
RIM = {"r": 0.36, "g": 0.33, "b": 0.31, "a": 1}

# The main menu's pages: the title page at the origin, options below it.
MAIN_OPTIONS = (0, -1400)
# The pause menu hangs above an empty origin, so a closed menu shows nothing.
PAUSE_PAGE = (0, 3000)
PAUSE_OPTIONS = (2400, 3000)
PAUSE_TUTORIAL = (-2400, 3000)
CREDITS_OFFSET = (2400, 0)

CAMERA = {"name": "defaultcam", "scale": {"x": 0, "y": 0, "z": 0}}
BACKGROUND = {"color": {"r": 0.012, "g": 0.01, "b": 0.016, "a": 1}}


def quad(name="unit"):
    return {"type": "quad", "name": name, "halfsizex": 0.5, "halfsizey": 0.5, "u": 1, "v": 1}


def transform(x, y, w, h, depth):
    return {"translation": {"x": x, "y": y}, "scale": {"x": w, "y": h}, "depth": depth}


def fog(name, x, y):
    return {
        "name": name,
        "transform": transform(x, y, 1920, 1200, 1),
        "components": {"sprite": {"mesh": quad(), "shader": {"name": "fog"},
                                  "tint": {"r": 0.22, "g": 0.2, "b": 0.27, "a": 0.6}}},
    }


def shade(name, x, y, w, h, alpha, depth=2):
    """A flat dark panel that dims whatever lies behind it."""
    return {
        "name": name,
        "transform": transform(x, y, w, h, depth),
        "components": {"sprite": {"mesh": quad(), "shader": {"name": "default"},
                                  "tint": {"r": 0.01, "g": 0.008, "b": 0.012, "a": alpha}}},
    }


def text(name, x, y, words, size=24, tint=PALE, depth=6):
    w = size
    h = round(size * 1.4)
    return {
        "name": name,
        "transform": transform(x, y, w, h, depth),
        "components": {"sprite": {
            "mesh": {"type": "quad", "name": "glyph", "halfsizex": 0.5, "halfsizey": 0.5, "u": 16, "v": 6},
            "spritesource": {"name": "font", "source": "Assets/Art/font.png", "cols": 16, "rows": 6},
            "shader": {"name": "default"},
            "text": words,
            "textcenter": True,
            "tint": dict(tint),
        }},
    }


def plate(name, x, y, w, h, tint=PLATE, depth=5):
    return {
        "name": name,
        "transform": transform(x, y, w, h, depth),
        "components": {"sprite": {"mesh": quad(), "shader": {"name": "default"}, "tint": dict(tint)}},
    }


def button(name, x, y, label, action, recipient="", w=400, h=76, size=26, transition=False, confirm=None):
    """A rim, a dark plate that is the button (its hover fade lets the rim glow through)
    and the label on top."""
    behaviour = {"halfsize": {"x": w / 2, "y": h / 2}, "action": action, "recipient": recipient,
                 "transition": transition}
    if confirm is not None:
        behaviour["confirm"] = True
        behaviour["confirmoffset"] = {"x": confirm[0], "y": confirm[1]}
    body = plate(name, x, y, w, h)
    body["components"]["behaviorbutton"] = behaviour
    return [plate(name + "Rim", x, y, w + 6, h + 6, RIM, 4), body, text(name + "Label", x, y, label, size)]


def option_rows(prefix, cx, cy, back_message):
    """The options page: three volumes and the window mode, each with its readout."""
    rows = [("MASTER VOLUME", "Master Volume", "mastervol"), ("MUSIC VOLUME", "Music Volume", "musicvol"),
            ("EFFECTS VOLUME", "Effects Volume", "sfxvol")]
    out = [fog(prefix + "Fog", cx, cy), text(prefix + "Title", cx, cy + 360, "OPTIONS", 48, BLOOD)]
    for i, (label, message, option) in enumerate(rows):
        y = cy + 200 - i * 110
        key = prefix + option.capitalize()
        out.append(text(key + "Label", cx - 470, y, label, 24, DIM))
        out += button(key + "Down", cx - 80, y, "-", "message", message + " Down", w=80, h=70, size=32)
        readout = text(key + "Value", cx + 200, y, "-", 24)
        readout["components"]["behavioroptiontext"] = {"option": option}
        out.append(readout)
        out += button(key + "Up", cx + 480, y, "+", "message", message + " Up", w=80, h=70, size=32)
    y = cy + 200 - 3 * 110
    out.append(text(prefix + "ModeLabel", cx - 470, y, "WINDOW MODE", 24, DIM))
    out += button(prefix + "ModeToggle", cx - 80, y, "<>", "message", "Toggle Window", w=80, h=70, size=28)
    mode = text(prefix + "ModeValue", cx + 200, y, "-", 24)
    mode["components"]["behavioroptiontext"] = {"option": "windowmode"}
    out.append(mode)
    out += button(prefix + "Back", cx, cy - 340, "BACK", "message", back_message)
    return out


def main_menu():
    entities = [fog("titleFog", 0, 0),
                {"name": "title",
                 "transform": transform(0, 250, 860, 269, 5),
                 "components": {"sprite": {
                     "mesh": quad(),
                     "spritesource": {"name": "logo", "source": "Assets/Art/logo.png", "cols": 1, "rows": 1},
                     "shader": {"name": "default"}}}},
                {"name": "pages", "components": {"pausemanager": {
                    "optionspos": {"x": MAIN_OPTIONS[0], "y": MAIN_OPTIONS[1]}, "submenumovetime": 0.45,
                    "menulerpin": 2, "menulerpout": 1}}}]
    entities += button("playButton", 0, 20, "PLAY", "changescene", "level1", transition=True)
    entities += button("optionsButton", 0, -95, "OPTIONS", "message", "Options-Main")
    entities += button("creditsButton", 0, -210, "CREDITS", "changescene", "credits", transition=True)
    # The dialog opens over the title, clear of every button.
    entities += button("quitButton", 0, -325, "QUIT", "quit", confirm=(0, 270))
    entities.append(text("hint", 0, -405, "THE DARK IS LISTENING", 18, {"r": 0.4, "g": 0.37, "b": 0.35, "a": 0.8}))
    entities += option_rows("main", MAIN_OPTIONS[0], MAIN_OPTIONS[1], "Pause")
    return {"camera": CAMERA, "background": BACKGROUND, "entities": entities}


TUTORIAL = [
    "W A S D - WALK          SHIFT - RUN (IT HEARS YOU)",
    "MOUSE - AIM THE FLASHLIGHT",
    "HOLD E BESIDE A RELIC TO TAKE IT",
    "1 - TRAPS    HOLD THE MOUSE BUTTON - SET ONE",
    "R - WHAT YOU CARRY    Q - THROW IT",
    "GRABBED? A AND D IN TURN, FAST, TO BREAK FREE",
    "WITH ALL FOUR RELICS, LURE IT BEFORE THE CAMERA",
    "AND PRESS E THERE WHEN THE CAMERA'S LAMP IS GREEN",
    "ESC - PAUSE",
]


def pause_menu():
    px, py = PAUSE_PAGE
    entities = [{"name": "pauseManager", "components": {"pausemanager": {
        "onscreenpos": {"x": px, "y": py},
        "tutorialpos": {"x": PAUSE_TUTORIAL[0], "y": PAUSE_TUTORIAL[1]},
        "optionspos": {"x": PAUSE_OPTIONS[0], "y": PAUSE_OPTIONS[1]},
        "pausemovetime": 0.45, "submenumovetime": 0.35, "unpausepercentage": 0.6,
        "menulerpin": 2, "menulerpout": 1}}},
        # One dark veil behind all three pages: the level stays faintly visible.
        shade("veil", 0, py, 7400, 1400, 0.82, 0),
        fog("pauseFog", px, py),
        text("pauseTitle", px, py + 300, "PAUSED", 56, BLOOD)]
    entities += button("resumeButton", px, py + 110, "RESUME", "message", "Unpause")
    entities += button("pauseOptionsButton", px, py - 5, "OPTIONS", "message", "Options-Pause")
    entities += button("tutorialButton", px, py - 120, "HOW TO PLAY", "message", "Tutorial")
    entities += button("menuButton", px, py - 235, "QUIT TO MENU", "changescene", "main_menu", transition=True,
                       confirm=(px, py + 330))

    tx, ty = PAUSE_TUTORIAL
    entities += [fog("tutorialFog", tx, ty), text("tutorialTitle", tx, ty + 360, "HOW TO PLAY", 48, BLOOD)]
    for i, line in enumerate(TUTORIAL):
        entities.append(text("tutorialLine%d" % i, tx, ty + 230 - i * 58, line, 22))
    entities += button("tutorialBack", tx, ty - 340, "BACK", "message", "Pause")

    entities += option_rows("pause", PAUSE_OPTIONS[0], PAUSE_OPTIONS[1], "Pause")
    return {"camera": CAMERA, "entities": entities}


CREDITS = [
    ("CREDITS", ["GLOAMER", "A GAME ABOUT THE LAST LIGHT IN THE HOUSE", "", "DESIGN, CODE AND CONTENT",
                 "THE GLOAMER TEAM"]),
    ("MADE WITH", ["GLFW   GLM   NLOHMANN JSON   STB", "OPENAL SOFT   LIBSNDFILE   DEAR IMGUI",
                   "", "LETTERS FROM DEJAVU SANS MONO AND DEJAVU SERIF"]),
    ("THANK YOU", ["FOR PLAYING IN THE DARK", "", "KEEP THE LAMPS LIT"]),
]


def credits():
    entities = [{"name": "pager", "components": {"creditsmanager": {
        "offset": {"x": CREDITS_OFFSET[0], "y": CREDITS_OFFSET[1]}, "maxpages": len(CREDITS)}}}]
    for page, (title, lines) in enumerate(CREDITS):
        x = page * CREDITS_OFFSET[0]
        y = page * CREDITS_OFFSET[1]
        entities += [fog("creditsFog%d" % page, x, y), text("creditsTitle%d" % page, x, y + 300, title, 48, BLOOD)]
        for i, line in enumerate(lines):
            if line:
                entities.append(text("credits%d_%d" % (page, i), x, y + 150 - i * 70, line, 26))
        entities.append(text("creditsPage%d" % page, x, y - 270, "%d / %d" % (page + 1, len(CREDITS)), 20, DIM))
    return {"camera": CAMERA, "background": BACKGROUND, "entities": entities, "subscenes": ["credits_nav"]}


def credits_nav():
    # Its own scene, so its camera stays put while the pages turn underneath.
    entities = button("pageBack", -600, -370, "<", "message", "Page Backward", w=100, h=76, size=32)
    entities += button("pageForward", 600, -370, ">", "message", "Page Forward", w=100, h=76, size=32)
    entities += button("creditsBack", 0, -370, "BACK", "changescene", "main_menu", transition=True)
    return {"camera": CAMERA, "entities": entities}


# The end screens hold their words until a key is pressed; they never move on alone.
FOREVER = 100000


def fade_in(entity, delay, time=1.2):
    entity["components"]["behaviorsplash"] = {"delay": delay, "fadeintime": time, "duration": FOREVER,
                                              "fadeouttime": 1, "fadeinlerp": 2, "fadeoutlerp": 1}
    return entity


def end_scene(title, title_tint, lines, background, fog_tint):
    """A closing screen: the verdict, a few lines of what happened, and a way back to
    the main menu once the words have had time to land."""
    cloud = fog("endFog", 0, 0)
    cloud["components"]["sprite"]["tint"] = fog_tint
    entities = [cloud,
                # Darker bands above and below pull the eye to the words.
                shade("endShadeTop", 0, 470, 1920, 260, 0.7),
                shade("endShadeBottom", 0, -470, 1920, 260, 0.7),
                fade_in(text("endTitle", 0, 150, title, 84, title_tint), 0.4, 1.6)]
    for i, line in enumerate(lines):
        entities.append(fade_in(text("endLine%d" % i, 0, -10 - i * 60, line, 24, DIM), 1.6 + i * 0.6))
    entities.append(fade_in(text("endPrompt", 0, -300, "PRESS ANY KEY", 20, {"r": 0.45, "g": 0.42, "b": 0.4,
                                                                               "a": 0.8}), 3.0, 1.0))
    entities.append({"name": "endExit", "components": {"behavioranykey": {
        "delay": 3.0, "nextscene": "main_menu", "scenetransition": True}}})
    return {"camera": CAMERA, "background": {"color": background}, "entities": entities}


def win_scene():
    return end_scene("YOU ESCAPED", PALE,
                     ["THE FLASH BURNED IT OUT OF THE DARK.", "THE HOUSE IS QUIET. THE LAMPS STILL FLICKER."],
                     {"r": 0.014, "g": 0.014, "b": 0.02, "a": 1}, {"r": 0.3, "g": 0.29, "b": 0.34, "a": 0.55})


def lose_scene():
    return end_scene("IT HAS YOU", BLOOD,
                     ["YOUR HANDS WENT STILL. THE LIGHT WENT OUT.", "NO ONE WILL COME LOOKING."],
                     {"r": 0.03, "g": 0.004, "b": 0.004, "a": 1}, {"r": 0.34, "g": 0.1, "b": 0.09, "a": 0.55})


def dialog():
    """The confirmation dialog's base layout, centred on the origin; each button moves it."""
    confirm = plate("confirmButton", -170, -60, 260, 72, {"r": 0.2, "g": 0.08, "b": 0.07, "a": 1})
    confirm["components"]["behaviorbutton"] = {"halfsize": {"x": 130, "y": 36}, "action": "message",
                                               "recipient": "ButtonConfirm"}
    decline = plate("declineButton", 170, -60, 260, 72, {"r": 0.16, "g": 0.15, "b": 0.15, "a": 1})
    decline["components"]["behaviorbutton"] = {"halfsize": {"x": 130, "y": 36}, "action": "message",
                                               "recipient": "ButtonDecline"}
    return [plate("confirmBG", 0, 0, 940, 330, {"r": 0.03, "g": 0.025, "b": 0.03, "a": 1}),
            text("confirmationText", 0, 70, "ARE YOU SURE?", 34, PALE),
            confirm, text("confirmText", -170, -60, "YES", 28), decline, text("declineText", 170, -60, "NO", 28)]


def write(path, data):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text(json.dumps(data, indent=4) + "\n")


def main():
    root = Path(sys.argv[1] if len(sys.argv) > 1 else "game")
    levels = root / "Data" / "Level"
    write(levels / "main_menu.json", main_menu())
    write(levels / "pause_menu.json", pause_menu())
    write(levels / "credits.json", credits())
    write(levels / "credits_nav.json", credits_nav())
    write(levels / "win_scene.json", win_scene())
    write(levels / "lose_scene.json", lose_scene())
    for entity in dialog():
        write(root / "Data" / "Entity" / (entity["name"] + ".json"), entity)


if __name__ == "__main__":
    main()
