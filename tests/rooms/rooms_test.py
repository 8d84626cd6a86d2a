#!/usr/bin/env python3
"""The rooms keep to their places: a window room includes no other window room, and the
widget-free layers include neither a window room, ui/, nor a Qt Gui or Widgets header.

usage: rooms_test.py SOURCE_DIR QT_HEADERS_DIR
"""
import os
import re
import sys
import tempfile
import unittest

# Each room, by the folder it lives in; the longest folder that holds a file is its room.
WINDOW_ROOMS = {'calculator', 'reference', 'options', 'stock', 'solver', 'chart', 'ions', 'recipes'}
# Widget-free: Qt Core, SQLite, iconv, GLPK, and each other, in this order from the bottom
# (calc/ writes the stock sheet's rows as worksheet cells); cli/ is vernolat-calc, the command
# line over them.
CORE_ROOMS = {'data': {'data'},
              'export/xls': {'data', 'export/xls'},
              'calc': {'data', 'export/xls', 'calc'},
              'cli': {'data', 'export/xls', 'calc', 'cli'}}
ROOMS = sorted(WINDOW_ROOMS | set(CORE_ROOMS) | {'app', 'export', 'ui'}, key=len, reverse=True)
# Qt's modules that bring widgets or a display.
GUI_MODULES = ('QtGui', 'QtWidgets', 'QtCharts', 'QtPrintSupport', 'QtOpenGL', 'QtOpenGLWidgets',
               'QtSvg', 'QtSvgWidgets')

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def room_of(path):
    for room in ROOMS:
        if path == room or path.startswith(room + '/'):
            return room
    return None


def sources(tree):
    for room in ROOMS:
        top = os.path.join(tree, room)
        for folder, _, files in os.walk(top):
            for name in files:
                if name.endswith(('.h', '.cpp')):
                    path = os.path.relpath(os.path.join(folder, name), tree)
                    if room_of(path) == room:
                        yield path


def included_path(tree, source, written):
    """The tree's file an include names: beside the source first, then from the top."""
    beside = os.path.normpath(os.path.join(os.path.dirname(source), written))
    if os.path.exists(os.path.join(tree, beside)):
        return beside
    if os.path.exists(os.path.join(tree, written)):
        return os.path.normpath(written)
    return None


def gui_module(qt_headers, written):
    """The Gui or Widgets module a Qt header belongs to, or None."""
    head = written.split('/')[0]
    if '/' in written:
        return head if head in GUI_MODULES else None
    for module in GUI_MODULES:
        if os.path.exists(os.path.join(qt_headers, module, written)):
            return module
    return None


def violations(tree, qt_headers):
    found = []
    for source in sorted(sources(tree)):
        room = room_of(source)
        with open(os.path.join(tree, source), encoding='utf-8') as f:
            text = f.read()
        for quote, written in INCLUDE.findall(text):
            if quote == '<':
                module = gui_module(qt_headers, written)
                if room in CORE_ROOMS and module:
                    found.append(f'{source}: includes <{written}> of {module} in a widget-free room')
                continue
            target = included_path(tree, source, written)
            other = room_of(target) if target else None
            if other is None or other == room:
                continue
            if room in WINDOW_ROOMS and (other in WINDOW_ROOMS or other == 'app'):
                found.append(f'{source}: the window room {room}/ includes {target} of {other}/')
            elif room in CORE_ROOMS and other not in CORE_ROOMS[room]:
                found.append(f'{source}: the widget-free room {room}/ includes {target} of {other}/')
    return found


class Rooms(unittest.TestCase):
    maxDiff = None
    source_dir = None
    qt_headers = None

    def test_the_tree_keeps_to_its_rooms(self):
        self.assertEqual(violations(self.source_dir, self.qt_headers), [])

    def test_a_planted_include_is_found(self):
        # Each: a file written into a small tree, the include it carries, what is reported.
        cases = [
            ('calculator/a.cpp', '"solver/b.h"', 'the window room calculator/ includes solver/b.h'),
            ('stock/a.cpp', '"calculator/b.h"', 'the window room stock/ includes calculator/b.h'),
            ('chart/a.h', '"app/b.h"', 'the window room chart/ includes app/b.h of app/'),
            ('solver/a.cpp', '"../chart/b.h"', 'the window room solver/ includes chart/b.h'),
            ('calc/run/a.cpp', '<QWidget>', 'includes <QWidget> of QtWidgets'),
            ('calc/run/a.cpp', '<QtGui/QColor>', 'includes <QtGui/QColor> of QtGui'),
            ('data/a.h', '<QFont>', 'includes <QFont> of QtGui'),
            ('export/xls/a.cpp', '<QPrinter>', 'includes <QPrinter> of QtPrintSupport'),
            ('calc/stock/a.cpp', '"ui/b.h"', 'the widget-free room calc/ includes ui/b.h of ui/'),
            ('data/a.cpp', '"calc/run/b.h"', 'the widget-free room data/ includes calc/run/b.h'),
            ('export/xls/a.cpp', '"calc/stock/b.h"', 'the widget-free room export/xls/ includes calc/stock/b.h'),
            ('cli/a.cpp', '<QGuiApplication>', 'includes <QGuiApplication> of QtGui'),
            ('cli/a.cpp', '"ui/b.h"', 'the widget-free room cli/ includes ui/b.h of ui/'),
        ]
        allowed = [
            ('app/a.cpp', '"calculator/b.h"'),
            ('calculator/a.cpp', '"export/b.h"'),
            ('calculator/a.cpp', '"ui/chart/b.h"'),
            ('calc/solver/a.cpp', '"calc/run/b.h"'),
            ('calc/run/a.cpp', '"data/b.h"'),
            ('calc/stock/a.cpp', '"export/xls/b.h"'),
            ('calc/run/a.cpp', '<QString>'),
            ('cli/a.cpp', '"calc/run/b.h"'),
            ('solver/a.cpp', '"b.h"'),
        ]
        for source, include, expected in cases + [(s, i, None) for s, i in allowed]:
            with self.subTest(source=source, include=include), tempfile.TemporaryDirectory() as tree:
                for folder in ROOMS + ['calc/run', 'calc/solver', 'calc/stock', 'ui/chart']:
                    os.makedirs(os.path.join(tree, folder), exist_ok=True)
                    with open(os.path.join(tree, folder, 'b.h'), 'w', encoding='utf-8') as f:
                        f.write('#pragma once\n')
                with open(os.path.join(tree, source), 'w', encoding='utf-8') as f:
                    f.write(f'#include {include}\n')
                found = violations(tree, self.qt_headers)
                if expected is None:
                    self.assertEqual(found, [])
                else:
                    self.assertEqual(len(found), 1, found)
                    self.assertIn(expected, found[0])


if __name__ == '__main__':
    Rooms.source_dir, Rooms.qt_headers = sys.argv[1], sys.argv[2]
    if not os.path.isdir(os.path.join(Rooms.qt_headers, 'QtWidgets')):
        sys.exit(f'no Qt headers in {Rooms.qt_headers}')
    unittest.main(argv=sys.argv[:1], verbosity=2)
