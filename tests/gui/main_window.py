"""The real program shows the page in its main window: title, client size at
96 and 144 DPI, the detectors answering for a fixture drive, the close button
ending the process with exit code 0; and an empty window that still closes
when the web view library cannot be loaded."""
import json
import os
import shutil
import urllib.parse

import guitest as g

folder = g.temp_folder("window")
drive = g.drive_c(folder)
office = os.path.join(drive, "Program Files", "Microsoft Office", "root", "Office16")
os.makedirs(office)
with open(os.path.join(office, "outlook.exe"), "wb") as f:
    f.write(b"MZ" + b"\0" * 100)
server = g.HttpServer(folder)


def write_list(name):
    products = {
        "quillbox": {"name": "quillbox" + g.REPORTER % server.url("/report"),
                     "windows": {"description": {"EN": "Standalone"},
                                 "64": [{"url": server.url("/file/setup-x64.exe")}]}},
        "OLClassicAddIn": {"name": "Outlook add-in",
                           "windows": {"description": {"EN": "For Outlook classic"},
                                       "32": [{"url": server.url("/file/ol-x86.exe")}],
                                       "64": [{"url": server.url("/file/ol-x64.exe")}]}},
        "TBAddIn": {"name": "Thunderbird add-in",
                    "windows": {"description": {"EN": "For Thunderbird"},
                                "64": [{"url": server.url("/file/tb.exe")}]}},
    }
    with open(os.path.join(folder, name), "w") as f:
        json.dump(products, f)
    return server.url("/file/" + name)


try:
    url = write_list("update.json")
    proc = g.start_program(url, drive)
    window = g.wait_window("quillbox setup selector", proc.pid)
    report = json.loads(urllib.parse.unquote(g.wait_request(server, "/report?").split("?", 1)[1]))
    shot = g.screenshot("main-window-en")
    g.check(g.content_size(shot) == (800, 600), "the client area is 800 x 600 at 96 DPI")
    g.check(report["title"].startswith("quillbox Setup Selection"), "the page is shown and translated")
    g.check(report["recommended"] == ["entry recommended|Outlook add-in"],
            "the add-in for the Outlook classic on the fixture drive is recommended")
    g.check(report["other"] == ["entry |quillbox", "entry |Thunderbird add-in"],
            "the other entries are listed apart, in their order")
    detector_calls = [r for r in g.requests(server) if r["path"].startswith("/report")]
    g.check(len(detector_calls) == 1, "the list was built once")
    g.close(window)
    g.check(g.wait_exit(proc) == 0, "the close button ends the program with exit code 0")

    # German locale, 144 DPI: everything scaled by 1.5.
    g.set_dpi(144)
    try:
        proc = g.start_program(url, drive, env={"LANG": "de_DE.UTF-8"})
        window = g.wait_window("quillbox Setup-Auswahl", proc.pid)
        g.wait_request(server, "/report?")
        shot = g.screenshot("main-window-de-144dpi")
        g.check(g.content_size(shot) == (1200, 900), "the client area is 1200 x 900 at 144 DPI")
        g.close(window)
        g.check(g.wait_exit(proc) == 0, "closed with exit code 0")
    finally:
        g.set_dpi(96)

    # No usable web view library beside the program: an empty window that
    # closes normally, and no message.
    for case, content in (("missing", None), ("broken", b"not a library")):
        copy = os.path.join(folder, case)
        os.makedirs(copy)
        shutil.copy(os.path.join(g.BUILD, "quillbox-test"), copy)
        if content is not None:
            with open(os.path.join(copy, "libwebview.so.0.12"), "wb") as f:
                f.write(content)
        proc = g.start_program(url, drive, program=os.path.join(copy, "quillbox-test"))
        window = g.wait_window("quillbox setup selector", proc.pid)
        g.check(len(g.windows(pid=proc.pid)) == 1, "%s library: only the main window, no message" % case)
        g.screenshot("main-window-%s-library" % case)
        g.close(window)
        g.check(g.wait_exit(proc) == 0, "%s library: the empty window closes with exit code 0" % case)
finally:
    server.stop()
    g.cleanup(folder)
