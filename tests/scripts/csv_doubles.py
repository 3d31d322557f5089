#!/usr/bin/env python3
"""Reads a CSV table with Python's csv module, as a spreadsheet user's script would.

Prints "H<TAB>field" for each field of the header row, then "V<TAB>value" for each number of
the rows after it, in order, as repr(float) writes it: the shortest text that reads back to the
double Python read. A row whose length differs from the header's is an error.
"""
import csv
import sys

with open(sys.argv[1], newline="", encoding="utf-8") as f:
    rows = list(csv.reader(f))
header, body = rows[0], rows[1:]
for field in header:
    print("H\t" + field)
for row in body:
    if len(row) != len(header):
        sys.exit("row of %d fields under a header of %d" % (len(row), len(header)))
    for field in row:
        print("V\t" + repr(float(field)))
