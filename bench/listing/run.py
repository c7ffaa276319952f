#!/usr/bin/python3
"""Listing benchmarks: ours against the system-call floor and find, alternately, in one run.

Usage: bench/listing/run.py [BUILD_DIR] [--rounds N]
BUILD_DIR defaults to build-model beside this repository's top folder; it must hold
bench/listing/listing_bench and bench/listing/listing_floor.
"""
import argparse
import json
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
EXTS = ["", ".txt", ".pdf", ".JPG", ".tar.gz", ".md", ".json", ".Cpp", ".weird-ext", ".png"]
DOC_ATTRS = ["user.orvo.availability", "user.orvo.share", "user.orvo.history"]


def make_listing_fixture(path, n, rng):
    os.makedirs(path)
    for i in range(n):
        stem = "".join(rng.choice("abcdeFGHIJklmnOPQRSTuvwxyz_-0123456789") for _ in range(rng.randint(4, 14)))
        name = ("." if i % 17 == 0 else "") + stem + "-" + str(i) + rng.choice(EXTS)
        if i % 50 == 0:
            os.mkdir(os.path.join(path, name))
        else:
            with open(os.path.join(path, name), "wb") as f:
                f.write(b"x" * (i % 7))


def key(seed):
    return [(seed * 31 + k) & 0xFF for k in range(32)]


def documents(i):
    rec = "3b241101-e2bb-4255-8caf-%012x" % i
    avail = {"schema_version": 1, "record_id": rec, "current_version": "v-%d-" % i + "c" * 900,
             "residency": {"state": "resident", "resident_bytes": 1000 + i},
             "transfer": {"phase": "idle", "progress": {"completed_bytes": 5, "total_bytes": 10},
                          "last_error": "e" * 200, "last_error_at_ms": 1700000000000, "error_truncated": False},
             "policy": "automatic", "policy_inherited": False,
             "replicas": {"state": "known", "reachable": 2, "durable": 1},
             "freshness": {"metadata_observed_at_ms": 1700000000000 + i, "local_verified_at_ms": 1,
                           "replicas_observed_at_ms": 2}}
    grant = lambda g: {"grant_id": "0f0e0d0c-0b0a-4908-8706-%012x" % (i * 8 + g),
                       "subject": {"kind": "person", "person": key(g)}, "permission": "Edit",
                       "expires_at_ms": 1800000000000, "revoked": False, "expired": False, "used": False,
                       "exhausted": False, "status": "active", "redemptions": 0, "max_redemptions": 5}
    share = {"schema_version": 1, "record_id": rec, "observed_at_ms": i, "grants": [grant(g) for g in range(4)]}
    version = lambda v: {"id": "v%d" % v, "record_id": rec, "parents": ["v%d" % (v - 1)] if v else [],
                         "actor": {"person": key(v), "device": key(v + 1)}, "timestamp_ms": 1700000000000 + v,
                         "content_hash": key(v + 2), "metadata_hash": key(v + 3), "provenance": "Edit"}
    history = {"schema_version": 1, "record_id": rec, "total_versions": 9, "versions_truncated": True,
               "heads": ["v1"], "versions": [version(v) for v in range(2)], "conflicts_truncated": False,
               "conflicts": []}
    out = [json.dumps(d, separators=(",", ":")).encode() for d in (avail, share, history)]
    assert all(1000 <= len(b) <= 2048 for b in out), [len(b) for b in out]
    return out


def make_workspace_fixture(path, n):
    os.makedirs(path)
    for i in range(n):
        p = os.path.join(path, "Doc %03d.txt" % i)
        with open(p, "wb") as f:
            f.write(b"content")
        for name, value in zip(DOC_ATTRS, documents(i)):
            os.setxattr(p, name, value, follow_symlinks=False)


def timed(cmd, env=None):
    """Wall-clock and CPU (user + system) seconds of one run."""
    t0 = time.perf_counter()
    proc = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, env=env)
    _, status, usage = os.wait4(proc.pid, 0)
    wall = time.perf_counter() - t0
    proc.returncode = os.waitstatus_to_exitcode(status)
    if proc.returncode != 0:
        raise SystemExit("%s failed with %d" % (cmd, proc.returncode))
    return wall, usage.ru_utime + usage.ru_stime


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build", nargs="?", default=os.path.join(REPO, "build-model"))
    ap.add_argument("--rounds", type=int, default=9)
    args = ap.parse_args()
    ours = os.path.join(args.build, "bench/listing/listing_bench")
    floor = os.path.join(args.build, "bench/listing/listing_floor")
    find = shutil.which("find")
    rng = random.Random(4)
    tmp = tempfile.mkdtemp(prefix="files-listing-bench-")
    shm = tempfile.mkdtemp(prefix="files-refresh-bench-", dir="/dev/shm") if os.path.isdir("/dev/shm") else tmp
    try:
        print("listing: read + hidden filter + Name sort (whole process, median of %d)" % args.rounds)
        for n in (10000, 100000):
            d = os.path.join(tmp, "n%d" % n)
            make_listing_fixture(d, n, rng)
            cmds = {"ours": [ours, "list", d], "floor": [floor, "list", d],
                    "find": [find, d, "-mindepth", "1", "-maxdepth", "1", "-printf", "%s %T@ %y %f\n"]}
            for c in cmds.values():  # warm the caches
                timed(c)
            times = {k: [] for k in cmds}
            for _ in range(args.rounds):
                for k, c in cmds.items():
                    times[k].append(timed(c))
            for label, idx in (("wall", 0), ("cpu", 1)):
                med = {k: statistics.median(t[idx] for t in v) for k, v in times.items()}
                print("  %6d entries, %-4s: ours %.1f ms, floor %.1f ms, find %.1f ms; ours/floor %.2f, ours/find %.2f"
                      % (n, label, med["ours"] * 1e3, med["floor"] * 1e3, med["find"] * 1e3,
                         med["ours"] / med["floor"], med["ours"] / med["find"]))

        ws = os.path.join(shm, "workspace")
        make_workspace_fixture(ws, 500)
        env = dict(os.environ, ORVO_WORKSPACE_ROOTS=ws)
        iters = "200"
        print("silent refresh of an unchanged 500-entry workspace folder (in-process median per pass)")
        ours_ns, floor_ns = [], []
        for _ in range(args.rounds):
            out = subprocess.run([ours, "refresh", ws, iters], check=True, capture_output=True, text=True, env=env)
            ns, entries, docs = out.stdout.split()
            assert int(entries) == 500 and int(docs) == 1500, out.stdout
            ours_ns.append(int(ns))
            out = subprocess.run([floor, "xattr", ws, iters] + DOC_ATTRS, check=True, capture_output=True, text=True)
            floor_ns.append(int(out.stdout.split()[0]))
        o, f = statistics.median(ours_ns), statistics.median(floor_ns)
        print("  ours %.3f ms, floor (getdents64 + fstatat + getxattr of the 3 documents) %.3f ms; ours/floor %.2f"
              % (o / 1e6, f / 1e6, o / f))
    finally:
        shutil.rmtree(tmp, ignore_errors=True)
        shutil.rmtree(shm, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
