"""The proxy dialog end to end: the update list is only served through a
proxy, so the real program shows "errUpdateValid"; Yes opens the proxy
dialog, a proxy without a port is refused with "errProxy" and offered again,
the real tinyproxy's address is typed, and the list is fetched through it
before the main window opens."""
import json
import os

import guitest as g

folder = g.temp_folder("proxy")
drive = g.drive_c(folder)
with open(os.path.join(folder, "update.json"), "w") as f:
    json.dump({"quillbox": {"name": "quillbox", "windows": {"description": {"EN": "Standalone"}}}}, f)
server = g.HttpServer(folder)
proxy = g.TinyProxy(folder)
DIALOG = "   Enter proxy server"
try:
    proc = g.start_program(server.url("/via-only/update.json"), drive)
    box = g.wait_window(g.BOX_TITLE, proc.pid)
    g.check(len(g.windows(pid=proc.pid)) == 1, "a direct fetch gets the error page, and the program asks")
    g.key(box, "Return")  # Yes

    dialog = g.wait_window(DIALOG, proc.pid)
    g.check(g.geometry(dialog)["WIDTH"] == 500, "the proxy dialog opens, 500 wide")
    g.type_text(dialog, "127.0.0.1")
    g.screenshot("proxy-dialog", dialog)
    g.key(dialog, "Return")

    error = g.wait_window(g.BOX_TITLE, proc.pid)
    g.check(g.wait_gone(dialog), "a proxy without a port is refused with a message")
    g.key(error, "Return")
    dialog = g.wait_window(DIALOG, proc.pid)
    # The refused entry is the default text, the caret at its start.
    g.key(dialog, "End")
    g.type_text(dialog, ":%d" % proxy.port)
    g.key(dialog, "Return")

    window = g.wait_window("quillbox setup selector", proc.pid, timeout=60)
    g.check(window is not None, "the list fetched through the proxy opens the main window")
    fetches = [r for r in g.requests(server) if r["path"] == "/via-only/update.json"]
    g.check(len(fetches) == 2 and "Via" not in fetches[0]["headers"] and "tinyproxy" in fetches[1]["headers"].get("Via", ""),
            "the second fetch came through tinyproxy")
    g.check("/via-only/update.json" in proxy.log(), "tinyproxy logged the request")
    g.close(window)
    g.check(g.wait_exit(proc) == 0, "closing the window ends the program with exit code 0")
finally:
    proxy.stop()
    server.stop()
    g.cleanup(folder)
