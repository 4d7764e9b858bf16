"""End-to-end tests of the bar and the pane on scaled screens: at 96, 144
and 192 DPI (Wine's LogPixels) every measure follows the layout's twips
at 1440 / DPI twips a pixel, and the text is drawn in a font of that cell."""

import subprocess

from harness import WINE, WINESERVER, expect_equal, pane_shows

PROMPT_BOX, COMMAND_BOX, ENTER_BUTTON = 101, 102, 1
SCREEN_WIDTH = 1280


def pixels(twips, dpi):
    """twips at the DPI in whole pixels: the nearest, an exact half down."""
    return (twips * dpi + 719) // 1440


def set_dpi(c, dpi):
    """Gives the test's prefix a new screen scale; Wine reads it at start."""
    reg = c.drive_c / "dpi.reg"
    reg.write_text("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"
                   f'"LogPixels"=dword:{dpi:08x}\r\n', encoding="ascii")
    with open(c.logs / f"{c.name}.regedit.log", "a") as log:
        subprocess.run([WINE, "regedit", "/S", r"C:\dpi.reg"], env=c.env, check=True,
                       timeout=120, stdout=log, stderr=subprocess.STDOUT)
    subprocess.run([WINESERVER, "-w"], env=c.env, timeout=120, check=True)


def check_scale(c, dpi):
    bar_height = pixels(255, dpi)
    cell_height, cell_width = pixels(225, dpi), pixels(120, dpi)
    margin = pixels(60, dpi)
    snap = c.wait_for(lambda s: s.bar and s.bar["visible"] and s.prompt not in (None, "Prompt>")
                      and s.bar["rect"][3] - s.bar["rect"][1] == bar_height,
                      f"the bar {bar_height} pixels high at {dpi} DPI", 60)
    expect_equal(snap.bar["rect"], [0, 0, SCREEN_WIDTH, bar_height], f"the bar at {dpi} DPI")
    prompt = snap.control(PROMPT_BOX)["rect"]
    expect_equal(prompt[0], margin, f"the prompt box's left edge at {dpi} DPI")
    expect_equal([prompt[3] - prompt[1], prompt[1]], [cell_height, pixels(15, dpi)],
                 f"the prompt box's height and top at {dpi} DPI")
    expect_equal(prompt[2] - prompt[0], len(snap.prompt) * cell_width + margin,
                 f"the prompt box's width for {snap.prompt!r} at {dpi} DPI")
    font = c.ask_probe(f"font {snap.control(COMMAND_BOX)['hwnd']}")
    expect_equal([font["height"], font["width"]], [cell_height, cell_width],
                 f"the bar's font cell at {dpi} DPI ({font})")

    # A pane line holds one character less than (box width - 150 twips) /
    # 120 twips, and each line is one cell high.
    per_line = (SCREEN_WIDTH - pixels(150, dpi)) // cell_width - 1
    c.enter_line('print String(300, "x")')
    lines = ["x" * min(per_line, 300 - at) for at in range(0, 300, per_line)]
    snap = pane_shows(c, "\r\n" + "\r\n".join(lines))
    expect_equal(snap.pane["rect"],
                 [0, bar_height, SCREEN_WIDTH,
                  bar_height + (len(lines) + 1) * cell_height + pixels(30, dpi)],
                 f"the pane at {dpi} DPI")
    font = c.ask_probe(f"font {snap.pane['children'][0]['hwnd']}")
    expect_equal([font["height"], font["width"]], [cell_height, cell_width],
                 f"the pane's font cell at {dpi} DPI ({font})")

    c.enter_line("enterbutton on")
    enter_width = pixels(795, dpi)
    snap = c.wait_for(lambda s: s.control(ENTER_BUTTON)["rect"][0] == SCREEN_WIDTH - enter_width,
                      f"the Enter button at the right end at {dpi} DPI")
    enter = snap.control(ENTER_BUTTON)["rect"]
    expect_equal(enter[2] - enter[0], enter_width,
                 f"the Enter button's width at {dpi} DPI")


def test_bar_and_pane_follow_the_screen_scale(c):
    for dpi in (96, 144, 192):
        set_dpi(c, dpi)
        c.start()
        check_scale(c, dpi)
        c.stop_wine()
