"""The bridge between page and native handlers, in the real web view: what a
page's promise receives for each kind of handler result."""
import json
import os
import subprocess

import guitest as g

proc = subprocess.Popen([os.path.join(g.BUILD, "bridge-host")], stdout=subprocess.PIPE, text=True)
try:
    line = proc.stdout.readline()
    g.check(line.strip() != "", "the page reported back")
    results = json.loads(line)[0]  # t_report got the array of its arguments
    print(results)
    g.check("error" not in results, "no call failed")
    g.check(results["nothingType"] == "undefined", "a handler without a result resolves with undefined")
    g.check(results["emptyObject"] == {}, "\"{ }\" resolves with an empty object")
    g.check(results["rebound"] == "new", "a second binding of a name replaces the first")
    g.check(json.loads(results["echo"]) == ["a\"b\\c", 1, [True, None], {"k": "\u00fc"}],
            "the handler receives the arguments exactly as the page serialised them")
    first, second = results["slow"]
    g.check(first == ["start[1]", "end[1]"] and second == ["start[1]", "end[1]", "start[2]", "end[2]"],
            "two calls in flight run one after the other, each promise with its own result")
    g.check(results["invalid"] == "Failed to parse binding result as JSON", "a result that is not JSON rejects")
    g.check(results["unbound"] == "pending", "a method nobody bound gets no reply")
    window = g.windows("bridge test", proc.pid)[0]
    g.close(window)
    g.check(g.wait_exit(proc) == 0, "the host ends when its window is closed")
finally:
    if proc.poll() is None:
        proc.kill()
