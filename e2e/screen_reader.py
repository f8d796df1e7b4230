#!/usr/bin/python3
"""Reads tavik's windows over the accessibility bus as a screen reader does. For each line of
input it prints one line of the controls it finds, parted by the unit separator (0x1F), each
WINDOW<TAB>ROLE<TAB>NAME<TAB>LABEL<TAB>BOX ("main" for the main window, a name's lines joined by
"|", the label's name, "x y w h" on the screen for windows, labels and the list). It stays
running, because connecting to the bus takes longer than reading."""
import sys
import pyatspi

ROLES = {'frame', 'dialog', 'label', 'push button', 'combo box', 'list item', 'table', 'text'}
BOXED = {'frame', 'dialog', 'label', 'table'}


def walk(acc, depth=0):
    yield acc
    # A table's cells are not needed, and reading them all would be slow.
    if depth < 6 and acc.getRoleName() != 'table':
        for child in filter(None, acc):
            yield from walk(child, depth + 1)


def line(window, acc):
    labels = [r.getTarget(i).name for r in acc.getRelationSet()
              if r.getRelationType() == pyatspi.RELATION_LABELLED_BY for i in range(r.getNTargets())]
    e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS) if acc.getRoleName() in BOXED else None
    box = f'{e.x} {e.y} {e.width} {e.height}' if e else ''
    return '\t'.join([window, acc.getRoleName(), (acc.name or '').replace('\n', '|'), ','.join(labels), box])


def controls():
    for app in filter(lambda a: a is not None and a.name == 'tavik', pyatspi.Registry.getDesktop(0)):
        for window in filter(None, app):
            title = 'main' if window.name == 'tavik' and window.getRoleName() == 'frame' else window.name
            yield from (line(title, acc) for acc in walk(window) if acc.getRoleName() in ROLES)


for _ in sys.stdin:
    try:
        print('\x1f'.join(controls()), flush=True)
    except Exception:  # a window that closes while it is read is read again next time
        print(flush=True)
