#!/usr/bin/python3
"""Fails when a source folder reaches past its layer.

Each folder under src/ is one library. A folder may include its own headers and those of the
folders listed for it below, nothing else; the core folders (models, file formats, generators)
may include no Qt GUI or widget header at all. Run with the source root as argument.
"""

import os
import re
import sys

# Folder -> the folders whose headers it may include. Longer names win over their parents
# (platform/gui is not platform).
ALLOWED = {
    "platform": set(),
    "format": {"platform"},
    "forms": {"platform", "format"},
    "themes": {"platform", "format"},
    "document": {"platform", "format", "forms", "themes"},
    "html": {"platform", "format", "forms", "themes", "document"},
    "project": {"platform", "format", "forms", "document", "html", "themes"},
    "publish": {"platform", "format", "forms", "document", "html", "themes"},
    "codecs": {"platform"},
    "art": set(),
    "platform/gui": {"platform"},
    "viewer": {"platform", "platform/gui", "codecs"},
    "themes/gui": {"platform", "platform/gui", "format", "themes", "art"},
    "forms/gui": {"platform", "platform/gui", "format", "forms", "themes", "document", "html", "art"},
    "dialogs": {"platform", "platform/gui", "format", "forms", "document", "html", "themes", "themes/gui",
                "codecs", "viewer", "art"},
    "publish/gui": {"platform", "platform/gui", "format", "forms", "document", "html", "themes", "publish", "art"},
    "app/panels": {"platform", "platform/gui", "format", "forms", "document", "html", "themes", "themes/gui",
                   "forms/gui", "codecs", "viewer", "art", "dialogs", "project"},
    "app": {"platform", "platform/gui", "format", "forms", "document", "html", "themes", "themes/gui",
            "forms/gui", "codecs", "viewer", "art", "dialogs", "project", "publish", "publish/gui", "app/panels"},
}

# Folders that link Qt Core only.
CORE = {"platform", "format", "forms", "document", "themes", "html", "project", "publish"}

QT_GUI_MODULES = ("QtGui", "QtWidgets")

# The one piece of Qt Gui a core folder may use: the page document keeps its history on Qt's undo
# stack, which has lived in Qt Gui since Qt 6. It draws nothing.
CORE_EXCEPTIONS = {"project": {"QUndoStack", "QUndoCommand", "qundostack.h"}}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def folder_of(relative):
    """The library folder a path below src/ belongs to, or None."""
    best = None
    for name in ALLOWED:
        if relative == name or relative.startswith(name + "/"):
            if best is None or len(name) > len(best):
                best = name
    return best


def qt_gui_headers():
    """Names of every public Qt GUI and widget header, from the installed Qt."""
    names = set()
    for root in ("/usr/include/x86_64-linux-gnu/qt6", "/usr/include/qt6", "/usr/include/aarch64-linux-gnu/qt6"):
        for module in QT_GUI_MODULES:
            path = os.path.join(root, module)
            if os.path.isdir(path):
                names.update(os.listdir(path))
    return names


def main():
    src = os.path.join(sys.argv[1] if len(sys.argv) > 1 else ".", "src")
    gui_headers = qt_gui_headers()
    if not gui_headers:
        print("check_layers: no Qt GUI headers found to check against")
        return 1
    faults = []
    for root, _, files in os.walk(src):
        for name in files:
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(root, name)
            own = folder_of(os.path.relpath(path, src))
            if own is None:
                faults.append(f"{path}: a folder with no place among the layers")
                continue
            with open(path, encoding="utf-8") as source:
                for number, line in enumerate(source, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    quoted, header = match.group(1) == '"', match.group(2)
                    if quoted and "/" in header:
                        target = folder_of(os.path.dirname(header))
                        if target and target != own and target not in ALLOWED[own]:
                            faults.append(f"{path}:{number}: {own}/ may not include {header}")
                    elif not quoted and own in CORE:
                        if header.split("/")[-1] in CORE_EXCEPTIONS.get(own, ()):
                            continue
                        module = header.split("/")[0]
                        if module in QT_GUI_MODULES or header in gui_headers:
                            faults.append(f"{path}:{number}: {own}/ links Qt Core only, not {header}")
    for fault in faults:
        print(fault)
    print(f"check_layers: {len(faults)} fault(s)")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
