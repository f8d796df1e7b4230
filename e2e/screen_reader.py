#!/usr/bin/python3
"""Reads tavik's windows over the accessibility bus, as a screen reader does, and prints
one fact: screen_reader.py WHAT [ARG]

  counter       the counter's text (lines joined by "|") and its box "x y w h"
  figures       the counter's text alone
  list          the list's box "x y w h"
  window        the main window's box "x y w h"
  first-row     the first row of the list drawn inside it (from 0), or "none"
  chooser       the chooser's name: its shown entry, or its label when none is chosen
  entries       the chooser's entries, one per line
  focus         role and text of the focused control of the active window: "ROLE<TAB>TEXT"
  labels TITLE  the texts of the window titled TITLE, one per line
  names         each button, chooser, list and text field of the main window as
                "ROLE<TAB>NAME<TAB>LABEL": the name a screen reader speaks and its label
Prints nothing and ends with status 1 when tavik or the thing asked for is not there."""
import sys
import pyatspi

def app():
    for a in pyatspi.Registry.getDesktop(0):
        if a is not None and a.name == 'tavik':
            return a
    sys.exit(1)

def walk(acc, depth=0):
    yield acc
    if depth < 6:
        for i in range(acc.childCount):
            child = acc.getChildAtIndex(i)
            if child is not None:
                yield from walk(child, depth + 1)

def box(acc):
    e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height

def main_frame():
    for frame in app():
        if frame is not None and frame.name == 'tavik' and frame.getRoleName() == 'frame':
            return frame
    sys.exit(1)

def first(role, root=None):
    for acc in walk(root or main_frame()):
        if acc.getRoleName() == role:
            return acc
    sys.exit(1)

def text_of(acc):
    try:
        t = acc.queryText()
        return t.getText(0, -1)
    except NotImplementedError:
        return acc.name or ''

what = sys.argv[1]
if what == 'counter':
    label = first('label')
    print(label.name.replace('\n', '|') + '\t' + ' '.join(map(str, box(label))))
elif what == 'figures':
    print(first('label').name.replace('\n', '|'))
elif what == 'window':
    print(' '.join(map(str, box(main_frame()))))
elif what == 'list':
    print(' '.join(map(str, box(first('table')))))
elif what == 'first-row':
    table = first('table')
    x, y, w, h = box(table)
    cells = table.queryTable()
    for row in range(cells.nRows):
        cx, cy, cw, ch = box(cells.getAccessibleAt(row, 1))
        if cy >= y and cy + ch <= y + h and cells.getAccessibleAt(row, 1).getState().contains(pyatspi.STATE_SHOWING):
            print(row)
            break
    else:
        print('none')
elif what == 'chooser':
    print(first('combo box').name or '')
elif what == 'entries':
    for acc in walk(first('combo box')):
        if acc.getRoleName() == 'list item':
            print(acc.name)
elif what == 'focus':
    active = [w for w in app() if w is not None and w.getState().contains(pyatspi.STATE_ACTIVE)]
    for acc in (a for w in active for a in walk(w)):
        if acc.getState().contains(pyatspi.STATE_FOCUSED):
            print(acc.getRoleName() + '\t' + text_of(acc).replace('\n', '|'))
            break
    else:
        sys.exit(1)
elif what == 'names':
    for acc in walk(main_frame()):
        if acc.getRoleName() in ('push button', 'combo box', 'table', 'text'):
            labels = [r.getTarget(i).name for r in acc.getRelationSet()
                      if r.getRelationType() == pyatspi.RELATION_LABELLED_BY for i in range(r.getNTargets())]
            print(acc.getRoleName() + '\t' + (acc.name or '') + '\t' + ','.join(labels))
elif what == 'labels':
    for window in app():
        if window is not None and window.name == sys.argv[2]:
            for acc in walk(window):
                if acc.getRoleName() == 'label':
                    print(acc.name)
            break
    else:
        sys.exit(1)
else:
    sys.exit(2)
