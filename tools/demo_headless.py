"""Runs the demo program under Xvfb, saves a screenshot of what it shows and
closes it, so that `make demo` ends by itself without a display."""
import os
import subprocess
import sys
import time

build = sys.argv[1]
shot = os.path.join(build, "demo-screenshot.png")
proc = subprocess.Popen([os.path.join(build, "quillbox-demo")])


def visible_windows():
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(proc.pid), "--name", "."],
                         capture_output=True, text=True).stdout
    return out.split()


deadline = time.time() + 60
shown = []
while time.time() < deadline and proc.poll() is None:
    shown = visible_windows()
    if shown:
        break
    time.sleep(0.2)
if shown:
    time.sleep(4)  # let the page render
    subprocess.run(["import", "-window", "root", shot], check=False)
    print("demo: screenshot saved to " + shot)
    for window in visible_windows():
        subprocess.run([os.path.join(build, "tools", "wm-close"), window], check=False)
try:
    code = proc.wait(timeout=30)
except subprocess.TimeoutExpired:
    proc.terminate()
    code = proc.wait()
if not shown:
    print("demo: the update list was accepted; the program ended without a window")
print("demo: the program ended with exit code %d" % code)
