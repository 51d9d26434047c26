#!/usr/bin/env python3
"""run.py TREE BUILD FAULTS.json OUT.txt: plants each fault of FAULTS in TREE
in turn, builds the tests in BUILD and runs them; writes one line a fault:
caught (and by which tests) / survived / no-build / missing. Each fault is
taken out again afterwards. Use a build without sanitizers: it is faster."""
import json, subprocess, sys, os
tree, build, listfile, out = sys.argv[1:5]
faults = json.load(open(listfile))
env = dict(os.environ, QT_QPA_PLATFORM="offscreen", ASAN_OPTIONS="intercept_tls_get_addr=0")
lines = []
for f in faults:
    path = os.path.join(tree, f["file"])
    text = open(path).read()
    if text.count(f["old"]) != 1:
        lines.append(f'{f["id"]}\tmissing\t{f["desc"]}'); continue
    open(path, "w").write(text.replace(f["old"], f["new"]))
    try:
        b = subprocess.run(["nice", "-n", "10", "cmake", "--build", build, "-j2"], capture_output=True, text=True)
        if b.returncode != 0:
            result = "no-build"
        else:
            t = subprocess.run(["nice", "-n", "10", "ctest", "--test-dir", build, "-j2", "--timeout", "120", "-E", "clang_format"],
                               capture_output=True, text=True, env=env)
            failed = [l.split(" - ")[1].split(" (")[0] for l in t.stdout.splitlines() if " - " in l and ("Failed" in l or "Timeout" in l or "SEGFAULT" in l or "Exception" in l)]
            result = "caught" if t.returncode != 0 else "survived"
            if failed: result += " by " + ", ".join(failed[:4])
    finally:
        open(path, "w").write(text)
    lines.append(f'{f["id"]}\t{result}\t{f["desc"]}')
    open(out, "w").write("\n".join(lines) + "\n")
subprocess.run(["cmake", "--build", build, "-j2"], capture_output=True)
