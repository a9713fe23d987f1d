#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Feeds marvane-cli damaged media and reports what goes wrong.

    bench/fuzz_cli.py [--cli PATH] [--cases N] [--seed S] [--limit SECONDS] [--keep FOLDER]

Generates a few small media files with the ffmpeg program (some joined from parts whose sound
format differs), damages copies of them in fixed,
reproducible ways (seeded), and runs marvane-cli on each: probe, conversion to a disc, AVI,
Windows Media format or MP4, and sound saving. Meant for a build with the address and
undefined-behaviour sanitizers (scripts/build.sh --sanitize, or only marvane-cli and its
module in a folder of their own). Reports:
  crash     the program died of a signal or a sanitizer reported an error
  hang      the program did not end within the time limit
  leftover  a temporary .part- file stayed behind in the output folder
  long      the run succeeded but its output is far longer than any source (more than
            10 s for 2 s sources) or far larger (more than 50 MB)
The damaged files of every reported case are kept (--keep) with the command that failed.
"""
import argparse
import json
import os
import random
import shutil
import subprocess
import sys
import tempfile

SOURCE_SECONDS = 2.0
LONGEST_SECONDS = 10.0
LARGEST_BYTES = 50 << 20

# Seed media: (name, ffmpeg arguments after the inputs).
VIDEO = ["-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25:duration=2",
         "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=2"]
SEEDS = [
    ("ps.mpg", VIDEO + ["-c:v", "mpeg2video", "-bf", "2", "-c:a", "mp2", "-f", "mpeg"]),
    ("ac3.ts", VIDEO + ["-c:v", "mpeg2video", "-c:a", "ac3", "-f", "mpegts"]),
    ("xvid.avi", VIDEO + ["-c:v", "mpeg4", "-c:a", "libmp3lame", "-ac", "2"]),
    ("wm.wmv", VIDEO + ["-c:v", "wmv2", "-c:a", "wmav2", "-f", "asf"]),
    ("sound.mkv", ["-f", "lavfi", "-i", "sine=frequency=440:sample_rate=22050:duration=2", "-c:a", "mp2"]),
    ("h264.mp4", VIDEO + ["-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac"]),
]

# Seeds joined from parts end to end, as recordings and cut files are: the sound changes its
# channels, or its rate and channels, at the join.
JOINED = [
    ("surround-stereo.ts", [
        VIDEO[:4] + ["-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000:duration=2", "-ac", "6",
                     "-c:v", "mpeg2video", "-c:a", "ac3", "-f", "mpegts"],
        VIDEO[:4] + ["-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000:duration=2", "-ac", "2",
                     "-c:v", "mpeg2video", "-c:a", "ac3", "-output_ts_offset", "2", "-f", "mpegts"]]),
    ("stereo-mono.mp2", [
        ["-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=1", "-ac", "2", "-c:a", "mp2", "-f", "mp2"],
        ["-f", "lavfi", "-i", "sine=frequency=440:sample_rate=22050:duration=1", "-ac", "1", "-c:a", "mp2", "-f", "mp2"]]),
]

COMMANDS = [
    ["probe", "{src}"],
    ["convert", "--to", "dvd", "-o", "{out}/out.mpg", "{src}"],
    ["audio", "--wav", "-o", "{out}", "{src}"],
    ["convert", "--to", "avi", "-o", "{out}/out.avi", "{src}"],
    ["convert", "--to", "wmv", "-o", "{out}/out.wmv", "{src}"],
    ["convert", "--to", "vcd", "-o", "{out}/out.mpg", "{src}", "{src}"],
    ["audio", "--wma", "-o", "{out}", "{src}"],
    ["convert", "--to", "mp4", "--speed", "faster", "-o", "{out}/out.mp4", "{src}"],
]


def make_seeds(folder):
    paths = []
    for name, args in SEEDS:
        path = os.path.join(folder, name)
        subprocess.run(["ffmpeg", "-hide_banner", "-loglevel", "error", "-y"] + args + [path], check=True)
        paths.append(path)
    for name, parts in JOINED:
        path = os.path.join(folder, name)
        with open(path, "wb") as joined:
            for number, args in enumerate(parts):
                part = os.path.join(folder, f"part{number}-{name}")
                subprocess.run(["ffmpeg", "-hide_banner", "-loglevel", "error", "-y"] + args + [part], check=True)
                with open(part, "rb") as f:
                    joined.write(f.read())
        paths.append(path)
    return paths


def mutate(data, rng):
    """One or a few damages of a kind that real files show."""
    data = bytearray(data)
    for _ in range(rng.randint(1, 3)):
        kind = rng.choice(["flip", "chunk", "truncate", "zero", "splice", "stamp"])
        at = rng.randrange(len(data)) if data else 0
        if kind == "flip":
            for _ in range(rng.randint(1, 40)):
                data[rng.randrange(len(data))] ^= 1 << rng.randrange(8)
        elif kind == "chunk":
            size = rng.randint(1, 512)
            data[at:at + size] = bytes(rng.randrange(256) for _ in range(size))
        elif kind == "truncate":
            del data[max(16, at):]
        elif kind == "zero":
            size = rng.randint(1, 4096)
            data[at:at + size] = bytes(min(size, len(data) - at))
        elif kind == "splice":
            size = rng.randint(16, 8192)
            other = rng.randrange(len(data))
            data[at:at] = data[other:other + size]
        elif kind == "stamp":
            # Large values in places where sizes, counts and timestamps live.
            value = rng.choice([b"\xff\xff\xff\xff", b"\x7f\xff\xff\xff", b"\x00\x00\x00\x00", b"\x80\x00\x00\x00"])
            data[at:at + 4] = value
        if not data:
            data = bytearray(b"\0")
    return bytes(data)


def duration_of(path):
    try:
        out = subprocess.run(["ffprobe", "-v", "error", "-show_entries", "format=duration", "-of", "json", path],
                             capture_output=True, text=True, timeout=60).stdout
        return float(json.loads(out)["format"]["duration"])
    except Exception:
        return 0.0


def judge(rc, stderr, out_folder, timed_out):
    if timed_out:
        return "hang"
    if rc < 0 or rc >= 128 or "Sanitizer" in stderr or "runtime error:" in stderr:
        return "crash"
    names = os.listdir(out_folder)
    if any(".part-" in name for name in names):
        return "leftover"
    if rc == 0:
        for name in names:
            path = os.path.join(out_folder, name)
            if os.path.getsize(path) > LARGEST_BYTES or duration_of(path) > LONGEST_SECONDS:
                return "long"
    return "ok" if rc == 0 else "refused"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", default="build-sanitize/bin/marvane-cli")
    parser.add_argument("--cases", type=int, default=300)
    parser.add_argument("--seed", type=int, default=13)
    parser.add_argument("--limit", type=float, default=120.0)
    parser.add_argument("--keep", default="fuzz-findings")
    args = parser.parse_args()
    if not os.access(args.cli, os.X_OK):
        sys.exit(f"no {args.cli}: build it first")

    work = tempfile.mkdtemp(prefix="marvane-fuzz-")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen",
               ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:exitcode=99",
               UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:exitcode=99")
    counts = {}
    findings = []
    try:
        seeds = make_seeds(work)
        for case in range(args.cases):
            rng = random.Random(args.seed * 1000003 + case)
            seed = seeds[case % len(seeds)]
            src = os.path.join(work, f"case{case}{os.path.splitext(seed)[1]}")
            with open(seed, "rb") as f:
                damaged = mutate(f.read(), rng)
            with open(src, "wb") as f:
                f.write(damaged)
            out = os.path.join(work, f"out{case}")
            os.mkdir(out)
            command = [args.cli] + [a.format(src=src, out=out) for a in COMMANDS[case % len(COMMANDS)]]
            timed_out = False
            try:
                run = subprocess.run(command, capture_output=True, text=True, errors="replace", env=env,
                                     timeout=args.limit)
                rc, stderr = run.returncode, run.stderr
            except subprocess.TimeoutExpired as expired:
                timed_out, rc = True, -1
                stderr = expired.stderr.decode(errors="replace") if expired.stderr else ""
            verdict = judge(rc, stderr, out, timed_out)
            counts[verdict] = counts.get(verdict, 0) + 1
            if verdict in ("crash", "hang", "leftover", "long"):
                os.makedirs(args.keep, exist_ok=True)
                kept = os.path.join(args.keep, os.path.basename(src))
                shutil.copy(src, kept)
                with open(kept + ".txt", "w") as note:
                    note.write(f"{verdict}\n{' '.join(command)}\n\n{stderr[-4000:]}\n")
                findings.append((case, verdict, ' '.join(command[1:3])))
                print(f"case {case}: {verdict} ({' '.join(command[1:3])})", flush=True)
            shutil.rmtree(out, ignore_errors=True)
            os.remove(src)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print(f"\n{args.cases} cases, seed {args.seed}: " +
          ", ".join(f"{name} {counts.get(name, 0)}" for name in
                    ("ok", "refused", "crash", "hang", "leftover", "long")))
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
