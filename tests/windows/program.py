"""The whole Windows program under Wine (its test flavour, which takes the
update list location from QUILLBOX_TEST_UPDATE_LIST_URL): the web view
runtime question and the stand-in installer, the update list loop answered
No, and the main window, which stays empty wherever the web view cannot be
had (no library beside the program, one that cannot load, or the WebView2
runtime missing) and closes with exit code 0."""
import glob
import os
import shutil

import winetest as w

PROGRAM = os.path.join(w.BUILD, "quillbox-test.exe")
DRIVER = os.path.join(w.TESTS, "quillbox-test-dialogs.exe")
TITLE = "quillbox setup selector"
RUNTIME = w.drive_c("Program Files (x86)", "Microsoft", "EdgeWebView", "Application")
WS_CAPTION, WS_SYSMENU, WS_CHILD, WS_VISIBLE = 0x00C00000, 0x00080000, 0x40000000, 0x10000000
WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX, WS_EX_WINDOWEDGE = 0x00040000, 0x00020000, 0x00010000, 0x100


def runtime_present(present):
    if present:
        os.makedirs(RUNTIME, exist_ok=True)
    else:
        shutil.rmtree(os.path.dirname(os.path.dirname(RUNTIME)), ignore_errors=True)


def start(url, exe=PROGRAM, args=()):
    return w.Program(exe, args, env={"QUILLBOX_TEST_UPDATE_LIST_URL": url})


def answer_box(expected_text, keys):
    x = w.x_window(w.BOX_TITLE)
    found, report = w.wait_probe(title=w.BOX_TITLE)
    texts = [c["text"] for c in found["children"] if c["class"].lower() == "static"]
    w.check(any(expected_text in t for t in texts), "the box says %r" % expected_text)
    w.check(w.find(report, cls="QuillboxMainWindow") is None, "no main window while the box is open")
    w.key(x, *keys)
    w.check(w.wait_x_gone(x), "the box closes")


def close_main_window(program, name):
    x = w.x_window(TITLE)
    w.screenshot(name, x)
    w.key(x, "alt+F4")
    w.check(program.wait() == 0, "%s: closing the window ends the program with exit code 0" % name)


folder = w.temp_folder("program")
servers = w.Servers(folder, proxies=False, tls=False)
try:
    refused = "http://127.0.0.1:%d/update.json" % w.free_port()

    # The runtime missing: the question, Yes, our stand-in installer, which
    # makes the runtime folder and is deleted after it has run.
    runtime_present(False)
    program = start(refused)
    answer_box("quillbox requires Microsoft Edge WebView2 Runtime to work!", ["y"])
    answer_box("Unable to download or open [%s]." % refused, ["n"])
    w.check(program.wait() == 0, "No ends the program with exit code 0")
    w.check(os.path.isdir(RUNTIME), "Yes ran the installer, which made the runtime folder")
    left = glob.glob(w.drive_c("users", "*", "AppData", "Local", "Temp", "MicrosoftEdgeWebview2Setup.exe"))
    w.check(not left, "the installer was deleted after its run")

    # The runtime present: no question; arguments change nothing.
    program = start(refused, args=["--any", "argument"])
    answer_box("Unable to download or open [%s]." % refused, ["n"])
    w.check(program.wait() == 0, "with the runtime there, No on the list question ends the program with 0")

    # A list from the test server: the main window.
    shutil.copy(os.path.join(w.SOURCE, "tests", "fixtures", "update-sample.json"), servers.root)
    program = start(servers.http + "/file/update-sample.json")
    x = w.x_window(TITLE)
    found, report = w.wait_probe(title=TITLE)
    w.check(found["class"] == "QuillboxMainWindow", "the main window, titled %r" % TITLE)
    w.check(found["client"] == [800, 600], "its client area is 800 x 600 at 96 DPI")
    style = found["style"]
    w.check(style & (WS_CAPTION | WS_SYSMENU) == WS_CAPTION | WS_SYSMENU and
            not style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
            "title bar, system menu and close button only: not resizable, no minimise or maximise box")
    w.check(found["exstyle"] & ~WS_EX_WINDOWEDGE == 0, "no extended style of its own")
    left, top, right, bottom = found["window"]
    w.check((left, top) == ((report["screen"][0] - (right - left)) // 2, (report["screen"][1] - (bottom - top)) // 2),
            "centred on the screen")
    container = w.child(found, "QuillboxWebViewContainer")
    w.check(container is not None and container["rect"] == [0, 0, 800, 600] and
            container["style"] & (WS_CHILD | WS_VISIBLE) == WS_CHILD | WS_VISIBLE,
            "the web view's container covers the client area")
    if os.path.exists(os.path.join(w.BUILD, "libwebview.dll")):
        # Wine has the Visual C++ runtime the library needs, but no WebView2.
        why = "the WebView2 runtime is missing"
    else:
        why = "there is no web view library beside the 32-bit program"
    w.check(container["children"] == 0, "an empty window, since %s" % why)
    close_main_window(program, "wine-main-window-empty")

    # A library of that name that cannot be loaded: the empty window too.
    beside = os.path.join(folder, "beside")
    os.makedirs(beside)
    shutil.copy(PROGRAM, beside)
    with open(os.path.join(beside, "libwebview.dll"), "w") as f:
        f.write("not a library")
    program = start(servers.http + "/file/update-sample.json", exe=os.path.join(beside, "quillbox-test.exe"))
    found, _ = w.wait_probe(title=TITLE)
    container = w.child(found, "QuillboxWebViewContainer")
    w.check(container is not None and container["children"] == 0, "a web view library that cannot load: empty window")
    close_main_window(program, "wine-main-window-broken-library")

    # The web view library is taken from beside the program only, never
    # from the current directory.
    library = os.path.join(w.BUILD, "libwebview.dll")
    if os.path.exists(library):
        shutil.copy(library, beside)
        shutil.copy(DRIVER, beside)
        result = w.Program(os.path.join(beside, os.path.basename(DRIVER)), ["webview"]).result()
        w.check(result == {"loaded": True, "created": False},
                "the shipped library loads beside the program (Wine has its Visual C++ runtime); "
                "without WebView2 it makes no web view")
        saved = os.getcwd()
        os.chdir(beside)
        try:
            result = w.Program(DRIVER, ["webview"]).result()
        finally:
            os.chdir(saved)
        w.check(not result["loaded"], "the same library in the current directory is not loaded")

    # The window class, read inside the process that registered it.
    program = w.Program(DRIVER, ["main-window"])
    x = w.x_window("Main window")
    w.key(x, "alt+F4")
    result = program.result()
    settings = result["class"]
    w.check(result["client"] == [800, 600] and result["container"], "clientSize reads 800 x 600 back")
    w.check(settings["icon_is_program_icon"] and settings["arrow_cursor"] and
            settings["background"] == settings["button_face_brush"],
            "the class has the program icon, the arrow cursor and the button-face background")
finally:
    servers.stop()
    runtime_present(True)
    shutil.rmtree(folder, ignore_errors=True)
