"""A drive without the web view runtime: the real program asks "needWebView";
Yes runs the installer it carries (our stand-in, which creates the runtime
folder under the program's drive C:) and deletes it, No installs nothing,
and in both cases the program goes on to its main window. The shipped
program's stand-in finds drive C: beside the program."""
import json
import os
import shutil
import subprocess

import guitest as g

RUNTIME = os.path.join("Program Files (x86)", "Microsoft", "EdgeWebView", "Application")
INSTALLER = "MicrosoftEdgeWebview2Setup.exe"

folder = g.temp_folder("runtime")
with open(os.path.join(folder, "update.json"), "w") as f:
    json.dump({"quillbox": {"name": "quillbox", "windows": {"description": {"EN": "Standalone"}}}}, f)
server = g.HttpServer(folder)
try:
    for answer in ("Yes", "No"):
        case = os.path.join(folder, answer)
        drive = g.drive_c(case, runtime=False)
        tmp = os.path.join(case, "tmp")
        os.makedirs(tmp)
        proc = g.start_program(server.url("/file/update.json"), drive, env={"TMPDIR": tmp})
        box = g.wait_window(g.BOX_TITLE, proc.pid)
        if answer == "Yes":
            g.screenshot("need-webview-box", box)
            g.key(box, "Return")  # Yes has the focus
        else:
            g.key(box, "alt+n")
        window = g.wait_window("quillbox setup selector", proc.pid, timeout=60)
        g.check(len(g.windows(pid=proc.pid)) == 1, "%s: the flow goes on to the main window" % answer)
        installed = os.path.isdir(os.path.join(drive, RUNTIME))
        g.check(installed == (answer == "Yes"), "%s: the runtime folder %s" % (answer, "was made" if installed else "was not made"))
        g.check(INSTALLER not in os.listdir(tmp), "%s: no installer left in the temporary folder" % answer)
        g.close(window)
        g.check(g.wait_exit(proc) == 0, "%s: closed with exit code 0" % answer)

    # The shipped program, copied to a folder of its own with no drive_c
    # beside it: its stand-in makes the runtime folder beside the copy. Its
    # update list cannot be reached from here; No to that ends it.
    copy = os.path.join(folder, "shipped")
    os.makedirs(copy)
    shutil.copy(os.path.join(g.BUILD, "quillbox"), copy)
    tmp = os.path.join(copy, "tmp")
    os.makedirs(tmp)
    env = dict(os.environ, TMPDIR=tmp)
    proc = subprocess.Popen([os.path.join(copy, "quillbox")], env=env)
    box = g.wait_window(g.BOX_TITLE, proc.pid)
    g.key(box, "Return")
    g.check(g.wait_gone(box), "the question is answered")
    box = g.wait_window(g.BOX_TITLE, proc.pid, timeout=90)
    g.check(os.path.isdir(os.path.join(copy, "drive_c", RUNTIME)), "the shipped stand-in made drive_c beside the program")
    g.check(INSTALLER not in os.listdir(tmp), "and its installer is gone")
    g.key(box, "Tab", "Return")
    g.check(g.wait_exit(proc) == 0, "No to the update list question ends it with exit code 0")
finally:
    server.stop()
    g.cleanup(folder)
