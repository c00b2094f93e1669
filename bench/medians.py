#!/usr/bin/env python3
"""Medians of benchmark runs and the ratios between clients.

    medians.py RESULTS [CLIENT/BASE ...]

RESULTS holds one run a line: label, wall seconds, CPU seconds, peak resident KiB. Prints the
median of each label, then for every CLIENT/BASE pair with both labels present the ratios of
wall time, CPU time and peak memory."""
import statistics
import sys

rows = {}
for line in open(sys.argv[1]):
    label, wall, cpu, rss = line.split()
    rows.setdefault(label, []).append((float(wall), float(cpu), int(rss)))
med = {k: tuple(statistics.median(x[i] for x in v) for i in range(3)) for k, v in rows.items()}
for k, (w, c, m) in med.items():
    print(f"{k:26s} wall {w:7.2f} s  cpu {c:7.2f} s  peak {m/1024:8.1f} MiB")
for pair in sys.argv[2:]:
    client, base = pair.split("/")
    if client in med and base in med:
        (w, c, m), (bw, bc, bm) = med[client], med[base]
        print(f"{client}/{base}: wall {w/bw:5.2f}  cpu {c/bc:5.2f}  peak {m/bm:5.2f}")
