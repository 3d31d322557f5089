#!/usr/bin/python3
"""numpy.loadtxt on the pairs bench_import reads, as the yardstick for our text import.

Run bench_import first: it writes the file (the same pairs with blanks as separators, which is
what loadtxt takes). Needs Debian's python3-numpy.
"""
import statistics
import sys
import tempfile
import time
from pathlib import Path

import numpy

path = Path(tempfile.gettempdir()) / "lumetra-bench" / "import-plain.txt"
if not path.exists():
    sys.exit(f"{path} is missing: run build/bench/bench_import first")
times = []
for _ in range(5):
    start = time.perf_counter()
    pairs = numpy.loadtxt(path)
    times.append(time.perf_counter() - start)
print(f"numpy.loadtxt {numpy.__version__}: {len(pairs)} pairs, median {statistics.median(times) * 1000:.0f} ms")
