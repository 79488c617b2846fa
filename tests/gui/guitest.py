"""Helpers for tests of the real program under an X server: our HTTP test
server, the program started with its test settings, windows found and driven
with xdotool, and screenshots for a person to look at."""
import os
import shutil
import subprocess
import sys
import tempfile
import time

BUILD = os.environ.get("QUILLBOX_BUILD", os.path.abspath("build"))
SOURCE = os.environ.get("QUILLBOX_SOURCE", os.path.abspath("."))
SCREENSHOTS = os.path.join(BUILD, "screenshots")
BOX_TITLE = "quillbox Setup Selection Tool"


def fail(message):
    print("FAIL: " + message, flush=True)
    sys.exit(1)


def check(condition, message):
    if not condition:
        fail(message)
    print("ok: " + message, flush=True)


class HttpServer:
    def __init__(self, root):
        self.proc = subprocess.Popen(
            [sys.executable, os.path.join(SOURCE, "tools", "testserver.py"), "--root", root],
            stdout=subprocess.PIPE, text=True)
        line = self.proc.stdout.readline()
        self.port = int(line.split()[1])

    def url(self, path):
        return "http://127.0.0.1:%d%s" % (self.port, path)

    def stop(self):
        self.proc.terminate()
        self.proc.wait(timeout=10)


class TinyProxy:
    """The real tinyproxy on a free loopback port, logging every request it
    forwards; it ends by itself after ten minutes at the latest."""

    def __init__(self, folder):
        import socket
        with socket.socket() as s:
            s.bind(("127.0.0.1", 0))
            self.port = s.getsockname()[1]
        self.log_path = os.path.join(folder, "tinyproxy.log")
        config = os.path.join(folder, "tinyproxy.conf")
        with open(config, "w") as f:
            f.write("Port %d\nListen 127.0.0.1\nTimeout 60\nMaxClients 20\nLogLevel Connect\n"
                    "LogFile \"%s\"\nAllow 127.0.0.1\nViaProxyName \"tinyproxy\"\n" % (self.port, self.log_path))
        self.proc = subprocess.Popen(["timeout", "600", "tinyproxy", "-d", "-c", config],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.time() + 10
        while time.time() < deadline:
            with socket.socket() as s:
                if s.connect_ex(("127.0.0.1", self.port)) == 0:
                    return
            time.sleep(0.05)
        fail("tinyproxy did not start")

    def log(self):
        with open(self.log_path, errors="replace") as f:
            return f.read()

    def stop(self):
        self.proc.terminate()
        self.proc.wait(timeout=10)


def temp_folder(name):
    base = os.path.join(BUILD, "test-area")
    os.makedirs(base, exist_ok=True)
    return tempfile.mkdtemp(prefix=name + "-", dir=base)


def drive_c(folder, runtime=True):
    """A folder that stands for drive C:, with the web view runtime folder
    unless a test is about its absence."""
    drive = os.path.join(folder, "drive_c")
    os.makedirs(drive, exist_ok=True)
    if runtime:
        os.makedirs(os.path.join(drive, "Program Files (x86)", "Microsoft", "EdgeWebView", "Application"),
                    exist_ok=True)
    return drive


def start_program(url, drive, program="quillbox-test", env=None, args=()):
    full_env = dict(os.environ)
    full_env["QUILLBOX_TEST_UPDATE_LIST_URL"] = url
    full_env["QUILLBOX_TEST_DRIVE_C"] = drive
    full_env.setdefault("LANG", "en_US.UTF-8")
    full_env.pop("LC_ALL", None)
    for key in ("http_proxy", "https_proxy", "all_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY"):
        full_env.pop(key, None)
    full_env.update(env or {})
    return subprocess.Popen([os.path.join(BUILD, program), *args], env=full_env)


def xdotool(*args, check_result=True):
    result = subprocess.run(["xdotool", *args], capture_output=True, text=True)
    if check_result and result.returncode != 0:
        fail("xdotool %s: %s" % (" ".join(args), result.stderr.strip()))
    return result.stdout.strip()


def windows(name=None, pid=None):
    args = ["search", "--all", "--onlyvisible"]
    if pid is not None:
        args += ["--pid", str(pid)]
    args += ["--name", "^%s$" % name if name else "."]
    out = xdotool(*args, check_result=False)
    return [w for w in out.split() if w]


def wait_window(name, pid=None, timeout=30.0):
    deadline = time.time() + timeout
    while time.time() < deadline:
        found = windows(name, pid)
        if found:
            time.sleep(0.5)  # let it draw
            return found[-1]
        time.sleep(0.1)
    fail("no window named %r appeared" % name)


def wait_gone(window, timeout=15.0):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if window not in windows():
            return True
        time.sleep(0.1)
    return False


def geometry(window):
    out = xdotool("getwindowgeometry", "--shell", window)
    values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    return {k: int(v) for k, v in values.items() if v.lstrip("-").isdigit()}


def close(window):
    """The close button of the title bar, as a window manager sends it."""
    subprocess.run([os.path.join(BUILD, "tools", "wm-close"), window], check=False)


def key(window, *keys):
    xdotool("windowfocus", "--sync", window, check_result=False)
    xdotool("key", "--clearmodifiers", *keys)


def type_text(window, text):
    xdotool("windowfocus", "--sync", window, check_result=False)
    xdotool("type", "--clearmodifiers", "--delay", "20", text)


def screenshot(name, window="root", settle=1.0):
    time.sleep(settle)  # let the engine paint what the page reported
    os.makedirs(SCREENSHOTS, exist_ok=True)
    path = os.path.join(SCREENSHOTS, name + ".png")
    subprocess.run(["import", "-window", window, path], check=False, capture_output=True)
    return path


def wait_exit(proc, timeout=30.0):
    try:
        return proc.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        proc.kill()
        fail("the program did not end")


def cleanup(folder):
    shutil.rmtree(folder, ignore_errors=True)


def content_size(path):
    """Width and height of what is not the black root window in a screenshot:
    the client area, measured from the content (bare Xvfb draws no frames)."""
    out = subprocess.run(["convert", path, "-bordercolor", "black", "-border", "1", "-fuzz", "2%", "-trim",
                          "-format", "%w %h", "info:"], capture_output=True, text=True).stdout.split()
    return int(out[0]), int(out[1])


def requests(server):
    import json
    import urllib.request
    return json.loads(urllib.request.urlopen(server.url("/_requests")).read())


def wait_request(server, prefix, timeout=30.0):
    deadline = time.time() + timeout
    while time.time() < deadline:
        for r in requests(server):
            if r["path"].startswith(prefix):
                return r["path"]
        time.sleep(0.2)
    fail("no request for %s arrived" % prefix)


def set_dpi(dpi):
    subprocess.run(["xrdb", "-nocpp", "-merge"], input="Xft.dpi: %d\n" % dpi, text=True, check=False)


# A script for a product name (rendered as HTML): once the entries exist it
# reports the page's two sections to the test server.
REPORTER = ('<img src="data:," style="display:none" onerror="setTimeout(function(){'
            "var r=[].map.call(document.querySelectorAll('#recommended .entry'),function(e){return e.className+'|'+e.querySelector('.entryTitle').textContent});"
            "var o=[].map.call(document.querySelectorAll('#other .entry'),function(e){return e.className+'|'+e.querySelector('.entryTitle').textContent});"
            "(new Image()).src='%s?'+encodeURIComponent(JSON.stringify({recommended:r,other:o,title:document.querySelector('h1').textContent}));"
            '},500)">')
