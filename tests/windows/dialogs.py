"""The Win32 message box and proxy dialog as a user meets them under Wine:
opened by a driver that calls the platform layer, answered with xdotool,
and looked at from outside with the probe while they are open (owner,
disabled and topmost windows, geometry at 96 DPI, focus)."""
import os

import winetest as w

DRIVER = os.path.join(w.TESTS, "quillbox-test-dialogs.exe")
DIALOG_TITLE = "   Enter proxy server"
WS_CAPTION, WS_SYSMENU, WS_THICKFRAME = 0x00C00000, 0x00080000, 0x00040000
WS_MINIMIZEBOX, WS_MAXIMIZEBOX, WS_EX_TOOLWINDOW, SS_ICON = 0x00020000, 0x00010000, 0x00000080, 0x3


def box(mode, flags, text):
    program = w.Program(DRIVER, [mode, str(flags), text])
    x = w.x_window(w.BOX_TITLE)
    found, report = w.wait_probe(title=w.BOX_TITLE)
    return program, x, found, report


def has_icon(window):
    return any(c["class"].lower() == "static" and (c["style"] & 0x1F) == SS_ICON and c["visible"] and c["icon"]
               for c in window["children"])


report = w.probe()
w.check(report["dpi"] == [96, 96], "the screen has 96 DPI")

# ---- message boxes ----------------------------------------------------------

# Which key gives which result, for each kind of box the program shows.
# Not Escape: Wine answers it with IDCANCEL where Windows gives IDOK on an OK
# box and No (or nothing) on a Yes/No box.
for flags, keys, expected, icon, what in [
    (0, ["Return"], 1, False, "OK box, Return"),
    (16, ["space"], 1, True, "error box, Space on OK"),
    (20, ["n"], 7, True, "Yes/No error box, N"),
    (68, ["Return"], 6, True, "Yes/No information box, Return on Yes"),
]:
    program, x, found, _ = box("box", flags, "Line one\\rline two")
    w.check(found["owner"] == 0, "%s: no window of ours in front, so no owner" % what)
    w.check(has_icon(found) == icon, "%s: %s" % (what, "an icon" if icon else "no icon"))
    text = w.child(found, "static", "Line one\rline two")
    w.check(text is not None, "%s: the text with its carriage return as the line break" % what)
    if flags == 68:
        w.screenshot("wine-message-box-information", x)
    w.key(x, *keys)
    w.check(program.result()["result"] == expected, "%s gives %d" % (what, expected))

# Among windows of our own: the one in front owns the box; the others are
# disabled and out of the topmost band while it is open, and back after.
program, x, found, report = box("box-among-windows", 68, "Owned")
owner = w.find(report, title="Owner window")
other = w.find(report, title="Other window")
topmost = w.find(report, title="Topmost window")
w.check(found["owner"] == owner["hwnd"], "the program's window in front owns the box")
w.check(not owner["enabled"] and not other["enabled"], "the owner and the other window are disabled meanwhile")
w.check(not topmost["topmost"] and not topmost["enabled"], "the topmost window has left the topmost band meanwhile")
w.key(x, "y")
result = program.result()
w.check(result["result"] == 6, "Y answers Yes")
w.check(result["owner_enabled"] and result["other_enabled"], "afterwards every window is enabled again")
w.check(result["topmost_topmost"], "and the topmost window is topmost again")

# ---- the proxy dialog ---------------------------------------------------------


def dialog(mode, message, default=""):
    program = w.Program(DRIVER, [mode, "500", message, default])
    x = w.x_window(DIALOG_TITLE)
    found, report = w.wait_probe(title=DIALOG_TITLE)
    return program, x, found, report


def controls(found):
    return (w.child(found, "static"), w.child(found, "edit"), w.child(found, "button", "OK"),
            w.child(found, "button", "Cancel"))


heights = {}
for name, message in [("one line", "Enter proxy server"),
                      ("five lines", "Enter proxy server\\r\\rproxyServer:Port user password\\r\\r- http://")]:
    program, x, found, report = dialog("input", message)
    static, edit, ok, cancel = controls(found)
    h = static["rect"][3]
    heights[name] = h
    w.check(found["class"] == "QuillboxInputDialog" and found["owner"] == 0, "%s: no owner" % name)
    w.check(found["client"] == [500, h + 96], "%s: the inner area is 500 x (H + 96), H = %d" % (name, h))
    w.check(static["rect"] == [12, 12, 476, h], "%s: the message at 12, 12, 476 wide" % name)
    w.check(edit["rect"] == [12, h + 24, 476, 24], "%s: the entry below it, 24 high" % name)
    w.check(ok["rect"] == [336, h + 60, 70, 24] and cancel["rect"] == [418, h + 60, 70, 24],
            "%s: OK and Cancel, 70 x 24, at the right" % name)
    w.check(found["focus"] == edit["hwnd"], "%s: the entry has the focus" % name)
    style, exstyle = found["style"], found["exstyle"]
    w.check(style & WS_CAPTION == WS_CAPTION and not style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
                                                              WS_MAXIMIZEBOX),
            "%s: a title bar and nothing else" % name)
    w.check(exstyle & WS_EX_TOOLWINDOW, "%s: a tool window" % name)
    left, top, right, bottom = found["window"]
    screen = report["screen"]
    w.check((left, top) == ((screen[0] - (right - left)) // 2, (screen[1] - (bottom - top)) // 2),
            "%s: centred on the screen" % name)
    if name == "five lines":
        w.screenshot("wine-proxy-dialog", x)
    w.type_text(x, "proxy.local:3128 anna")
    w.key(x, "Return")
    result = program.result()
    w.check(result["result"] == "proxy.local:3128 anna", "%s: Return confirms the typed entry" % name)
    settings = result["class"]
    w.check(settings["icon_is_program_icon"] and settings["arrow_cursor"] and
            settings["background"] == settings["button_face_brush"],
            "%s: program icon, arrow cursor and button face in its class" % name)
w.check(heights["five lines"] > heights["one line"], "more lines make the window taller by their height")

# Return while Cancel has the focus still confirms: the shortcut comes first.
program, x, found, _ = dialog("input", "Message", "kept entry")
static, edit, ok, cancel = controls(found)
w.press_without_click(x, *[found["client_origin"][i] - found["window"][i] + cancel["rect"][i] + cancel["rect"][i + 2] // 2
                           for i in (0, 1)])
found, _ = w.wait_probe(title=DIALOG_TITLE)
w.check(found["focus"] == cancel["hwnd"], "Cancel has the focus, without having been clicked")
w.key(x, "Return")
w.check(program.result()["result"] == "kept entry", "Return with Cancel focused confirms the entry")

program, x, found, _ = dialog("input", "Message", "typed")
w.key(x, "Escape")
w.check(program.result()["result"] == "-1", "Escape in the entry cancels: the cancel value")

program, x, found, _ = dialog("input", "Message", "")
static, edit, ok, cancel = controls(found)
w.xdotool("mousemove", "--window", x, str(found["client_origin"][0] - found["window"][0] + ok["rect"][0] + 35),
          str(found["client_origin"][1] - found["window"][1] + ok["rect"][1] + 12))
w.xdotool("click", "1")
w.check(program.result()["result"] == "", "OK on an empty entry gives the empty text, not the cancel value")

# With a window of ours in front: it owns the dialog, is disabled meanwhile,
# and the dialog is centred over it.
program, x, found, report = dialog("input-with-owner", "Message", "")
owner = w.find(report, title="Owner window")
w.check(found["owner"] == owner["hwnd"] and not owner["enabled"], "the window in front owns the dialog, disabled")
ol, ot, orr, ob = owner["window"]
left, top, right, bottom = found["window"]
w.check((left, top) == (max(0, ol + ((orr - ol) - (right - left)) // 2), max(0, ot + ((ob - ot) - (bottom - top)) // 2)),
        "centred over its owner")
w.key(x, "Escape")
result = program.result()
w.check(result["result"] == "-1" and result["owner_enabled"], "after the dialog its owner is enabled again")

# ---- at 144 DPI ----------------------------------------------------------------
# The layout in 1/96-inch units scaled by 1.5, around the measured message
# height turned back into units (halves up); the main window's client area
# is 1200 x 900 pixels and still reads back as 800 x 600.


def set_dpi(dpi):
    w.run("reg", ["add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f"])


def scaled(value):
    return (value * 144 + 48) // 96


set_dpi(144)
try:
    program, x, found, report = dialog("input", "Enter proxy server\\r\\rproxyServer:Port user password")
    w.check(report["dpi"] == [144, 144], "the screen has 144 DPI")
    static, edit, ok, cancel = controls(found)
    h = (static["rect"][3] * 96 * 2 + 144) // (2 * 144)
    w.check(static["rect"] == [18, 18, 714, scaled(h)], "144 DPI: the message, H = %d units" % h)
    w.check(found["client"] == [750, scaled(h + 96)], "144 DPI: the inner area is 1.5 x 500 by 1.5 x (H + 96)")
    w.check(edit["rect"] == [18, scaled(h + 24), 714, 36], "144 DPI: the entry")
    w.check(ok["rect"] == [504, scaled(h + 60), 105, 36] and cancel["rect"] == [627, scaled(h + 60), 105, 36],
            "144 DPI: the buttons")
    w.screenshot("wine-proxy-dialog-144dpi", x)
    w.key(x, "Escape")
    program.result()

    program = w.Program(DRIVER, ["main-window"])
    x = w.x_window("Main window")
    found, _ = w.wait_probe(title="Main window")
    w.check(found["client"] == [1200, 900], "144 DPI: the main window's client area is 1200 x 900 pixels")
    w.key(x, "alt+F4")
    w.check(program.result()["client"] == [800, 600], "and reads back as 800 x 600")
finally:
    set_dpi(96)
