"""Start-up of the real program under Xvfb, from process start until its
list is rendered, beside a bare page in the same web view library. Measured
from outside: the moment our server sees the list request, and the report a
script in the list's product name sends once the entries exist."""
import json
import os
import statistics
import subprocess
import sys
import time
import urllib.request

build, source = sys.argv[1], sys.argv[2]
folder = os.path.join(build, "bench", "startup")
drive = os.path.join(folder, "drive_c")
os.makedirs(os.path.join(drive, "Program Files (x86)", "Microsoft", "EdgeWebView", "Application"), exist_ok=True)
server = subprocess.Popen([sys.executable, os.path.join(source, "tools", "testserver.py"), "--root", folder],
                          stdout=subprocess.PIPE, text=True)
port = int(server.stdout.readline().split()[1])
url = "http://127.0.0.1:%d" % port
with open(os.path.join(source, "tools", "demo", "update.json")) as f:
    products = json.load(f)
products["quillbox"]["name"] += ('<img src="data:," style="display:none" onerror="(new Image()).src=\'%s/report-list\'">'
                                 % url)
with open(os.path.join(folder, "update.json"), "w") as f:
    json.dump(products, f)


def requests():
    return json.loads(urllib.request.urlopen(url + "/_requests").read())


def run(argv, env, marker):
    """Seconds from the start until the list request and until the marker."""
    before = len(requests())
    start = time.time()
    proc = subprocess.Popen(argv, env=env, stderr=subprocess.DEVNULL)
    found = {}
    deadline = start + 60
    while time.time() < deadline and marker not in found:
        for r in requests()[before:]:
            for key in ("/file/update.json", marker):
                if r["path"].startswith(key) and key not in found:
                    found[key] = r["time"] - start
        time.sleep(0.01)
    proc.terminate()
    proc.wait()
    return found.get("/file/update.json", float("nan")), found.get(marker, float("nan"))


env = dict(os.environ, QUILLBOX_TEST_UPDATE_LIST_URL=url + "/file/update.json", QUILLBOX_TEST_DRIVE_C=drive,
           GTK_A11Y="none")
listed, shown, bare = [], [], []
for _ in range(5):
    asked, rendered = run([os.path.join(build, "quillbox-test")], env, "/report-list")
    listed.append(asked)
    shown.append(rendered)
    bare.append(run([os.path.join(build, "bare_page"), url + "/report-bare"], env, "/report-bare")[1])
server.terminate()


def line(what, ours, reference, unit):
    print("| %-34s | %-22s %10.3f | %-22s %10.3f | %6.2f | %s" % (what, "s", ours, "bare page s", reference,
                                                                  ours / reference, unit))


line("start-up until the list request", statistics.median(listed), statistics.median(bare), "before the window")
line("start-up until the list shows", statistics.median(shown), statistics.median(bare), "time to the page")
