"""The real input dialog under the X server, opened by a small driver that
prints what the dialog returned: the keys and buttons that confirm and
cancel, the size that follows the message and the DPI, the place on the
screen or over its owner, the window's hints, and the length limit."""
import json
import os
import subprocess

import guitest as g

TITLE = "   Enter proxy server"  # three spaces in front of the title
DRIVER = os.path.join(g.BUILD, "input-dialog-driver")
LINE = "proxyServer:Port optionalUsername optionalPassword"


STARTED = []


class Dialog:
    def __init__(self, *args, env=None):
        full_env = dict(os.environ)
        full_env.update(env or {})
        self.proc = subprocess.Popen([DRIVER, *args], stdout=subprocess.PIPE, stdin=subprocess.PIPE, text=True,
                                     env=full_env)
        STARTED.append(self.proc)

    def window(self):
        self.id = g.wait_window(TITLE, self.proc.pid)
        self.size = g.geometry(self.id)
        return self.id

    def result(self):
        try:
            out, _ = self.proc.communicate(timeout=30)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            g.fail("the dialog did not return")
        lines = [l for l in out.splitlines() if l.startswith("RESULT ")]
        if not lines:
            g.fail("the driver printed no result")
        return json.loads(lines[0][len("RESULT "):])

    def click(self, x, y):
        g.xdotool("mousemove", str(self.size["X"] + x), str(self.size["Y"] + y), "click", "1")


def buttons(size):
    """The centres of OK and Cancel at 96 DPI: y = H + 60, H = height - 96."""
    h = size["HEIGHT"] - 96
    w = size["WIDTH"]
    return (w - 164 + 35, h + 60 + 12), (w - 82 + 35, h + 60 + 12)


def xprop(window):
    return subprocess.run(["xprop", "-id", window], capture_output=True, text=True).stdout


try:
    # Typing and Return: the entry's text, untrimmed. The default text is there,
    # with the caret at its start, as the edit control has it.
    d = Dialog("--message", LINE)
    g.key(d.window(), "space", "p", "colon", "8", "0", "space")
    g.key(d.id, "Return")
    g.check(d.result() == " p:80 ", "typed text confirmed with Return, untrimmed")
    d = Dialog("--default", "host:1")
    g.key(d.window(), "x")
    g.key(d.id, "KP_Enter")
    g.check(d.result() == "xhost:1", "the default text is offered, the caret at its start; keypad Enter confirms")

    # Two tabs put the focus on Cancel: Space presses it, but Return still
    # confirms, since the shortcut comes before the button.
    d = Dialog("--default", "kept")
    g.key(d.window(), "Tab", "Tab", "space")
    g.check(d.result() == "-1", "two tabs lead to Cancel, and Space presses it")
    d = Dialog("--default", "kept")
    g.key(d.window(), "Tab", "Tab", "Return")
    g.check(d.result() == "kept", "Return confirms while Cancel has the focus")
    d = Dialog("--default", "kept", "--cancel", "gave up")
    g.key(d.window(), "a", "Escape")
    g.check(d.result() == "gave up", "Escape in the entry cancels with the cancel value")
    d = Dialog("--default", "kept")
    g.key(d.window(), "shift+Return", "ctrl+Return", "Escape")
    g.check(d.result() == "-1", "Return with a modifier is no shortcut")

    # The buttons where the layout puts them.
    d = Dialog("--message", LINE)
    d.window()
    ok, cancel = buttons(d.size)
    d.click(*ok)
    g.check(d.result() == "", "an empty entry confirmed with OK is the empty text, not the cancel value")
    d = Dialog("--default", "typed")
    d.window()
    ok, cancel = buttons(d.size)
    d.click(*cancel)
    g.check(d.result() == "-1", "Cancel returns the cancel value")
    d = Dialog("--default", "typed")
    g.close(d.window())
    g.check(d.result() == "-1", "a close request cancels")

    # The size follows the message: 500 wide, inner height H + 96, each line
    # adding its height; no owner: centred on the whole screen.
    heights = []
    for lines in (1, 2, 3):
        d = Dialog("--message", "\r".join([LINE] * lines))
        d.window()
        heights.append(d.size["HEIGHT"])
        if lines == 3:
            g.screenshot("input-dialog-96dpi", d.id)
            screen_w, screen_h = (int(v) for v in g.xdotool("getdisplaygeometry").split())
            g.check(d.size["X"] == (screen_w - 500) // 2 and d.size["Y"] == (screen_h - heights[-1]) // 2,
                    "without an owner the dialog is centred on the screen")
            hints = xprop(d.id)
            g.check("_NET_WM_STATE_SKIP_TASKBAR" in hints, "no taskbar entry")
            g.check("_NET_WM_WINDOW_TYPE_UTILITY" in hints, "a utility (tool) window")
            g.check("_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x3, 0x4, 0xa" in hints,
                    "a title bar with no buttons; the window can be moved, not resized")
            g.check("minimum size: 500 by %d" % heights[-1] in hints and "maximum size: 500 by %d" % heights[-1] in hints,
                    "not resizable")
        g.check(d.size["WIDTH"] == 500, "%d line(s): the window is 500 wide" % lines)
        g.key(d.id, "Escape")
        d.result()
    # Pango's line height has a fraction; the measured height is rounded up as a
    # whole, so a line adds its height give or take a pixel.
    line = heights[0] - 96
    g.check(line > 8 and all(abs(heights[i + 1] - heights[i] - line) <= 1 for i in range(2)),
            "inner height is H + 96, H the measured message (heights %s)" % heights)
    d = Dialog("--message", " ".join(["word"] * 120))
    g.check(g.geometry(d.window())["WIDTH"] == 500 and d.size["HEIGHT"] - 96 >= 3 * line,
            "a long paragraph wraps to the width")
    g.key(d.id, "Escape")
    d.result()

    # At 144 DPI the layout is 1.5 times as large; the pixel height of the
    # message is turned back into units before it enters the layout.
    g.set_dpi(144)
    try:
        d = Dialog("--message", "\r".join([LINE] * 3))
        size = g.geometry(d.window())
        g.screenshot("input-dialog-144dpi", d.id)
        g.check(size["WIDTH"] == 750, "750 wide at 144 DPI")
        g.check(1.3 * (heights[2] - 96) <= size["HEIGHT"] - 144 <= 1.7 * (heights[2] - 96),
                "the message part scales with the font, the rest by 1.5 (%d)" % size["HEIGHT"])
        ok = (size["WIDTH"] - 246 + 52, size["HEIGHT"] - 54 + 18)  # OK at (W - 164, H + 60) x 1.5, 105 x 36
        d.click(*ok)
        g.check(d.result() == "", "OK is where the scaled layout puts it")
    finally:
        g.set_dpi(96)

    # An owner: the program's window in the foreground. It takes no input while
    # the dialog is open, is enabled again afterwards, and the dialog is centred
    # over it.
    for finish in ("Return", "close"):
        d = Dialog("--owner", "--default", "x")
        line_out = d.proc.stdout.readline()
        g.check(line_out.strip() == "OWNER READY", "the owner window is open")
        owner = g.wait_window("input-dialog-owner", d.proc.pid)
        g.xdotool("windowmove", "--sync", owner, "100", "80")
        g.xdotool("windowfocus", "--sync", owner)
        d.proc.stdin.write("go\n")
        d.proc.stdin.flush()
        dialog = d.window()
        g.check(d.size["X"] == 100 + (800 - 500) // 2 and d.size["Y"] == 80 + (600 - d.size["HEIGHT"]) // 2,
                "centred over the owner")
        g.check("WM_TRANSIENT_FOR(WINDOW): window id # " + hex(int(owner)) in xprop(dialog), "owned by the window")
        if finish == "Return":
            g.key(dialog, "Return")
        else:
            g.close(dialog)
        out, _ = d.proc.communicate(timeout=30)
        g.check(out.splitlines()[:2] == ["OWNER SENSITIVE 0", "OWNER SENSITIVE 1"],
                "the owner is disabled while the dialog is open and enabled after %s" % finish)

    # The entry holds up to 1,048,576 characters, far past GTK's own limit.
    d = Dialog("--default-length", str(1048576 + 10))
    g.key(d.window(), "End", "y", "Return")
    text = d.result()
    g.check(len(text) == 1048576 and set(text) == {"x"}, "a longer text is cut to 1,048,576 characters")
finally:
    # A failed check leaves no dialog open for the tests after this one.
    for proc in STARTED:
        if proc.poll() is None:
            proc.kill()
            proc.wait()
