#!/usr/bin/python3
"""The program as a screen reader sees it, through AT-SPI.

  atspi.py press <window title> <button name>   presses a button by its action
  atspi.py text <window title> <name>           prints the text of a control
                                                (a display: its shown value)
  atspi.py starting <window title> <prefix>     prints the name of the first
                                                control whose name starts so
  atspi.py role <window title>                  prints the window's role ("frame")
  atspi.py grid <window title>                  prints the window's table, one
                                                line a row, the cells joined by "|"
  atspi.py listen <file>                        writes each text change as
                                                "<name>\t<text>", and each move
                                                of the focus within a table as
                                                "focus\t<table>\t<child number>",
                                                until killed
"""
import re
import sys
import threading
import time

import pyatspi


def find(accessible, test, depth=0):
    if accessible is None or depth > 30:
        return None
    if test(accessible):
        return accessible
    # A table holds its cells, not controls; its cells are not walked.
    if accessible.getRole() == pyatspi.ROLE_TABLE:
        return None
    for child in accessible:
        found = find(child, test, depth + 1)
        if found is not None:
            return found
    return None


def window(title):
    """The program's top-level window whose name matches the title."""
    pattern = re.compile(title)
    for _ in range(200):
        for app in pyatspi.Registry.getDesktop(0):
            if app is None or app.name != "termdeposit":
                continue
            for top in app:
                if top is not None and pattern.search(top.name or ""):
                    return top
        time.sleep(0.1)
    sys.exit(f"no window named /{title}/")


def text_of(accessible):
    try:
        text = accessible.queryText()
    except NotImplementedError:
        return None
    return text.getText(0, -1)


def control(title, name, test=lambda a: True):
    top = window(title)
    found = find(top, lambda a: a.name == name and test(a))
    if found is None:
        sys.exit(f"no control named {name!r} in /{title}/")
    return found


def press(title, name):
    button = control(title, name, lambda a: a.getRole() == pyatspi.ROLE_PUSH_BUTTON)
    action = button.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names:
        sys.exit(f"{name!r} has no press action: {names}")
    # A press that opens a modal window returns only when it closes: it is
    # sent from a thread and left to run.
    threading.Thread(target=action.doAction, args=(names.index("Press"),), daemon=True).start()
    time.sleep(0.5)


def show_text(title, name):
    # The display, not its caption: the control whose text is not its name.
    shown = control(title, name, lambda a: text_of(a) not in (None, a.name))
    print(text_of(shown))


def name_starting(title, prefix):
    # A label reads as its name: the whole sentence it shows.
    print(control_starting(title, prefix).name)


def control_starting(title, prefix):
    top = window(title)
    found = find(top, lambda a: (a.name or "").startswith(prefix))
    if found is None:
        sys.exit(f"no control named {prefix!r}... in /{title}/")
    return found


def show_role(title):
    print(window(title).getRoleName())


def show_grid(title):
    table = find(window(title), lambda a: a.getRole() == pyatspi.ROLE_TABLE)
    if table is None:
        sys.exit(f"no table in /{title}/")
    cells = table.queryTable()
    print(f"# {table.name}")
    for row in range(cells.nRows):
        print("|".join(cells.getAccessibleAt(row, col).name for col in range(cells.nColumns)))


def listen(path):
    out = open(path, "w", buffering=1)

    def changed(event):
        if event.type.minor == "insert":
            out.write(f"{event.source.name}\t{text_of(event.source)}\n")

    def focused(event):
        parent = event.source.parent
        if event.detail1 and parent is not None and parent.getRole() == pyatspi.ROLE_TABLE:
            out.write(f"focus\t{parent.name}\t{event.source.getIndexInParent()}\n")

    pyatspi.Registry.registerEventListener(changed, "object:text-changed")
    pyatspi.Registry.registerEventListener(focused, "object:state-changed:focused")
    out.write("listening\n")
    pyatspi.Registry.start()


if __name__ == "__main__":
    command, args = sys.argv[1], sys.argv[2:]
    commands = {"press": press, "text": show_text, "starting": name_starting, "role": show_role,
                "grid": show_grid, "listen": listen}
    commands[command](*args)
