#!/usr/bin/python3
"""Drives Vorta through the accessibility bus, as a screen reader would, for the screenshot
script of the manuals (tools/manual-shots.sh).

  manual-shots-a11y.py press NAME [NAME...]   activates the control reached by the names, each
                                             looked for below the one before (menu, entry, ...)
  manual-shots-a11y.py wait NAME             waits until a window of that title is shown
  manual-shots-a11y.py extents NAME [NAME...] prints where the control reached by the names
                                             stands in its window, as WIDTHxHEIGHT+X+Y

Exits with 1 when the control or window does not appear within a few seconds."""
import sys
import time

import gi
gi.require_version('Atspi', '2.0')
from gi.repository import Atspi, GLib

APP = 'Vorta'
PATIENCE = 8.0  # seconds


def application():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_name() == APP:
            return app
    return None


def descendant(node, name, depth=0):
    """The first node below node, breadth first, whose name is name."""
    level = [node]
    while level:
        following = []
        for parent in level:
            try:
                count = parent.get_child_count()
            except Exception:
                continue
            for i in range(count):
                child = parent.get_child_at_index(i)
                if child is None:
                    continue
                if child.get_name() == name:
                    return child
                following.append(child)
        level = following
    return None


def retry(find):
    deadline = time.monotonic() + PATIENCE
    while time.monotonic() < deadline:
        found = find()
        if found is not None:
            return found
        time.sleep(0.2)
    return None


def reach(names):
    """The control reached by the names, each looked for below the one before; None when it
    does not appear in time (said on stderr)."""
    def find():
        node = application()
        for name in names:
            if node is None:
                return None
            node = descendant(node, name)
        return node
    node = retry(find)
    if node is None:
        print('not found: ' + ' > '.join(names), file=sys.stderr)
    return node


def press(names):
    node = reach(names)
    if node is None:
        return 1
    if Atspi.Action.get_n_actions(node) == 0:
        print('cannot be activated: ' + names[-1], file=sys.stderr)
        return 1
    # A control that opens a modal window answers only when that window closes: the call
    # is given up quickly, and the caller waits for the window instead.
    Atspi.set_timeout(500, 0)
    try:
        Atspi.Action.do_action(node, 0)
    except GLib.Error:
        pass
    return 0


def wait(title):
    def find():
        app = application()
        if app is None:
            return None
        for i in range(app.get_child_count()):
            window = app.get_child_at_index(i)
            if window is not None and window.get_name() == title \
                    and window.get_state_set().contains(Atspi.StateType.SHOWING):
                return window
        return None
    if retry(find) is None:
        print('no window: ' + title, file=sys.stderr)
        return 1
    return 0


def extents(names):
    node = reach(names)
    if node is None:
        return 1
    box = Atspi.Component.get_extents(node, Atspi.CoordType.WINDOW)
    print('%dx%d+%d+%d' % (box.width, box.height, box.x, box.y))
    return 0


def main(argv):
    if len(argv) >= 3 and argv[1] == 'press':
        return press(argv[2:])
    if len(argv) >= 3 and argv[1] == 'extents':
        return extents(argv[2:])
    if len(argv) == 3 and argv[1] == 'wait':
        return wait(argv[2])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == '__main__':
    sys.exit(main(sys.argv))
