#!/usr/bin/python3
"""numpy.polyfit of order 10 on the pairs bench_accurate fits, as the yardstick for the accurate
method. Usage: numpy_polyfit.py PAIRS.bin (x then y, little-endian doubles). Prints the median
seconds of five fits. Needs Debian's python3-numpy.
"""
import statistics
import sys
import time

import numpy

data = numpy.fromfile(sys.argv[1], dtype="<f8")
half = len(data) // 2
x, y = data[:half], data[half:]
times = []
for _ in range(5):
    start = time.perf_counter()
    numpy.polyfit(x, y, 10)
    times.append(time.perf_counter() - start)
print(statistics.median(times))
