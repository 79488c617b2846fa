"""The update list loop as a user meets it: the real GTK message boxes of the
program, answered with the keyboard; No ends the program with exit code 0
before any other window is shown."""
import os

import guitest as g

folder = g.temp_folder("boxes")
drive = g.drive_c(folder)
server = g.HttpServer(folder)
try:
    # The test flavour against an error page: "errUpdateValid", Yes, the
    # proxy prompt cancelled, a second box, No.
    proc = g.start_program(server.url("/status/404"), drive)
    box = g.wait_window(g.BOX_TITLE, proc.pid)
    g.screenshot("update-list-error-box", box)
    size = g.geometry(box)
    g.check(size["WIDTH"] > 200 and size["HEIGHT"] > 80, "the message box has a readable size")
    g.key(box, "Return")  # Yes has the focus
    g.check(g.wait_gone(box), "Yes closes the box")
    dialog = g.wait_window("   Enter proxy server", proc.pid)
    g.key(dialog, "Escape")
    g.check(g.wait_gone(dialog), "Yes opens the proxy dialog; Escape cancels it")
    box = g.wait_window(g.BOX_TITLE, proc.pid)
    g.check(len(g.windows(pid=proc.pid)) == 1, "the list is fetched again and asked about again")
    g.key(box, "alt+n")
    g.check(g.wait_exit(proc) == 0, "No ends the program with exit code 0")

    requests = __import__("json").loads(__import__("urllib.request").request.urlopen(
        server.url("/_requests")).read())
    g.check(sum(r["path"] == "/status/404" for r in requests) == 2, "each attempt fetched the list anew")

    # The close button of a Yes/No box counts as No.
    proc = g.start_program(server.url("/empty"), drive)
    box = g.wait_window(g.BOX_TITLE, proc.pid)
    g.close(box)
    g.check(g.wait_exit(proc) == 0, "closing the box ends the program with exit code 0")

    # Where no box can be shown (no display) the answer counts as No.
    proc = g.start_program(server.url("/empty"), drive, env={"DISPLAY": "", "WAYLAND_DISPLAY": ""})
    g.check(g.wait_exit(proc) == 0, "without a display the program ends with exit code 0")

    # The shipped program, as built: its update list cannot be reached from
    # here, so it asks "errUpdateJson"; No ends it.
    # Its drive C: is drive_c beside it; the runtime is there, so the only
    # question is about the list.
    os.makedirs(os.path.join(g.BUILD, "drive_c", "Program Files (x86)", "Microsoft", "EdgeWebView", "Application"),
                exist_ok=True)
    env = dict(os.environ)
    proc = g.subprocess.Popen([os.path.join(g.BUILD, "quillbox"), "--any", "argument"], env=env)
    box = g.wait_window(g.BOX_TITLE, proc.pid, timeout=90)
    g.screenshot("shipped-program-error-box", box)
    g.key(box, "Tab", "Return")
    g.check(g.wait_exit(proc) == 0, "the shipped program ends with exit code 0 after No")
finally:
    server.stop()
    g.cleanup(folder)
