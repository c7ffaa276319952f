#!/usr/bin/python3
"""Runs the real window with --observer-socket under a private Xvfb: the socket is private (0600),
answers each connection with one JSON line describing the folder, is not held up by a client that
never reads, replaces a stale socket, refuses to replace a regular file, and is gone after exit."""
import json
import os
import socket
import stat
import subprocess
import sys
import time

import harness


def ask(path, timeout=5.0):
    with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as s:
        s.settimeout(timeout)
        s.connect(path)
        data = b""
        while True:
            chunk = s.recv(65536)
            if not chunk:
                break
            data += chunk
    lines = data.decode("utf-8").split("\n")
    if len(lines) != 2 or lines[1] != "":
        raise AssertionError(f"expected exactly one line ended by a line break, got {data[:200]!r}")
    return json.loads(lines[0])


def check(cond, what):
    if not cond:
        raise AssertionError(what)


def refuses_regular_file(program, box, display):
    blocker = os.path.join(box.runtime, "in-the-way")
    with open(blocker, "w") as f:
        f.write("keep me")
    run = subprocess.run([program, box.folder, "--observer-socket", blocker], capture_output=True, timeout=60,
                         env=box.env(display, ORVO_UI_EXIT_AFTER_MS="3000"))
    check(run.returncode != 0, "the program started although a regular file was at the socket path")
    check(b"not a socket" in run.stderr, f"no reason given: {run.stderr.decode(errors='replace')}")
    with open(blocker) as f:
        check(f.read() == "keep me", "the regular file at the socket path was changed")


def main():
    program = sys.argv[1]
    with harness.Sandbox() as box:
        xvfb, display = harness.start_xvfb()
        try:
            refuses_regular_file(program, box, display)

            sock = os.path.join(box.runtime, "observer.sock")
            stale = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
            stale.bind(sock)
            stale.close()  # leaves a socket file nobody listens on

            app = subprocess.Popen([program, box.folder, "--observer-socket", sock],
                                   env=box.env(display, ORVO_UI_EXIT_AFTER_MS="8000"),
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE)
            try:
                def listening():
                    try:
                        return ask(sock, timeout=1.0)
                    except (OSError, ValueError):
                        return None
                first = harness.poll(listening, 20)
                check(first is not None, "nobody answered on the observer socket")
                st = os.lstat(sock)
                check(stat.S_ISSOCK(st.st_mode), "the socket path is not a socket")
                check(stat.S_IMODE(st.st_mode) == 0o600, f"socket mode is {oct(stat.S_IMODE(st.st_mode))}")

                # A client that never reads nor closes must not hold up the next one.
                idle = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
                idle.connect(sock)
                junk = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
                junk.connect(sock)
                junk.sendall(b"\xff\x00 not a request\n" * 64)
                junk.close()

                def loaded():
                    snap = ask(sock)
                    return snap if snap.get("entry_count") == len(harness.ENTRIES) else None
                started = time.monotonic()
                snap = harness.poll(loaded, 10)
                check(snap is not None, f"the folder never showed its entries: {ask(sock)}")
                check(time.monotonic() - started < 9, "answers were slow")
                idle.close()
                check(snap["app"] == "org.orvo.FileExplorer", f"app is {snap['app']!r}")
                check(snap["directory"] == box.folder, f"directory is {snap['directory']!r}, not {box.folder!r}")
                check(isinstance(snap["entry_count"], int), "entry_count is not a number")
                check(app.poll() is None, "the window closed early")

                out, err = app.communicate(timeout=60)
            finally:
                if app.poll() is None:
                    harness.stop(app)
            check(app.returncode == 0, f"the window exited with {app.returncode}: {err.decode(errors='replace')}")
            check(not os.path.lexists(sock), "the socket is still there after exit")
            print(f"observer socket answered {snap['entry_count']} entries of {snap['directory']}, mode 0600, "
                  "removed at exit")
            return 0
        except AssertionError as e:
            print("FAILED:", e)
            return 1
        finally:
            harness.stop(xvfb)


if __name__ == "__main__":
    sys.exit(main())
