#!/usr/bin/python3
"""Opens the real window under a private Xvfb, grabs the screen while it shows a folder, and
checks that it drew the folder and closed cleanly."""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time


def start_xvfb():
    r, w = os.pipe()
    proc = subprocess.Popen(["Xvfb", "-displayfd", str(w), "-screen", "0", "1280x800x24", "-nolisten", "tcp",
                             "-br"], pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(w)
    with os.fdopen(r) as f:
        num = f.readline().strip()
    if not num:
        proc.kill()
        raise SystemExit("Xvfb did not start")
    return proc, ":" + num


def grab(display):
    """The root window as rows of (r, g, b), through xwd; None when xwd is missing."""
    if not shutil.which("xwd"):
        return None
    data = subprocess.run(["xwd", "-root", "-silent", "-display", display], check=True,
                          capture_output=True).stdout
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bpp, bpl, ncolors = fields[7], fields[11], fields[12], fields[19]
    if bpp != 32:
        return None
    off = header_size + ncolors * 12
    fmt = "<I" if byte_order == 0 else ">I"
    rows = []
    for y in range(0, height, 4):
        row = []
        base = off + y * bpl
        for x in range(0, width, 4):
            (px,) = struct.unpack_from(fmt, data, base + x * 4)
            row.append(((px >> 16) & 255, (px >> 8) & 255, px & 255))
        rows.append(row)
    return rows


def main():
    program = sys.argv[1]
    folder = tempfile.mkdtemp(prefix="files-window-")
    home = tempfile.mkdtemp(prefix="files-window-home-")
    for name in ["Projects", "Photos"]:
        os.mkdir(os.path.join(folder, name))
    for name in ["notes.txt", "budget.ods", "diagram.png"]:
        open(os.path.join(folder, name), "w").close()
    xvfb, display = start_xvfb()
    try:
        env = dict(os.environ, DISPLAY=display, HOME=home, ORVO_WORKSPACE_ROOTS="",
                   ORVO_UI_EXIT_AFTER_MS="3000", XDG_CONFIG_HOME=os.path.join(home, ".config"))
        env.pop("QT_QPA_PLATFORM", None)
        env.pop("WAYLAND_DISPLAY", None)
        app = subprocess.Popen([program, folder], env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        time.sleep(1.8)
        rows = grab(display)
        out, err = app.communicate(timeout=30)
        if app.returncode != 0:
            print("window exited with", app.returncode, err.decode(errors="replace"))
            return 1
        noise = [l for l in err.decode(errors="replace").splitlines() if "actor of the UI document" not in l]
        if noise:
            print("unexpected output on standard error:\n" + "\n".join(noise))
            return 1
        if rows is None:
            print("xwd is not installed: checked only that the window opened and closed cleanly")
            return 0
        pixels = [p for row in rows for p in row]
        light = sum(1 for p in pixels if min(p) > 230)
        dark = sum(1 for p in pixels if max(p) < 90)
        if light < len(pixels) * 0.4 or dark < 40:
            print(f"the window does not look drawn: {light} light and {dark} dark of {len(pixels)} samples")
            return 1
        print(f"window drawn ({light} light, {dark} dark samples) and closed cleanly")
        return 0
    finally:
        xvfb.kill()
        xvfb.wait()
        shutil.rmtree(folder, ignore_errors=True)
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
