"""Shared pieces of the window tests: a private X server, a fixture folder, a private home, and
stopping exactly the processes a test started (and what they spawned) by their PIDs."""
import os
import shutil
import signal
import subprocess
import tempfile
import time

SKIP = 77

ENTRIES = [("Projects", True), ("Photos", True), ("notes.txt", False), ("budget.ods", False),
           ("diagram.png", False)]


def start_xvfb():
    r, w = os.pipe()
    proc = subprocess.Popen(["Xvfb", "-displayfd", str(w), "-screen", "0", "1280x800x24", "-nolisten", "tcp",
                             "-br"], pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(w)
    with os.fdopen(r) as f:
        num = f.readline().strip()
    if not num:
        stop(proc.pid)
        raise RuntimeError("Xvfb did not start")
    return proc, ":" + num


class Sandbox:
    """A fixture folder, a home and a 0700 runtime folder, removed on exit."""

    def __enter__(self):
        self.root = os.path.realpath(tempfile.mkdtemp(prefix="files-a11y-"))
        self.folder = os.path.join(self.root, "fixture")
        self.home = os.path.join(self.root, "home")
        self.runtime = os.path.join(self.root, "run")
        os.mkdir(self.folder)
        os.mkdir(self.home)
        os.mkdir(self.runtime, 0o700)
        for name, is_dir in ENTRIES:
            path = os.path.join(self.folder, name)
            if is_dir:
                os.mkdir(path)
            else:
                with open(path, "w") as f:
                    f.write(name)
        return self

    def env(self, display, **extra):
        env = dict(os.environ, DISPLAY=display, HOME=self.home, XDG_RUNTIME_DIR=self.runtime,
                   XDG_CONFIG_HOME=os.path.join(self.home, ".config"),
                   XDG_DATA_HOME=os.path.join(self.home, ".local", "share"),
                   XDG_CACHE_HOME=os.path.join(self.home, ".cache"), ORVO_WORKSPACE_ROOTS="")
        for k in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS"):
            env.pop(k, None)
        env.update(extra)
        return env

    def __exit__(self, *exc):
        shutil.rmtree(self.root, ignore_errors=True)


def descendants(pid):
    """PIDs of every live process below pid (read from /proc)."""
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as f:
                stat = f.read()
        except OSError:
            continue
        ppid = int(stat[stat.rindex(")") + 2:].split()[1])
        children.setdefault(ppid, []).append(int(entry))
    out, todo = [], [pid]
    while todo:
        for c in children.get(todo.pop(), []):
            out.append(c)
            todo.append(c)
    return out


def alive(pid):
    try:
        os.kill(pid, 0)
    except ProcessLookupError:
        return False
    except PermissionError:
        return True
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().split(")")[-1].split()[0] != "Z"
    except OSError:
        return False


def stop(target, grace=3.0):
    """Stops a process (a Popen or a PID) and everything it started, each by its PID: TERM, then
    KILL after a grace."""
    pid = target.pid if isinstance(target, subprocess.Popen) else target
    pids = descendants(pid)[::-1] + [pid]
    for p in pids:
        try:
            os.kill(p, signal.SIGTERM)
        except ProcessLookupError:
            pass
    deadline = time.monotonic() + grace
    for p in pids:
        if isinstance(target, subprocess.Popen) and p == pid:
            try:
                target.wait(max(0.0, deadline - time.monotonic()))
            except subprocess.TimeoutExpired:
                target.kill()
                target.wait()
            continue
        while alive(p) and time.monotonic() < deadline:
            reap(p)
            time.sleep(0.05)
        if alive(p):
            try:
                os.kill(p, signal.SIGKILL)
            except ProcessLookupError:
                pass
        reap(p)


def reap(pid):
    try:
        os.waitpid(pid, os.WNOHANG)
    except ChildProcessError:
        pass


def poll(fn, timeout, step=0.1):
    """Calls fn until it returns something true, or returns None after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = fn()
        if value:
            return value
        if time.monotonic() >= deadline:
            return None
        time.sleep(step)
