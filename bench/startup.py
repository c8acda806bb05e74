#!/usr/bin/env python3
"""Whole-process start to first paint, under Xvfb with openbox, beside a trivial Qt widgets program.

Usage: bench/startup.py <build dir> [--runs N] [--cards 0,100000]

Each program is started from a copy of the program folder (grown by generated cards where asked) and
reports the monotonic clock once its first paint has been flushed (DRAVENNA_FIRST_PAINT); the time
counted is from just before the process is created to that report. Runs alternate between the
programs so that load on the machine falls on all of them alike. Prints median and minimum per
program and the ratio of medians to the trivial program.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def start_display(number):
    xvfb = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    socket = f"/tmp/.X11-unix/X{number}"
    for _ in range(100):
        if os.path.exists(socket):
            break
        time.sleep(0.05)
    else:
        xvfb.kill()
        sys.exit("Xvfb did not start")
    env = dict(os.environ, DISPLAY=f":{number}")
    wm = subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(1.0)
    return xvfb, wm


def one_run(command, env):
    t0 = time.monotonic_ns()
    proc = subprocess.Popen(command, env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    painted = None
    for line in proc.stdout:
        if line.startswith("first-paint "):
            painted = int(line.split()[1])
    proc.wait(timeout=120)
    if painted is None:
        sys.exit(f"{command[0]} reported no first paint (exit {proc.returncode})")
    return (painted - t0) / 1e6


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("--cards", default="0,100000")
    parser.add_argument("--display", type=int, default=97)
    args = parser.parse_args()

    build = os.path.abspath(args.build)
    program_dir = os.path.join(build, "program")
    trivial = os.path.join(build, "bench", "trivial_qt")
    grow = os.path.join(build, "bench", "grow_catalogue")
    work = tempfile.mkdtemp(prefix="dravenna-startup-")
    programs = [("trivial Qt program", [trivial])]
    for cards in (int(c) for c in args.cards.split(",")):
        folder = os.path.join(work, f"program-{cards}")
        shutil.copytree(program_dir, folder, ignore=shutil.ignore_patterns("*.lock"))
        if cards:
            subprocess.run([grow, os.path.join(folder, "dravennacard.db"), str(cards)], check=True)
        label = "shipped catalogue" if cards == 0 else f"{cards} more cards"
        programs.append((f"dravenna-deckbuilder, {label}", [os.path.join(folder, "dravenna-deckbuilder")]))

    xvfb, wm = start_display(args.display)
    env = dict(os.environ, DISPLAY=f":{args.display}", QT_QPA_PLATFORM="xcb", DRAVENNA_FIRST_PAINT="1",
               XDG_CONFIG_HOME=os.path.join(work, "config"), XDG_DATA_HOME=os.path.join(work, "data"),
               XDG_RUNTIME_DIR=work)
    try:
        for _, command in programs:  # warm the file cache
            one_run(command, env)
        times = {name: [] for name, _ in programs}
        for _ in range(args.runs):
            for name, command in programs:
                times[name].append(one_run(command, env))
    finally:
        wm.terminate()
        xvfb.terminate()
        wm.wait()
        xvfb.wait()
        shutil.rmtree(work, ignore_errors=True)

    floor = statistics.median(times[programs[0][0]])
    print(f"start to first paint, {args.runs} runs each, load average {os.getloadavg()[0]:.2f}")
    for name, _ in programs:
        median = statistics.median(times[name])
        print(f"  {name:45s} median {median:7.1f} ms  min {min(times[name]):7.1f} ms  {median / floor:5.2f} x")


if __name__ == "__main__":
    main()
