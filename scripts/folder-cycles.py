#!/usr/bin/env python3
"""Lists the include cycles between the folders of src/.

A folder depends on another when one of its files includes a header of the other
("#include \"report/ListingView.h\""). Every group of folders that depend on each other in a
circle is printed on a line; the exit status is 1 when such a group holds a shell folder (one
whose CMakeLists.txt adds files to lumetra_shell), else 0.

    scripts/folder-cycles.py [SRC_DIR]
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z]+)/', re.MULTILINE)


def dependencies(src):
    folders = sorted(p.name for p in src.iterdir() if p.is_dir())
    graph = {f: set() for f in folders}
    for folder in folders:
        for path in (src / folder).iterdir():
            if path.suffix not in ('.h', '.cpp'):
                continue
            for used in INCLUDE.findall(path.read_text(encoding='utf-8', errors='replace')):
                if used != folder and used in graph:
                    graph[folder].add(used)
    return graph


def cycles(graph):
    """The strongly connected groups of more than one folder (Tarjan's algorithm)."""
    index, low, stack, on_stack, groups = {}, {}, [], set(), []

    def visit(v):
        index[v] = low[v] = len(index)
        stack.append(v)
        on_stack.add(v)
        for w in sorted(graph[v]):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            group = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                group.append(w)
                if w == v:
                    break
            if len(group) > 1:
                groups.append(sorted(group))

    for v in sorted(graph):
        if v not in index:
            visit(v)
    return groups


def main():
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else 'src')
    shell = {p.parent.name for p in src.glob('*/CMakeLists.txt')
             if 'lumetra_shell' in p.read_text(encoding='utf-8')}
    failed = False
    for group in cycles(dependencies(src)):
        touches_shell = bool(shell.intersection(group))
        failed = failed or touches_shell
        print(('shell: ' if touches_shell else 'core: ') + ' <-> '.join(group))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
