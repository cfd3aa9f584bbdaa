#!/usr/bin/python3
"""Start-up benchmark: Pyrel against a bare Qt window with the same widgets.

Starts its own Xvfb (on a free display, with -noreset and no window manager)
and launches the two programs in turn, interleaved, each run on its own.
Everything is observed from outside the programs, over one X connection
opened with ctypes on libX11 and libXdamage:

  * SubstructureNotify on the root window reports every top-level window the
    program creates, moves and maps; one Damage object (raw rectangles) on
    the root window reports every drawing request to any window on the
    screen as the X server executes it. It exists before the program starts,
    so no drawing can slip past it.
  * "mapped" is the MapNotify of the first top-level window larger than
    10 x 10 (Qt's other top-level windows, the client leader and the
    selection owner, are never mapped).
  * "painted" is the moment the damage reported inside that window since it
    was mapped has covered all of it, with the window then showing more than
    one colour (read back with XGetImage; a window still all in its
    background colour does not count, and the covering starts over). Qt
    draws the whole window into its backing store and puts it to the screen
    on the first Expose, so this is the arrival of that one image. Drawing to
    an unmapped window changes nothing and is not reported.
  * the resident set size is VmRSS of /proc/<pid>/status, read as soon as the
    painting is seen (the program is idle in its event loop by then), and
    VmHWM, the peak so far, beside it. The CPU time the program's threads
    have used by then (the sum of /proc/<pid>/task/*/schedstat, in ns) is
    read at the same moment: unlike the elapsed time it hardly depends on
    what else the machine is running.

Times run from just before the fork to the arrival of the X event, on
CLOCK_MONOTONIC; the script blocks in select() on the X connection, so the
resolution is that of the event delivery, well under a millisecond on an
idle machine (the scheduling of this script is the limit on a busy one).
No window manager runs: the programs map their windows themselves, as
they would under any manager that does not reparent.

Usage: measure.py [--runs N] [--warmup N] [--build DIR] [--pyrel EXE] [--bare EXE]
                  [--also NAME=EXE ...] [--json FILE] [--verbose]
Python 3 standard library only; needs Xvfb, libx11-6 and libxdamage1.
"""

import argparse
import ctypes
import json
import os
import shutil
import signal
import statistics
import subprocess
import sys
import time

from xlib import (ConfigureNotify, CreateNotify, Display, MapNotify, PACKAGES, XConfigureEvent, XCreateWindowEvent,
                  XDamageNotifyEvent, XMapEvent)

# --- one run -----------------------------------------------------------------

def read_status(pid):
    """VmRSS and VmHWM in KiB, and the CPU time in ns that the process's
    threads have run so far (from schedstat, which counts in nanoseconds)."""
    values = {"cpu_ns": 0}
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            key, _, rest = line.partition(":")
            if key in ("VmRSS", "VmHWM"):
                values[key] = int(rest.split()[0])
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as schedstat:
                values["cpu_ns"] += int(schedstat.read().split()[0])
        except (FileNotFoundError, ProcessLookupError):
            pass
    return values


def one_run(display, display_name, executable, verbose, timeout=30.0):
    display.drain()
    env = dict(os.environ, DISPLAY=display_name)
    env.pop("QT_QPA_PLATFORM", None)
    env.pop("WAYLAND_DISPLAY", None)

    windows = {}          # top-level window -> [x, y, width, height]
    main = None           # the mapped window
    coverage = None       # one byte a pixel of `main`, set once damaged
    covered = 0
    t_map = t_paint = None
    status = {}
    colours = 0

    t0 = time.monotonic_ns()
    process = subprocess.Popen([executable], env=env, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + timeout
    try:
        while t_paint is None:
            if time.monotonic() > deadline or process.poll() is not None:
                raise RuntimeError(f"{executable}: no painted window (exit status {process.poll()})")
            for now, event in display.events(0.5):
                if event.type == CreateNotify:
                    e = ctypes.cast(ctypes.byref(event), ctypes.POINTER(XCreateWindowEvent)).contents
                    if e.parent == display.root:
                        windows[e.window] = [e.x, e.y, e.width, e.height]
                elif event.type == ConfigureNotify:
                    e = ctypes.cast(ctypes.byref(event), ctypes.POINTER(XConfigureEvent)).contents
                    if e.window in windows:
                        windows[e.window] = [e.x, e.y, e.width, e.height]
                        if e.window == main:
                            coverage = None
                elif event.type == MapNotify:
                    e = ctypes.cast(ctypes.byref(event), ctypes.POINTER(XMapEvent)).contents
                    size = windows.get(e.window)
                    if main is None and size and size[2] > 10 and size[3] > 10:
                        main, t_map = e.window, now
                        if verbose:
                            print(f"    map {e.window:#x} {size[2]}x{size[3]}+{size[0]}+{size[1]} "
                                  f"at {(now - t0) / 1e6:.2f} ms")
                elif event.type == display.damage_event and main is not None:
                    # Root-window coordinates: clip to the main window.
                    e = ctypes.cast(ctypes.byref(event), ctypes.POINTER(XDamageNotifyEvent)).contents
                    left, top, width, height = windows[main]
                    if coverage is None:
                        coverage, covered = bytearray(width * height), 0
                    a = e.area
                    x0, y0 = max(a.x - left, 0), max(a.y - top, 0)
                    x1, y1 = min(a.x - left + a.width, width), min(a.y - top + a.height, height)
                    if verbose:
                        print(f"    damage {a.x},{a.y} {a.width}x{a.height} at {(now - t0) / 1e6:.2f} ms")
                    if x1 <= x0 or y1 <= y0:
                        continue
                    for y in range(y0, y1):
                        row = coverage[y * width + x0:y * width + x1]
                        covered += len(row) - row.count(1)
                        coverage[y * width + x0:y * width + x1] = b"\1" * (x1 - x0)
                    if covered < width * height:
                        continue
                    status = read_status(process.pid)
                    # A window still in one flat colour has only its
                    # background: wait for the next complete picture.
                    colours = display.distinct_colours(main, width, height)
                    if colours >= 3:
                        t_paint = now
                        break
                    if verbose:
                        print(f"    window all in one colour: not painted yet")
                    coverage = None
                if time.monotonic() > deadline:
                    break
    finally:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
    return {"map_ms": (t_map - t0) / 1e6, "paint_ms": (t_paint - t0) / 1e6,
            "cpu_ms": status["cpu_ns"] / 1e6, "rss_kib": status.get("VmRSS", 0),
            "hwm_kib": status.get("VmHWM", 0), "colours": colours}


# --- Xvfb --------------------------------------------------------------------

def free_displays():
    for number in range(70, 200):
        if not os.path.exists(f"/tmp/.X{number}-lock") and not os.path.exists(f"/tmp/.X11-unix/X{number}"):
            yield number


def start_xvfb():
    # Another Xvfb may take the same number between the look and the start:
    # then this one ends at once and the next free number is tried.
    for number in free_displays():
        name = f":{number}"
        server = subprocess.Popen(["Xvfb", name, "-noreset", "-nolisten", "tcp", "-screen", "0", "1024x768x24"],
                                  stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(200):
            if server.poll() is not None:
                break
            if os.path.exists(f"/tmp/.X11-unix/X{number}"):
                try:
                    return server, name, Display(name)
                except RuntimeError:
                    pass
            time.sleep(0.05)
        else:
            server.kill()
            server.wait()
            raise RuntimeError("Xvfb did not start")
    raise RuntimeError("no free X display number")


# --- report ------------------------------------------------------------------

def summary(values):
    ordered = sorted(values)
    q = statistics.quantiles(ordered, n=4) if len(ordered) >= 4 else [ordered[0], 0, ordered[-1]]
    return {"median": statistics.median(ordered), "min": ordered[0], "max": ordered[-1],
            "q1": q[0], "q3": q[2]}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default=os.path.join(here, "..", "..", "build-bench"),
                        help="the build folder holding app/qt/Pyrel and bench/startup/bench_bare_window")
    parser.add_argument("--pyrel", help="Pyrel executable (default: BUILD/app/qt/Pyrel)")
    parser.add_argument("--bare", help="baseline executable (default: BUILD/bench/startup/bench_bare_window)")
    parser.add_argument("--also", action="append", default=[], metavar="NAME=EXE",
                        help="another program to interleave with the two and compare with the bare window "
                             "(e.g. an earlier build of Pyrel); may be repeated")
    parser.add_argument("--runs", type=int, default=15, help="measured runs of each program (default 15)")
    parser.add_argument("--warmup", type=int, default=2, help="unmeasured runs of each first (default 2)")
    parser.add_argument("--json", help="also write every run to this file")
    parser.add_argument("--verbose", action="store_true", help="print each map and damage event")
    args = parser.parse_args()

    programs = {"Pyrel": args.pyrel or os.path.join(args.build, "app", "qt", "Pyrel"),
                "bare": args.bare or os.path.join(args.build, "bench", "startup", "bench_bare_window")}
    for extra in args.also:
        name, _, path = extra.partition("=")
        if not path or name in programs:
            sys.exit(f"--also {extra}: expected a new NAME=EXE")
        programs[name] = path
    for name, path in programs.items():
        if not os.access(path, os.X_OK):
            sys.exit(f"{name}: {path} is not an executable (build it first; see bench/README.md)")
        programs[name] = os.path.abspath(path)

    if not shutil.which("Xvfb"):
        sys.exit(f"Xvfb not found: apt-get install {PACKAGES}")
    server, display_name, display = start_xvfb()
    results = {name: [] for name in programs}
    try:
        print(f"Xvfb on {display_name}; {args.warmup} warm-up and {args.runs} measured runs each, interleaved")
        for i in range(args.warmup + args.runs):
            for name, path in programs.items():
                if args.verbose:
                    print(f"  run {i + 1} {name}")
                run = one_run(display, display_name, path, args.verbose)
                if i >= args.warmup:
                    results[name].append(run)
                time.sleep(0.2)
    finally:
        display.close()
        server.terminate()
        server.wait()

    print()
    print("| program | mapped, ms | painted, ms: median (IQR; min–max) | CPU used by then, ms: median (IQR) "
          "| VmRSS at paint, KiB: median (min–max) | VmHWM, KiB |")
    print("|---|---|---|---|---|---|")
    medians = {}
    for name, runs in results.items():
        mapped, painted, cpu, rss, hwm = (summary([r[key] for r in runs])
                                          for key in ("map_ms", "paint_ms", "cpu_ms", "rss_kib", "hwm_kib"))
        medians[name] = {"paint_ms": painted["median"], "cpu_ms": cpu["median"], "rss_kib": rss["median"]}
        print(f"| {name} | {mapped['median']:.1f} "
              f"| {painted['median']:.1f} ({painted['q1']:.1f}–{painted['q3']:.1f}; {painted['min']:.1f}–{painted['max']:.1f}) "
              f"| {cpu['median']:.1f} ({cpu['q1']:.1f}–{cpu['q3']:.1f}) "
              f"| {rss['median']:.0f} ({rss['min']:.0f}–{rss['max']:.0f}) | {hwm['median']:.0f} |")
    print()
    ratios = {}
    for name in programs:
        if name == "bare":
            continue
        ratios[name] = {key: medians[name][key] / medians["bare"][key] for key in ("paint_ms", "cpu_ms", "rss_kib")}
        print(f"{name} / bare window (ratio of medians): time to painted {ratios[name]['paint_ms']:.3f}x, "
              f"CPU time {ratios[name]['cpu_ms']:.3f}x, RSS {ratios[name]['rss_kib']:.3f}x (goal: at most 1.10x)")
    if args.json:
        with open(args.json, "w") as out:
            json.dump({"runs": results, "medians": medians, "ratios": ratios}, out, indent=1)


if __name__ == "__main__":
    main()
