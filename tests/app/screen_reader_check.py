"""Reads the running program's window through AT-SPI, as a screen reader does, and closes it.

Run by screen_reader_check.sh inside a private D-Bus session on a virtual display:
    screen_reader_check.py <program> <folder to start in>
Starts the program in the folder with Qt's accessibility bridge on, checks the names,
descriptions and caption labels of its controls, presses "Salir" through the button's action
and checks that the program ends with 0. Prints one line per check and ends with
"N passed, N failed"; the exit status is 1 when any check failed.
"""
import os
import subprocess
import sys
import time

import pyatspi

program, folder = sys.argv[1], sys.argv[2]
results = []


def check(what, actual, expected):
    ok = actual == expected
    results.append(ok)
    print(("ok       " if ok else "FAILED   ") + what +
          ("" if ok else f": got {actual!r}, expected {expected!r}"))


def find_application(name, running, seconds):
    """The program's application on the bus; None when it ended or did not come in time."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline and running.poll() is None:
        for application in pyatspi.Registry.getDesktop(0):
            if application is not None and application.name == name:
                return application
        time.sleep(0.2)
    return None


def controls(node, depth=0):
    """Every accessible below `node`, the drive box's own drop-down list left out."""
    for child in node:
        if child is None:
            continue
        yield child
        if depth < 6 and child.getRole() != pyatspi.ROLE_COMBO_BOX:
            yield from controls(child, depth + 1)


def labels_of(control):
    return [relation.getTarget(0).name.strip() for relation in control.getRelationSet()
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY]


def read_window(application):
    """Checks what a screen reader reads; returns the "Salir" button, None when not found."""
    found = list(controls(application))

    def by_role(role):
        return [node for node in found if node.getRole() == role]

    buttons = {node.description: node for node in by_role(pyatspi.ROLE_PUSH_BUTTON)}
    for caption in ("Transformar datos desde ROVA hacia Plantivo",
                    "Transformar datos desde Plantivo hacia ROVA"):
        button = buttons.get(caption)
        check(f'a button described "{caption}"', button is not None, True)
        if button is not None:
            check("  named", button.name, "Aceptar")
            check("  labelled by its caption", labels_of(button), [caption])
    close = buttons.get("Cierra la ventana y termina el programa")
    check('"Salir" named and described', close.name if close else None, "Salir")

    shown_folder = [node.name for node in by_role(pyatspi.ROLE_LABEL)
                    if node.name.startswith("/")]
    lists = by_role(pyatspi.ROLE_LIST)
    check("one folder list", len(lists), 1)
    if lists:
        check("  named as the folder label shows", [lists[0].name], shown_folder)
        check("  described by the opened folder", lists[0].description,
              "Carpeta abierta: " + os.path.realpath(folder))
    check("the drive box described as the drive choice",
          [node.description for node in by_role(pyatspi.ROLE_COMBO_BOX)],
          ["Elección de la unidad"])
    return close


environment = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
running = subprocess.Popen([program], cwd=folder, env=environment)
try:
    application = find_application(os.path.basename(program), running, 30)
    check("the program's window is on the accessibility bus", application is not None, True)
    if application is None and running.poll() is not None:
        print(f"the program ended first, with {running.returncode}")
    close = read_window(application) if application is not None else None
    if close is not None:
        close.queryAction().doAction(0)
        try:
            check('"Salir" pressed through AT-SPI ends the program with 0', running.wait(15), 0)
        except subprocess.TimeoutExpired:
            check('"Salir" pressed through AT-SPI ends the program', False, True)
finally:
    if running.poll() is None:
        running.kill()
        running.wait()

print(f"{results.count(True)} passed, {results.count(False)} failed")
sys.exit(0 if all(results) else 1)
