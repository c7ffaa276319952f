#!/usr/bin/python3
"""Reads the real window's accessibility tree over AT-SPI, as a screen reader would: a private
session bus and accessibility bus, the program under a private Xvfb, and pyatspi as the client.
Exits 77 (skipped) when AT-SPI cannot run here."""
import os
import shutil
import subprocess
import sys
import time

import harness

BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
REGISTRY = "/usr/libexec/at-spi2-registryd"
ROOT_NAMES = {"Files activity", "files-a11y-activity"}
LIST_NAMES = {"Files", "files-a11y-list"}


def skip(why):
    print("SKIPPED:", why)
    return harness.SKIP


def check(cond, what):
    if not cond:
        raise AssertionError(what)


def start_session_bus(env):
    proc = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"],
                          env=env, capture_output=True, text=True, timeout=20)
    lines = proc.stdout.split()
    if proc.returncode != 0 or len(lines) < 2:
        raise RuntimeError("dbus-daemon did not start: " + proc.stderr.strip())
    return lines[0], int(lines[1])


def a11y_bus_address(env):
    probe = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                            "org.a11y.Bus.GetAddress"], env=env, capture_output=True, text=True)
    if probe.returncode != 0 or '"' not in probe.stdout:
        return None
    return probe.stdout.split('"')[1]


def has_owner(address, name, env):
    probe = subprocess.run(["dbus-send", f"--bus={address}", "--print-reply", "--dest=org.freedesktop.DBus",
                            "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", f"string:{name}"],
                           env=env, capture_output=True, text=True)
    return probe.returncode == 0 and "boolean true" in probe.stdout


def value_of(acc):
    try:
        text = acc.queryText()
    except NotImplementedError:
        return None
    return text.getText(0, -1)


def describe(acc, depth=0, limit=4):
    """A few levels of the tree as indented lines, for the log."""
    value = value_of(acc)
    line = "  " * depth + f"{acc.getRoleName()} {acc.name!r}" + (f" value={value!r}" if value else "")
    if acc.description:
        line += f" description={acc.description!r}"
    lines = [line]
    if depth < limit:
        for i in range(min(acc.childCount, 40)):
            child = acc.getChildAtIndex(i)
            if child is not None:
                lines += describe(child, depth + 1, limit)
    return lines


def find(acc, pred, depth=0):
    if pred(acc):
        return acc
    if depth > 8:
        return None
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None and (hit := find(child, pred, depth + 1)):
            return hit
    return None


def inside(inner, outer):
    return (inner.x >= outer.x and inner.y >= outer.y and inner.x + inner.width <= outer.x + outer.width
            and inner.y + inner.height <= outer.y + outer.height)


def read_tree(pyatspi, app_pid, box):
    folder = box.folder
    desktop = pyatspi.Registry.getDesktop(0)

    def registered():
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app is not None and app.get_process_id() == app_pid and app.childCount > 0:
                    return app
            except Exception:  # an application going away mid-query
                continue
        return None
    app = harness.poll(registered, 20, 0.2)
    if app is None:
        seen = []
        for i in range(desktop.childCount):
            a = desktop.getChildAtIndex(i)
            if a is not None:
                seen.append(f"{a.name!r} pid {a.get_process_id()} with {a.childCount} children")
        raise AssertionError(f"the program (pid {app_pid}) never showed a window on the accessibility bus; "
                             f"registered: {seen or 'nothing'}")
    check(app.getRole() == pyatspi.ROLE_APPLICATION, f"application role is {app.getRoleName()}")

    window = app.getChildAtIndex(0)
    check(window.getRole() in (pyatspi.ROLE_FRAME, pyatspi.ROLE_WINDOW), f"window role is {window.getRoleName()}")
    check(window.childCount == 1, f"the window has {window.childCount} children, not the one root node")
    root = window.getChildAtIndex(0)
    print("\n".join(describe(app)))

    check(root.name in ROOT_NAMES, f"root node is named {root.name!r}")
    value = value_of(root)
    check(value == "files-a11y-current-folder" or (value or "").startswith("Current folder: ")
          and folder in value, f"root node value is {value!r}")
    check(root.getIndexInParent() == 0 and root.parent == window, "the root node does not lead back to the window")
    states = root.getState()
    check(states.contains(pyatspi.STATE_ENABLED) and states.contains(pyatspi.STATE_SHOWING),
          "the root node is not enabled and showing")
    win_box = window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    root_box = root.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    check(win_box.width > 0 and win_box.height > 0, f"window extents {win_box}")
    check(root_box.width > 0 and root_box.height > 0 and inside(root_box, win_box),
          f"root extents {root_box} are not inside the window {win_box}")

    file_list = find(root, lambda a: a.getRole() == pyatspi.ROLE_LIST and a.name in LIST_NAMES)
    if file_list is None:
        print("no file list node yet; checked the application, the window and the root node")
        return
    rows = [file_list.getChildAtIndex(i) for i in range(file_list.childCount)]
    names = sorted(r.name for r in rows)
    expected = sorted(name for name, _ in harness.ENTRIES)
    check(names == expected, f"rows are {names}, expected {expected}")
    for r in rows:
        check(r.getRole() == pyatspi.ROLE_LIST_ITEM, f"row {r.name!r} has role {r.getRoleName()}")
        check(r.getState().contains(pyatspi.STATE_SELECTABLE), f"row {r.name!r} is not selectable")
        check(r.description, f"row {r.name!r} has no description")
        actions = r.queryAction()
        names_of = [actions.getName(i) for i in range(actions.nActions)]
        check("Press" in names_of, f"row {r.name!r} offers the actions {names_of}, not Press (activate)")
    for r in rows:
        box_r = r.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        check(box_r.width > 0 and box_r.height > 0 and inside(box_r, win_box),
              f"row {r.name!r} extents {box_r} are not inside the window {win_box}")

    # A change on disk reaches the client through the bridge's change notifications.
    with open(os.path.join(folder, "added later.txt"), "w") as f:
        f.write("new")
    def grown():
        names_now = {file_list.getChildAtIndex(i).name for i in range(file_list.childCount)}
        return "added later.txt" in names_now
    check(harness.poll(grown, 8, 0.2), "a new file never appeared in the list seen over AT-SPI")
    # Keyboard selection reaches the client as row states.
    if shutil.which("xdotool"):
        env = dict(os.environ)
        wins = subprocess.run(["xdotool", "search", "--pid", str(app_pid)], env=env, capture_output=True,
                              text=True).stdout.split()
        check(wins, "xdotool found no window of the program")
        subprocess.run(["xdotool", "windowfocus", "--sync", wins[-1]], env=env, check=True)
        subprocess.run(["xdotool", "key", "Down"], env=env, check=True)

        def selected():
            for i in range(file_list.childCount):
                r = file_list.getChildAtIndex(i)
                if r.getState().contains(pyatspi.STATE_SELECTED):
                    return r.name
            return None
        name = harness.poll(selected, 5, 0.2)
        check(name, "after Down no row is selected over AT-SPI")
        print(f"Down selected {name!r}")
    else:
        print("xdotool is not installed: keyboard selection not checked")
    print(f"file list has the {len(rows)} fixture entries, then the new one")


def main():
    program = sys.argv[1]
    for tool in ("Xvfb", "dbus-daemon", "dbus-send"):
        if not shutil.which(tool):
            return skip(f"{tool} is not installed")
    for tool in (BUS_LAUNCHER, REGISTRY):
        if not os.access(tool, os.X_OK):
            return skip(f"{tool} is not installed (Debian package at-spi2-core)")

    started = []
    with harness.Sandbox() as box:
        try:
            xvfb, display = harness.start_xvfb()
            started.append(xvfb)
            env = box.env(display)
            try:
                address, bus_pid = start_session_bus(env)
            except (RuntimeError, OSError, subprocess.TimeoutExpired) as e:
                return skip(str(e))
            started.append(bus_pid)
            env["DBUS_SESSION_BUS_ADDRESS"] = address
            launcher = subprocess.Popen([BUS_LAUNCHER, "--launch-immediately"], env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            started.append(launcher)

            # pyatspi finds the accessibility bus through the session bus when it is imported.
            os.environ.update(DBUS_SESSION_BUS_ADDRESS=address, DISPLAY=display)
            os.environ.pop("AT_SPI_BUS_ADDRESS", None)

            a11y_bus = harness.poll(lambda: a11y_bus_address(env), 10, 0.2)
            if not a11y_bus:
                return skip("the accessibility bus did not come up")
            # Started here rather than activated by the bus, so that its PID is ours to stop.
            registry = subprocess.Popen([REGISTRY], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            started.append(registry)
            if not harness.poll(lambda: has_owner(a11y_bus, "org.a11y.atspi.Registry", env), 10, 0.2):
                return skip("the AT-SPI registry did not start")

            try:
                import pyatspi
            except ImportError as e:
                return skip(f"pyatspi is not available to {sys.executable}: {e} (Debian package python3-pyatspi)")

            app = subprocess.Popen([program, box.folder],
                                   env=dict(env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", ORVO_UI_EXIT_AFTER_MS="10000"),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
            started.append(app)
            read_tree(pyatspi, app.pid, box)
            # It closes itself: with a client attached, the bridge must still shut down cleanly.
            err = app.communicate(timeout=60)[1].decode(errors="replace")
            check(app.returncode == 0, f"the window exited with {app.returncode}: {err}")
            return 0
        except AssertionError as e:
            print("FAILED:", e)
            return 1
        finally:
            for pid in reversed(started):
                harness.stop(pid)


if __name__ == "__main__":
    sys.exit(main())
