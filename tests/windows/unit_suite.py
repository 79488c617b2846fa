"""Runs the GoogleTest suite of the Windows build under Wine, with the test
server, a TLS server, tinyproxy and microsocks on 127.0.0.1, and the signed
test setups of tools/signing_fixtures.py on drive Z:."""
import os
import shutil
import subprocess
import sys

import winetest as w

folder = w.temp_folder("unit")
servers = w.Servers(folder)
try:
    shutil.copy(os.path.join(w.SOURCE, "tests", "fixtures", "update-sample.json"), servers.root)
    fixtures = os.path.join(w.BUILD, "fixtures", "signing")
    if not os.path.exists(os.path.join(fixtures, "maker-signed.exe")):
        subprocess.run([sys.executable, os.path.join(w.SOURCE, "tools", "signing_fixtures.py"), fixtures],
                       check=True, stdout=subprocess.DEVNULL)
    # A run that stopped inside the test that swaps the system's
    # powershell.exe leaves Wine's own aside; put it back first.
    for system in ("system32", "syswow64"):
        saved = w.drive_c("windows", system, "WindowsPowerShell", "v1.0", "powershell.exe.quillbox-saved")
        if os.path.exists(saved):
            os.replace(saved, saved[:-len(".quillbox-saved")])
    env = {
        "QUILLBOX_TEST_SERVER": servers.http,
        "QUILLBOX_TEST_SERVER_ROOT": w.windows_path(servers.root),
        "QUILLBOX_TEST_SIGNING_FIXTURES": w.windows_path(fixtures),
    }
    if servers.tls:
        env["QUILLBOX_TEST_TLS_SERVER"] = servers.tls
    if servers.http_proxy and servers.socks_proxy:
        env["QUILLBOX_TEST_HTTP_PROXY"] = servers.http_proxy
        env["QUILLBOX_TEST_SOCKS_PROXY"] = servers.socks_proxy
    code, out = w.run(os.path.join(w.TESTS, "windows_unit_tests.exe"), ["--gtest_color=no", *sys.argv[1:]],
                      env=env, timeout=1200)
    print(out, flush=True)
    sys.exit(code)
finally:
    servers.stop()
    shutil.rmtree(folder, ignore_errors=True)
