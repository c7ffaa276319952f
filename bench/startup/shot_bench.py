#!/usr/bin/python3
"""Time to write the plain-window PNG with orvo-files --shot against a minimal Qt program that
paints one line of text into an image of the same size, run alternately in one run.

Usage: shot_bench.py BUILD_DIR [ROUNDS]"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

build = sys.argv[1]
rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 25
files = os.path.join(build, "apps/file-explorer/orvo-files")
minimal = os.path.join(build, "bench/startup/min_qt_shot")
W, H = 1280, 800

work = tempfile.mkdtemp(prefix="files-shot-bench-")
folder = os.path.join(work, "folder")
os.mkdir(folder)
for i in range(12):
    os.mkdir(os.path.join(folder, f"Folder {i:02d}"))
for i in range(30):
    with open(os.path.join(folder, f"document-{i:02d}.txt"), "w") as f:
        f.write("x" * (i * 37))
env = dict(os.environ, QT_QPA_PLATFORM="offscreen", HOME=work, ORVO_WORKSPACE_ROOTS="")
commands = {
    "orvo-files --shot": [files, "--shot", os.path.join(work, "a.png"), "--size", f"{W}x{H}", "--path", folder],
    "minimal Qt": [minimal, os.path.join(work, "b.png"), str(W), str(H)],
}


def once(cmd):
    t = time.perf_counter()
    subprocess.run(cmd, env=env, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - t


for cmd in commands.values():  # warm the page cache and the font cache
    once(cmd)
times = {k: [] for k in commands}
for _ in range(rounds):
    for name, cmd in commands.items():
        times[name].append(once(cmd))
med = {k: statistics.median(v) for k, v in times.items()}
for k, v in med.items():
    print(f"{k:20s} median {v * 1000:7.1f} ms over {rounds} runs")
ratio = med["orvo-files --shot"] / med["minimal Qt"]
print(f"ratio orvo-files / minimal Qt: {ratio:.2f} (target 1.5 or less)")
