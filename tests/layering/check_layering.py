#!/usr/bin/env python3
"""Keeps the shape of src/: the core uses Qt Core at most (the case store Qt SQL too) and no ui/
header, each core subject leans on text/ and platform/ at most, every window points down to
shared parts only, and no two folders include each other in a circle.

usage: check_layering.py <src folder> <QtCore include folder> <QtSql include folder>"""
import re
import sys
from pathlib import Path

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)
# The subjects every core subject may lean on.
CORE_FOUNDATION = {"core/text", "core/platform"}
# The floors of the widget layer, lowest first: the common parts, the reports made of them, the
# windows, and the main window that opens the windows. A folder includes only lower floors (the
# common parts may also include each other); a folder not named here is a window.
UI_COMMON = "ui/common"
UI_FLOORS = {"ui/reports": 1, "ui/main_window": 3}
UI_WINDOW_FLOOR = 2
# The core subjects made of the others (an evidence package gathers records, photos and the
# program's own facts): they may lean on any core subject, and no core subject leans on them.
CORE_COMPOSITES = {"core/evidence"}
# The one core subject that talks to a database.
SQL_SUBJECT = "core/cases"


def folder_of(path: Path, src: Path) -> str:
    return path.parent.relative_to(src).as_posix()


def includes(path: Path):
    return INCLUDE.findall(path.read_text(encoding="utf-8"))


def ui_floor(folder: str) -> int:
    if folder == UI_COMMON or folder.startswith(UI_COMMON + "/"):
        return 0
    return UI_FLOORS.get(folder, UI_WINDOW_FLOOR)


def ui_include_points_up(folder: str, target: str) -> bool:
    if not (folder.startswith("ui/") and target.startswith("ui/")):
        return False
    return ui_floor(target) >= ui_floor(folder) and ui_floor(folder) > 0


def qt_module_header(name: str) -> bool:
    return re.fullmatch(r"Q[A-Za-z]+", name) is not None or name.startswith("Qt")


def check_file(path: Path, src: Path, qt: dict, graph: dict, faults: list):
    folder = folder_of(path, src)
    in_core = folder.startswith("core/")
    for kind, name in includes(path):
        if kind == '"':
            target = str(Path(name).parent.as_posix())
            if (src / name).exists() and target != folder:
                graph.setdefault(folder, set()).add(target)
                if in_core and not target.startswith("core/"):
                    faults.append(f"{path.relative_to(src)}: core includes {name}")
                if (in_core and target not in CORE_FOUNDATION
                        and folder not in CORE_FOUNDATION | CORE_COMPOSITES):
                    faults.append(f"{path.relative_to(src)}: core subject includes {name}; "
                                  "subjects lean on core/text and core/platform only")
                if in_core and target in CORE_COMPOSITES:
                    faults.append(f"{path.relative_to(src)}: core leans on the composite {name}")
                if folder in CORE_FOUNDATION and target not in CORE_FOUNDATION:
                    faults.append(f"{path.relative_to(src)}: {folder} includes {name}")
                if ui_include_points_up(folder, target):
                    faults.append(f"{path.relative_to(src)}: {folder} includes {name}; "
                                  "a window points down to reports and ui/common only")
        elif in_core and qt_module_header(name) and not (qt["core"] / name).exists():
            if folder == SQL_SUBJECT and (qt["sql"] / name).exists():
                continue
            faults.append(f"{path.relative_to(src)}: core includes <{name}>, not Qt Core")


def find_circle(graph: dict):
    state = {}

    def visit(node, trail):
        state[node] = "open"
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == "open":
                return trail + [node, nxt]
            if nxt not in state:
                circle = visit(nxt, trail + [node])
                if circle:
                    return circle
        state[node] = "done"
        return None

    for node in sorted(graph):
        if node not in state:
            circle = visit(node, [])
            if circle:
                return circle[circle.index(circle[-1]):]
    return None


def main():
    src = Path(sys.argv[1])
    qt = {"core": Path(sys.argv[2]), "sql": Path(sys.argv[3])}
    graph, faults = {}, []
    for path in sorted(src.rglob("*")):
        if path.suffix in (".h", ".cpp"):
            check_file(path, src, qt, graph, faults)
    circle = find_circle(graph)
    if circle:
        faults.append("include circle between folders: " + " -> ".join(circle))
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
