#!/usr/bin/python3
"""CPU use of an idle window on an unchanged 500-entry folder, under Xvfb, read from /proc.

Usage: idle_cpu.py PATH/TO/orvo-files [SECONDS]"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

program = sys.argv[1]
seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 30
work = tempfile.mkdtemp(prefix="files-idle-")
folder = os.path.join(work, "folder")
os.mkdir(folder)
for i in range(500):
    with open(os.path.join(folder, f"entry-{i:03d}.txt"), "w") as f:
        f.write("x" * i)

r, w = os.pipe()
xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(w), "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
                        pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
os.close(w)
display = ":" + os.fdopen(r).readline().strip()
env = dict(os.environ, DISPLAY=display, HOME=work, ORVO_WORKSPACE_ROOTS="", XDG_CONFIG_HOME=os.path.join(work, "cfg"))
env.pop("QT_QPA_PLATFORM", None)
app = subprocess.Popen([program, folder], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
hz = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / hz


try:
    time.sleep(3)  # start-up and the status bubble's fade are not idle
    c0, t0 = cpu_seconds(app.pid), time.monotonic()
    time.sleep(seconds)
    c1, t1 = cpu_seconds(app.pid), time.monotonic()
    share = (c1 - c0) / (t1 - t0) * 100
    print(f"idle window on 500 entries: {share:.2f} % of one core over {t1 - t0:.0f} s (target under 2 %)")
finally:
    app.terminate()
    app.wait()
    xvfb.kill()
    xvfb.wait()
    shutil.rmtree(work, ignore_errors=True)
