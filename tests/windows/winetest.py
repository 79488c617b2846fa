"""Helpers of the tests that run the Windows build under Wine: the programs
started in the prefix that tools/windows_check.sh prepared, windows found
and driven with xdotool, the probe's view of the windows, and the test
servers and proxies on 127.0.0.1."""
import atexit
import json
import os
import signal
import shutil
import socket
import subprocess
import sys
import tempfile
import time

BUILD = os.environ.get("QUILLBOX_WINDOWS_BUILD", os.path.abspath("."))
SOURCE = os.environ.get("QUILLBOX_SOURCE", os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..")))
TESTS = os.path.join(BUILD, "tests")
PREFIX = os.environ.get("WINEPREFIX", "")
SCREENSHOTS = os.path.join(BUILD, "screenshots")
BOX_TITLE = "quillbox Setup Selection Tool"


def fail(message):
    print("FAIL: " + message, flush=True)
    sys.exit(1)


def check(condition, message):
    if not condition:
        fail(message)
    print("ok: " + message, flush=True)


def windows_path(path):
    """A Linux path as the Windows programs see it, on Wine's drive Z:."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def drive_c(*parts):
    return os.path.join(PREFIX, "drive_c", *parts)


def program_env(extra=None):
    env = dict(os.environ)
    for key in ("http_proxy", "https_proxy", "all_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY", "no_proxy"):
        env.pop(key, None)
    env.setdefault("LC_ALL", "en_US.UTF-8")
    env.update(extra or {})
    return env


class Program:
    """A Windows program started through wine. Its standard output goes to a
    file, never to a pipe: Wine's background processes would keep a pipe
    open after the program has ended."""

    def __init__(self, exe, args=(), env=None):
        self.out = tempfile.TemporaryFile()
        self.proc = subprocess.Popen(["wine", exe, *args], stdout=self.out, stderr=subprocess.DEVNULL,
                                     stdin=subprocess.DEVNULL, env=program_env(env))

    def wait(self, timeout=60.0):
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            fail("the program did not end")

    def output(self):
        self.out.seek(0)
        return self.out.read().decode("utf-8", "replace")

    def result(self, timeout=60.0):
        """The JSON that a driver printed as its last line, once it has ended."""
        code = self.wait(timeout)
        lines = [l for l in self.output().splitlines() if l.strip()]
        if code != 0 or not lines:
            fail("the driver ended with %d and printed %r" % (code, self.output()))
        return json.loads(lines[-1])


def end_our_programs():
    """Ends the Windows programs of this build that are still running: a test
    that failed leaves its program waiting in a dialog. Wine starts them
    detached from the process that asked, so they are found by the build
    folder in their command line (in Linux or in Windows form), and by the
    program name that Wine gives them, which ends in ".exe"."""
    marks = (BUILD.encode(), windows_path(BUILD).encode())
    ended = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) == os.getpid():
            continue
        try:
            with open("/proc/%s/cmdline" % entry, "rb") as f:
                command = f.read()
        except OSError:
            continue
        program = command.split(b"\0", 1)[0].split(b" ", 1)[0].lower()
        if program.endswith(b".exe") and any(m in command for m in marks):
            try:
                os.kill(int(entry), signal.SIGKILL)
                ended.append(entry)
            except OSError:
                pass
    # Their windows go once Wine's server has seen them end.
    def alive(pid):
        try:
            with open("/proc/%s/stat" % pid) as f:
                return f.read().rsplit(")", 1)[1].split()[0] != "Z"
        except OSError:
            return False

    killed = bool(ended)
    deadline = time.time() + 10
    while ended and time.time() < deadline:
        ended = [pid for pid in ended if alive(pid)]
        time.sleep(0.05)
    if killed:
        time.sleep(0.5)


end_our_programs()
atexit.register(end_our_programs)


def run(exe, args=(), env=None, timeout=120.0):
    program = Program(exe, args, env)
    code = program.wait(timeout)
    return code, program.output()


def probe():
    """Every visible top-level window of the desktop, as the probe sees them."""
    code, out = run(os.path.join(TESTS, "quillbox-test-probe.exe"), timeout=60)
    if code != 0:
        fail("the probe failed: %r" % out)
    return json.loads(out.strip().splitlines()[-1])


def find(report, title=None, cls=None):
    for w in report["windows"]:
        if (title is None or w["title"] == title) and (cls is None or w["class"] == cls):
            return w
    return None


def wait_probe(title=None, cls=None, timeout=60.0):
    """Waits for a window with the title or class; returns the window and the
    whole report."""
    deadline = time.time() + timeout
    while time.time() < deadline:
        report = probe()
        found = find(report, title, cls)
        if found:
            return found, report
        time.sleep(0.2)
    fail("no window %r appeared" % (title or cls))


def child(window, cls, text=None):
    for c in window["children"]:
        if c["class"].lower() == cls.lower() and (text is None or c["text"] == text):
            return c
    return None


def xdotool(*args, check_result=True):
    result = subprocess.run(["xdotool", *args], capture_output=True, text=True)
    if check_result and result.returncode != 0:
        fail("xdotool %s: %s" % (" ".join(args), result.stderr.strip()))
    return result.stdout.strip()


def x_window(title, timeout=60.0):
    """The X window that Wine made for the window with this title."""
    deadline = time.time() + timeout
    while time.time() < deadline:
        found = [w for w in xdotool("search", "--onlyvisible", "--name", "^%s$" % title,
                                    check_result=False).split() if w]
        if found:
            return max(found, key=int)  # the newest, should an old one still be mapped
        time.sleep(0.1)
    fail("no X window named %r appeared" % title)


def wait_x_gone(window, timeout=30.0):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if window not in xdotool("search", "--onlyvisible", "--name", ".", check_result=False).split():
            return True
        time.sleep(0.1)
    return False


def activate(window):
    """Makes a Wine window the active one, as a click on its title bar does:
    a window that Wine opened without activating it (a second message box
    right after a first) takes no keys before. Keys reach a Wine window only
    once it really has the X focus, too."""
    xdotool("mousemove", "--window", window, "60", "6")
    xdotool("click", "1")
    xdotool("windowfocus", "--sync", window, check_result=False)


def key(window, *keys):
    activate(window)
    xdotool("key", "--clearmodifiers", *keys)


def type_text(window, text):
    activate(window)
    xdotool("type", "--clearmodifiers", "--delay", "30", text)


def press_without_click(window, x, y):
    """Mouse down on a point of the window and up elsewhere: a button takes
    the focus that way without being clicked."""
    xdotool("mousemove", "--window", window, str(x), str(y))
    xdotool("mousedown", "1")
    xdotool("mousemove", "--window", window, "1", "1")
    xdotool("mouseup", "1")


def screenshot(name, window="root"):
    os.makedirs(SCREENSHOTS, exist_ok=True)
    path = os.path.join(SCREENSHOTS, name + ".png")
    subprocess.run(["import", "-window", window, path], check=False, capture_output=True)
    return path


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_port(port, timeout=15.0):
    deadline = time.time() + timeout
    while time.time() < deadline:
        with socket.socket() as s:
            if s.connect_ex(("127.0.0.1", port)) == 0:
                return True
        time.sleep(0.05)
    return False


class Servers:
    """Our HTTP test server (and one over TLS with a self-made certificate),
    tinyproxy and microsocks, all on 127.0.0.1 for the life of the object."""

    def __init__(self, folder, proxies=True, tls=True):
        self.root = os.path.join(folder, "root")
        os.makedirs(self.root, exist_ok=True)
        self.procs = []
        self.http = self._server([])
        self.tls = None
        if tls:
            cert = os.path.join(folder, "server.pem")
            made = subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                                   "-subj", "/CN=127.0.0.1", "-keyout", cert, "-out", cert + ".crt"],
                                  capture_output=True)
            if made.returncode == 0:
                with open(cert, "a") as pem, open(cert + ".crt") as crt:
                    pem.write(crt.read())
                self.tls = self._server(["--tls-cert", cert])
        self.http_proxy = self.socks_proxy = None
        if proxies and shutil.which("tinyproxy") and shutil.which("microsocks"):
            port = free_port()
            config = os.path.join(folder, "tinyproxy.conf")
            with open(config, "w") as f:
                f.write("Port %d\nListen 127.0.0.1\nTimeout 60\nMaxClients 20\nAllow 127.0.0.1\n"
                        "ViaProxyName \"tinyproxy\"\nConnectPort 443\nConnectPort 0\n" % port)
            self.procs.append(subprocess.Popen(["timeout", "900", "tinyproxy", "-d", "-c", config],
                                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
            if wait_port(port):
                self.http_proxy = "http://127.0.0.1:%d" % port
            port = free_port()
            self.procs.append(subprocess.Popen(["timeout", "900", "microsocks", "-i", "127.0.0.1", "-p", str(port)],
                                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
            if wait_port(port):
                self.socks_proxy = "socks5://127.0.0.1:%d" % port

    def _server(self, extra):
        proc = subprocess.Popen([sys.executable, os.path.join(SOURCE, "tools", "testserver.py"), "--root", self.root,
                                 *extra], stdout=subprocess.PIPE, text=True)
        self.procs.append(proc)
        port = int(proc.stdout.readline().split()[1])
        return ("https" if extra else "http") + "://127.0.0.1:%d" % port

    def requests(self):
        import urllib.request
        return json.loads(urllib.request.urlopen(self.http + "/_requests").read())

    def stop(self):
        for proc in self.procs:
            proc.terminate()
        for proc in self.procs:
            try:
                proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                proc.kill()


def temp_folder(name):
    base = os.path.join(BUILD, "test-area")
    os.makedirs(base, exist_ok=True)
    return tempfile.mkdtemp(prefix=name + "-", dir=base)
