#!/usr/bin/env python3
"""Whole-process costs of the app on the simulated Mac, measured the stable way.

  measure-sim.py PROGRAM [--floor FLOOR_PROGRAM] [--only NAME ...]

Each figure is the difference between two runs that differ only in what is counted (a longer idle
time, or more picks), so start-up cancels out:
  tick        instructions (callgrind), heap allocations (memcheck) and system calls (strace)
              per headless tick, with XDR at 1250 nits and Deep Blacks on (a 36 KB display.plist)
  tick-headroom  the same through the headroom method (brightnessMethod "headroom"): the table
              read back and the headroom read every tick
  tick-5mb    the same with a 5 MB display.plist, and the resident memory
  tick-touched  instructions per tick with display.plist touched (its time changed, not its
              bytes) before every tick
  pick        instructions, allocations and fsyncs of one "pick 250% - 1250 nits"
  terminal-tick  instructions per tick in the terminal front end (tmux, 80 x 24)
  idle        CPU time over 60 s at rest, from /proc, headless and in a terminal (tmux)
  startup     exec to the answer of the first command, median of 30, against --floor in turn,
              restoring XDR and Deep Blacks (startup) or nothing (startup-plain)
  launch      fsyncs from exec to ready, when nothing is restored
"""

import argparse
import os
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

DEFAULTS = """<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
<key>autoEnableXDR</key><true/><key>lastNitsValue</key><real>1250</real>
<key>deepBlacksEnabled</key><true/><key>deepBlacksLevel</key><integer>2</integer>
<key>deepBlacksWarningShown</key><true/>
</dict></plist>
"""


def environment(home):
    env = dict(os.environ)
    env.update(HOME=home, XDG_STATE_HOME=os.path.join(home, "state"),
               XDG_CONFIG_HOME=os.path.join(home, "config"), LANG="C.UTF-8")
    env.pop("TERM", None)
    return env


def prepare(program, padding_bytes=0, restored=True, method=None):
    """A home whose app runs with XDR at 1250 and Deep Blacks on, after one launch to make it."""
    home = tempfile.mkdtemp(prefix="lumora-measure-")
    config = os.path.join(home, "config", "lumora-virir")
    os.makedirs(config)
    if restored:
        defaults = DEFAULTS
        if method:
            defaults = defaults.replace("</dict>", "<key>brightnessMethod</key><string>%s</string>"
                                        "</dict>" % method)
        with open(os.path.join(config, "defaults.plist"), "w") as f:
            f.write(defaults)
    run(program, home, seconds=1.5)
    if padding_bytes:
        path = os.path.join(home, "state", "lumora-virir", "display.plist")
        text = open(path).read()
        entries = "".join("<integer>%d</integer>" % i for i in range(padding_bytes // 20))
        text = text.replace("<key>Displays</key>", "<key>Padding</key><array>%s</array>"
                            "<key>Displays</key>" % entries, 1)
        open(path, "w").write(text)
    return home


def run(program, home, seconds, commands=(), wrapper=(), stderr=subprocess.DEVNULL):
    """Runs the app headless for `seconds`, sends `commands` after a second, ends it with
    SIGTERM, and returns its pid and exit status."""
    process = subprocess.Popen(list(wrapper) + [program], stdin=subprocess.PIPE,
                               stdout=subprocess.DEVNULL, stderr=stderr, env=environment(home))
    time.sleep(min(1.0, seconds))
    for command in commands:
        process.stdin.write((command + "\n").encode())
        process.stdin.flush()
        time.sleep(0.05)
    time.sleep(max(0.0, seconds - 1.0 - 0.05 * len(commands)))
    target = process.pid
    if wrapper and wrapper[0] == "strace":
        # strace runs the app as its child; the signal is for the app.
        children = open("/proc/%d/task/%d/children" % (process.pid, process.pid)).read().split()
        target = int(children[0])
    os.kill(target, signal.SIGTERM)
    process.wait(timeout=60)
    return target


def callgrind(program, home, seconds, commands=()):
    out = os.path.join(home, "callgrind.out")
    run(program, home, seconds, commands,
        wrapper=["valgrind", "--tool=callgrind", "--callgrind-out-file=" + out])
    for line in open(out):
        if line.startswith("summary:") or line.startswith("totals:"):
            return int(line.split()[1])
    raise RuntimeError("no totals in callgrind output")


def allocations(program, home, seconds, commands=()):
    log = os.path.join(home, "memcheck.log")
    run(program, home, seconds, commands,
        wrapper=["valgrind", "--tool=memcheck", "--log-file=" + log])
    match = re.search(r"total heap usage: ([\d,]+) allocs", open(log).read())
    return int(match.group(1).replace(",", ""))


def syscalls(program, home, seconds, commands=(), only=None):
    out = os.path.join(home, "strace.out")
    wrapper = ["strace", "-f", "-c", "-o", out]
    if only:
        wrapper += ["-e", "trace=" + only]
    run(program, home, seconds, commands, wrapper=wrapper)
    for line in open(out):
        if line.strip().endswith("total"):
            return int(line.split()[3])  # % time, seconds, usecs/call, calls, [errors,] total
    return 0


def headless_steady_instructions(program, home, settle, seconds, touch=None):
    out = os.path.join(home, "callgrind.steady")
    process = subprocess.Popen(["valgrind", "--tool=callgrind", "--callgrind-out-file=" + out,
                                program], stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, env=environment(home))
    if touch:
        toucher = threading.Thread(target=touch_often, args=(touch, settle + seconds),
                                   daemon=True)
        toucher.start()
    steady_instructions(process.pid, settle, seconds)
    time.sleep(1)
    process.send_signal(signal.SIGTERM)
    process.wait()
    dumps = sorted(f for f in os.listdir(home) if f.startswith("callgrind.steady."))
    for line in open(os.path.join(home, dumps[-1])):
        if line.startswith("summary:") or line.startswith("totals:"):
            return int(line.split()[1])
    raise RuntimeError("no totals in callgrind output")


def touch_often(path, seconds):
    """Changes the file's time, and nothing else, four times a second."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        os.utime(path)
        time.sleep(0.25)


def measure_touched_tick(program):
    home = prepare(program)
    try:
        path = os.path.join(home, "state", "lumora-virir", "display.plist")
        return {"instructions": headless_steady_instructions(program, home, 15, 10, path) / 10}
    finally:
        shutil.rmtree(home, ignore_errors=True)


def per(figure, short, long, count):
    return (long - short) / count


def measure_tick(program, padding=0, method=None):
    home = prepare(program, padding, method=method)
    try:
        # Under valgrind a 5 MB file takes a while to be read at start: both runs wait it out.
        short, long = (90, 100) if padding else (6, 16)
        instructions = headless_steady_instructions(program, home, 120 if padding else 15, 10) / 10
        allocs = per("a", allocations(program, home, short), allocations(program, home, long), 10)
        calls = per("s", syscalls(program, home, short), syscalls(program, home, long), 10)
        result = {"instructions": instructions, "allocations": allocs, "syscalls": calls}
        if padding:
            process = subprocess.Popen([program], stdin=subprocess.PIPE,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                       env=environment(home))
            time.sleep(4)
            rss = [l for l in open("/proc/%d/status" % process.pid) if l.startswith("VmRSS")]
            result["rss"] = rss[0].split(":")[1].strip()
            process.send_signal(signal.SIGTERM)
            process.wait()
        return result
    finally:
        shutil.rmtree(home, ignore_errors=True)


def steady_instructions(pid, settle, seconds):
    """Instructions of a process already running under callgrind over `seconds`, counted from
    zero once it has had `settle` seconds to start."""
    time.sleep(settle)
    subprocess.run(["callgrind_control", "--zero", str(pid)], capture_output=True, check=True)
    time.sleep(seconds)
    dump = subprocess.run(["callgrind_control", "--dump=steady", str(pid)], capture_output=True,
                          text=True, check=True)
    return dump


def measure_terminal_tick(program, settle=15, seconds=20):
    """Per tick in the terminal front end (tmux, 80 x 24), counted over `seconds` at rest; a
    minute's clock redraw in the window is counted too, and said."""
    home = prepare(program)
    server = "lumora-measure-%d" % os.getpid()
    try:
        out = os.path.join(home, "callgrind.terminal")
        env = environment(home)
        settings = " ".join("%s=%s" % (k, env[k])
                            for k in ("HOME", "XDG_STATE_HOME", "XDG_CONFIG_HOME"))
        subprocess.run(["tmux", "-L", server, "-f", "/dev/null", "new-session", "-d", "-x", "80",
                        "-y", "24", "env LANG=C.UTF-8 TERM=xterm-256color %s valgrind "
                        "--tool=callgrind --callgrind-out-file=%s %s" % (settings, out, program)],
                       check=True)
        time.sleep(1)
        pid = int(subprocess.run(["tmux", "-L", server, "list-panes", "-F", "#{pane_pid}"],
                                 capture_output=True, text=True).stdout.split()[0])
        start = time.localtime()
        steady_instructions(pid, settle, seconds)
        end = time.localtime()
        time.sleep(1)
        dumps = sorted(f for f in os.listdir(home) if f.startswith("callgrind.terminal."))
        total = 0
        for line in open(os.path.join(home, dumps[-1])):
            if line.startswith("summary:") or line.startswith("totals:"):
                total = int(line.split()[1])
        crossed = start.tm_min != end.tm_min
        return {"instructions": total / seconds, "minute_redraw_in_window": crossed}
    finally:
        subprocess.run(["tmux", "-L", server, "kill-server"], capture_output=True)
        shutil.rmtree(home, ignore_errors=True)


def measure_pick(program):
    home = prepare(program)
    try:
        picks = ["pick 250% \u2013 1250 nits"] * 10
        seconds = 4
        instructions = per("i", callgrind(program, home, seconds),
                           callgrind(program, home, seconds, picks), 10)
        allocs = per("a", allocations(program, home, seconds),
                     allocations(program, home, seconds, picks), 10)
        fsyncs = per("f", syscalls(program, home, seconds, only="fsync,fdatasync,sync_file_range"),
                     syscalls(program, home, seconds, picks, only="fsync,fdatasync,sync_file_range"),
                     10)
        return {"instructions": instructions, "allocations": allocs, "fsyncs": fsyncs}
    finally:
        shutil.rmtree(home, ignore_errors=True)


def cpu_nanoseconds(pid):
    """Time on a CPU, from the scheduler's own count (utime and stime move in 10 ms steps)."""
    total = 0
    for task in os.listdir("/proc/%d/task" % pid):
        total += int(open("/proc/%d/task/%s/schedstat" % (pid, task)).read().split()[0])
    return total


def idle_percent(pid, seconds):
    time.sleep(3)
    before = cpu_nanoseconds(pid)
    time.sleep(seconds)
    after = cpu_nanoseconds(pid)
    return 100.0 * (after - before) / 1e9 / seconds


def measure_idle(program, seconds=60):
    home = prepare(program)
    result = {}
    try:
        process = subprocess.Popen([program], stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, env=environment(home))
        result["headless_cpu_percent"] = idle_percent(process.pid, seconds)
        process.send_signal(signal.SIGTERM)
        process.wait()

        server = "lumora-measure-%d" % os.getpid()
        env = environment(home)
        command = " ".join("%s=%s" % (k, env[k]) for k in
                           ("HOME", "XDG_STATE_HOME", "XDG_CONFIG_HOME"))
        subprocess.run(["tmux", "-L", server, "-f", "/dev/null", "new-session", "-d", "-x", "80",
                        "-y", "24", "env LANG=C.UTF-8 TERM=xterm-256color %s %s" %
                        (command, program)], check=True)
        time.sleep(1)
        shell = subprocess.run(["tmux", "-L", server, "list-panes", "-F", "#{pane_pid}"],
                               capture_output=True, text=True).stdout.split()[0]
        result["terminal_cpu_percent"] = idle_percent(int(shell), seconds)
        subprocess.run(["tmux", "-L", server, "kill-server"])
        return result
    finally:
        shutil.rmtree(home, ignore_errors=True)


def time_to_ready(program, home):
    start = time.perf_counter()
    process = subprocess.Popen([program], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL, env=environment(home))
    process.stdin.write(b"status\n")
    process.stdin.flush()
    while True:
        line = process.stdout.readline()
        if not line or line.startswith(b"status:"):
            break
    elapsed = time.perf_counter() - start
    process.send_signal(signal.SIGTERM)
    process.wait()
    return elapsed


def measure_startup(program, floor, runs=30, restored=True):
    home = prepare(program, restored=restored)
    try:
        app, baseline = [], []
        for _ in range(runs):
            app.append(time_to_ready(program, home))
            if floor:
                baseline.append(time_to_ready(floor, home))
        result = {"median_ms": 1000 * statistics.median(app)}
        if floor:
            result["floor_median_ms"] = 1000 * statistics.median(baseline)
            result["ratio"] = result["median_ms"] / result["floor_median_ms"]
        return result
    finally:
        shutil.rmtree(home, ignore_errors=True)


def measure_launch(program):
    """fsyncs of a launch that restores nothing, on files that are already there."""
    home = prepare(program, restored=False)
    try:
        return {"fsyncs": syscalls(program, home, 2, only="fsync,fdatasync,sync_file_range")}
    finally:
        shutil.rmtree(home, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("--floor")
    parser.add_argument("--only", nargs="*")
    arguments = parser.parse_args()
    program = os.path.abspath(arguments.program)
    floor = os.path.abspath(arguments.floor) if arguments.floor else None
    figures = {
        "tick": lambda: measure_tick(program),
        "tick-headroom": lambda: measure_tick(program, method="headroom"),
        "tick-5mb": lambda: measure_tick(program, padding=5 * 1024 * 1024),
        "tick-touched": lambda: measure_touched_tick(program),
        "pick": lambda: measure_pick(program),
        "terminal-tick": lambda: measure_terminal_tick(program),
        "idle": lambda: measure_idle(program),
        "startup": lambda: measure_startup(program, floor),
        "startup-plain": lambda: measure_startup(program, floor, restored=False),
        "launch": lambda: measure_launch(program),
    }
    for name, measure in figures.items():
        if arguments.only and name not in arguments.only:
            continue
        print(name, measure(), flush=True)


if __name__ == "__main__":
    sys.exit(main())
