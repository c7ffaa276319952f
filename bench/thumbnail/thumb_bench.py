#!/usr/bin/python3
"""Thumbnails of 100 photo-like 4000 x 3000 JPEGs: our service (4 workers, empty cache
each round) against `vipsthumbnail --size 256`, run alternately; prints medians and the
ratio ours / vips (target: 1.0 or less).

usage: thumb_bench.py [path/to/thumb_bench] [--rounds N] [--photos DIR]
"""
import argparse
import glob
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_BIN = os.path.join(HERE, "..", "..", "build", "bench", "thumbnail", "thumb_bench")


def timed(cmd):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    done = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    if done.returncode != 0:
        sys.exit(f"{cmd[0]} failed ({done.returncode}): {done.stderr.strip()[:400]}")
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return wall, cpu


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("bin", nargs="?", default=DEFAULT_BIN)
    ap.add_argument("--rounds", type=int, default=5)
    ap.add_argument("--photos", default=os.path.join(tempfile.gettempdir(), "orvo-thumb-bench", "photos"))
    ap.add_argument("--count", type=int, default=100)
    args = ap.parse_args()

    ours = os.path.abspath(args.bin)
    vips = shutil.which("vipsthumbnail")
    if not os.access(ours, os.X_OK):
        sys.exit(f"no bench executable at {ours}: build the thumb_bench target")
    if not vips:
        sys.exit("vipsthumbnail not found (Debian package libvips-tools)")

    # Made once and kept: generating 100 photos takes minutes.
    photos = sorted(glob.glob(os.path.join(args.photos, "*.jpg")))
    if len(photos) < args.count:
        print(f"generating {args.count} photos of 4000 x 3000 in {args.photos} ...", flush=True)
        subprocess.run([ours, "generate", args.photos, str(args.count), "4000", "3000"], check=True)
        photos = sorted(glob.glob(os.path.join(args.photos, "*.jpg")))
    photos = photos[: args.count]
    mb = sum(os.path.getsize(p) for p in photos) / 1e6
    print(f"{len(photos)} JPEGs, {mb:.0f} MB, {os.cpu_count()} cores; rounds: {args.rounds}")

    # Only the chosen photos, so both tools see exactly the same files.
    work = tempfile.mkdtemp(prefix="orvo-thumb-bench-")
    try:
        src = os.path.join(work, "src")
        os.mkdir(src)
        for p in photos:
            os.symlink(p, os.path.join(src, os.path.basename(p)))
        files = sorted(glob.glob(os.path.join(src, "*.jpg")))

        def run_ours(i):
            cache = os.path.join(work, f"cache-{i}")
            result = timed([ours, "run", src, cache, "4"])
            shutil.rmtree(cache, ignore_errors=True)
            return result

        def run_vips(i):
            out = os.path.join(work, f"vips-{i}")
            os.mkdir(out)
            result = timed([vips, "--size", "256", "-o", os.path.join(out, "%s.jpg")] + files)
            shutil.rmtree(out, ignore_errors=True)
            return result

        run_ours("warm")  # page cache and plugin loading for both
        run_vips("warm")
        ours_t, vips_t = [], []
        for i in range(args.rounds):
            ours_t.append(run_ours(i))
            vips_t.append(run_vips(i))
            print(f"round {i + 1}: ours {ours_t[-1][0]:.3f} s (cpu {ours_t[-1][1]:.2f}), "
                  f"vips {vips_t[-1][0]:.3f} s (cpu {vips_t[-1][1]:.2f})", flush=True)
    finally:
        shutil.rmtree(work, ignore_errors=True)

    ow = statistics.median(t[0] for t in ours_t)
    vw = statistics.median(t[0] for t in vips_t)
    oc = statistics.median(t[1] for t in ours_t)
    vc = statistics.median(t[1] for t in vips_t)
    print(f"median wall: ours {ow:.3f} s, vipsthumbnail {vw:.3f} s")
    print(f"median cpu:  ours {oc:.3f} s, vipsthumbnail {vc:.3f} s")
    print(f"ratio (ours / vipsthumbnail, wall): {ow / vw:.3f}")


if __name__ == "__main__":
    main()
