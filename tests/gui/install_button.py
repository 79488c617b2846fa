"""The install buttons in the real program: a setup signed by the maker is
downloaded, checked and started; an unsigned one shows "errSig" and starts
nothing; the page's busy overlay goes away once the handler has replied."""
import json
import os
import stat
import time
import urllib.parse

import guitest as g

folder = g.temp_folder("install")
drive = g.drive_c(folder)
tb = os.path.join(drive, "Program Files", "Mozilla Thunderbird")
os.makedirs(tb)
with open(os.path.join(tb, "thunderbird.exe"), "wb") as f:
    f.write(b"MZ thunderbird")
office = os.path.join(drive, "Program Files", "Microsoft Office", "root", "Office16")
os.makedirs(office)
with open(os.path.join(office, "outlook.exe"), "wb") as f:
    f.write(b"MZ outlook")
tmp = os.path.join(folder, "tmp")
os.makedirs(tmp)
recorder = os.path.join(folder, "recorder")
os.makedirs(recorder)
calls = os.path.join(folder, "started.txt")
for name in ("xdg-open", "gio"):
    path = os.path.join(recorder, name)
    with open(path, "w") as f:
        f.write("#!/bin/sh\nprintf '%%s\\n' \"$*\" >> '%s'\n" % calls)
    os.chmod(path, 0o755)
signing = os.path.join(g.BUILD, "fixtures", "signing")
for source, target in (("maker-signed.exe", "tb-setup.exe"), ("unsigned.exe", "ol-setup.exe")):
    with open(os.path.join(signing, source), "rb") as f, open(os.path.join(folder, target), "wb") as out:
        out.write(f.read())
server = g.HttpServer(folder)

# Reports the buttons and whether the overlay is there, every 300 ms.
REPORTER = ('<img src="data:," style="display:none" onerror="setInterval(function(){'
            "var b=[].map.call(document.querySelectorAll('.entry a'),function(a){var r=a.getBoundingClientRect();"
            "return [a.textContent,a.parentNode.querySelector('.entryTitle').textContent,r.left+r.width/2,r.top+r.height/2]});"
            "(new Image()).src='%s?'+encodeURIComponent(JSON.stringify({buttons:b,"
            "overlay:!!document.getElementById('fullPageOverlay'),t:Date.now()}));"
            '},300)">') % server.url("/report")
products = {
    "TBAddIn": {"name": "Thunderbird add-in" + REPORTER,
                "windows": {"description": {"EN": "signed"}, "64": [{"url": server.url("/file/tb-setup.exe")}]}},
    "OLClassicAddIn": {"name": "Outlook add-in",
                   "windows": {"description": {"EN": "unsigned"}, "64": [{"url": server.url("/file/ol-setup.exe")}]}},
}
with open(os.path.join(folder, "update.json"), "w") as f:
    json.dump(products, f)


def latest_report():
    reports = [r["path"] for r in g.requests(server) if r["path"].startswith("/report?")]
    return json.loads(urllib.parse.unquote(reports[-1].split("?", 1)[1])) if reports else None


def wait_report(condition, timeout=30):
    deadline = time.time() + timeout
    while time.time() < deadline:
        report = latest_report()
        if report and condition(report):
            return report
        time.sleep(0.2)
    g.fail("the page did not report the expected state")


def click(window, button):
    origin = g.geometry(window)
    g.xdotool("mousemove", str(origin["X"] + int(button[2])), str(origin["Y"] + int(button[3])))
    g.xdotool("click", "1")


def started():
    return open(calls).read().splitlines() if os.path.exists(calls) else []


try:
    env = {"TMPDIR": tmp, "AUTHENTICODE_TRUST_FILE": os.path.join(signing, "trust.pem"),
           "PATH": recorder + ":" + os.environ["PATH"]}
    proc = g.start_program(server.url("/file/update.json"), drive, env=env)
    window = g.wait_window("quillbox setup selector", proc.pid)
    report = wait_report(lambda r: len(r["buttons"]) == 2)
    signed = [b for b in report["buttons"] if b[1].startswith("Thunderbird")][0]
    unsigned = [b for b in report["buttons"] if b[1].startswith("Outlook")][0]

    click(window, signed)
    deadline = time.time() + 30
    while time.time() < deadline and not started():
        time.sleep(0.2)
    g.check(started() == [os.path.join(tmp, "tb-setup.exe")], "the signed setup was downloaded and started")
    boxes = g.windows(g.BOX_TITLE, proc.pid)
    g.check(boxes == [], "no message for a valid setup")
    g.check(wait_report(lambda r: not r["overlay"]) is not None, "the overlay is gone after the reply")
    click(window, unsigned)
    box = g.wait_window(g.BOX_TITLE, proc.pid)
    g.screenshot("install-unsigned-errsig")
    g.check(wait_report(lambda r: r["overlay"], 10)["overlay"], "the page is busy while the box is open")
    g.key(box, "Return")
    g.check(g.wait_gone(box), "OK closes the box")
    g.check(wait_report(lambda r: not r["overlay"])["overlay"] is False, "the overlay is gone after the reply")
    g.check(os.path.exists(os.path.join(tmp, "ol-setup.exe")), "the rejected download stays in the temporary folder")
    time.sleep(1)
    g.check(started() == [os.path.join(tmp, "tb-setup.exe")], "the unsigned setup was never started")
    g.close(window)
    g.check(g.wait_exit(proc) == 0, "closed with exit code 0")
finally:
    server.stop()
    g.cleanup(folder)
