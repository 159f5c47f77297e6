#!/usr/bin/env python3
"""Runs a command several times (stdout to /dev/null) and prints the best CPU time
(user + system, from the kernel's accounting) and the best wall-clock time in seconds.

usage: run_timed.py RUNS CMD [ARG...]
"""
import os
import subprocess
import sys
import time


def main():
    runs = int(sys.argv[1])
    cmd = sys.argv[2:]
    best_cpu = best_wall = float("inf")
    with open(os.devnull, "wb") as null:
        for _ in range(runs):
            start = time.perf_counter()
            proc = subprocess.Popen(cmd, stdout=null)
            _, status, usage = os.wait4(proc.pid, 0)
            wall = time.perf_counter() - start
            if os.waitstatus_to_exitcode(status) != 0:
                sys.exit(f"failed: {' '.join(cmd)}")
            best_cpu = min(best_cpu, usage.ru_utime + usage.ru_stime)
            best_wall = min(best_wall, wall)
    print(f"{best_cpu:.6f} {best_wall:.6f}")


if __name__ == "__main__":
    main()
