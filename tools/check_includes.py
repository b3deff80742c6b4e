#!/usr/bin/env python3
"""Checks the include graph of src/: every #include "..." points to a folder
at the same layer or below, and no two units include each other, directly or
around a loop. A unit is a header with its .cpp (and its _internal.h header,
the part of it its backends see). Prints each fault; exits 1 on any."""
import pathlib
import re
import sys

# Bottom to top; folders on one line share a layer.
LAYERS = [
    ["platform"],
    ["driver", "res"],  # the driver's call shapes and the resource ids
    ["channel"],
    ["transfer"],
    ["catalogue"],
    ["description"],
    ["printers"],
    ["app"],
]
LAYER = {folder: level for level, folders in enumerate(LAYERS) for folder in folders}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def unit_of(name: pathlib.PurePath) -> pathlib.PurePath:
    return name.with_name(name.stem.removesuffix("_internal"))


def main(src: pathlib.Path) -> int:
    faults = []
    graph = {}  # unit -> the units it includes
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp", ".rc"):
            continue
        name = path.relative_to(src)
        level = LAYER.get(name.parts[0])
        if level is None:
            faults.append(f"{name}: folder {name.parts[0]} has no place in the layers")
            continue
        unit = graph.setdefault(unit_of(name), set())
        for included in INCLUDE.findall(path.read_text(errors="replace")):
            target = next((t for t in (src / included, path.parent / included) if t.is_file()), None)
            if target is None:
                faults.append(f'{name}: "{included}" is not under src/')
                continue
            target = target.resolve().relative_to(src)
            if LAYER.get(target.parts[0], len(LAYERS)) > level:
                faults.append(f"{name} includes {target}, a layer above it")
            if unit_of(target) != unit_of(name):
                unit.add(unit_of(target))

    # Depth-first search; a unit met again while still on the path closes a loop.
    state = {}  # unit -> "open" while on the path, "done" after
    def visit(unit, path):
        state[unit] = "open"
        for next_unit in sorted(graph.get(unit, ())):
            if state.get(next_unit) == "open":
                loop = path[path.index(next_unit):] + [next_unit]
                faults.append("include loop: " + " -> ".join(map(str, loop)))
            elif next_unit not in state:
                visit(next_unit, path + [next_unit])
        state[unit] = "done"
    for unit in sorted(graph):
        if unit not in state:
            visit(unit, [unit])

    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src").resolve()))
