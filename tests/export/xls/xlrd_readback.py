#!/usr/bin/env python3
"""Reads worksheets back with xlrd and compares them with what the writer was given.

Usage: xlrd_readback.py EXPECTATIONS.json
Exit status: 0 all as expected, 1 mismatches (listed on stdout), 3 xlrd is not available.
"""
import json
import struct
import sys

try:
    import xlrd
except ImportError:
    # Debian's python3-xlrd is outside the path of a pyenv or venv interpreter.
    sys.path.append("/usr/lib/python3/dist-packages")
    try:
        import xlrd
    except ImportError:
        print("xlrd is not installed")
        sys.exit(3)

LABEL, NUMBER, RK = 0x0204, 0x0203, 0x027E


def cell_records(path):
    """(row, col) -> record type, from the raw stream: xlrd's own cell types do not tell a
    NUMBER from an RK, and it types both as text when the file has no FORMAT record."""
    with open(path, "rb") as fh:
        blob = fh.read()
    out, pos = {}, 0
    while pos + 4 <= len(blob):
        rtype, length = struct.unpack_from("<HH", blob, pos)
        if rtype in (LABEL, NUMBER, RK):
            row, col = struct.unpack_from("<HH", blob, pos + 4)
            out[(row, col)] = rtype
        pos += 4 + length
    return out


def check_sheet(exp, problems):
    path = exp["path"]

    def bad(where, what, got, want):
        problems.append("%s %s: %s is %r, expected %r" % (path.rsplit("/", 1)[-1], where, what, got, want))

    book = xlrd.open_workbook(path, formatting_info=True, encoding_override="cp1251",
                              logfile=open("/dev/null", "w"))
    if book.nsheets != 1:
        bad("book", "sheet count", book.nsheets, 1)
    sheet = book.sheet_by_index(0)
    records = cell_records(path)
    columns, rows = exp["columns"], exp["rows"]
    if sheet.nrows != len(rows) + 1:
        bad("sheet", "row count", sheet.nrows, len(rows) + 1)
    if sheet.ncols != len(columns):
        bad("sheet", "column count", sheet.ncols, len(columns))

    def rgb(index):
        return list(book.colour_map.get(index) or [])

    for i, want in enumerate(exp["palette"]):
        if rgb(8 + i) != want:
            bad("palette", "colour %d" % (8 + i), rgb(8 + i), want)

    def check_format(where, r, c, want):
        xf = book.xf_list[sheet.cell_xf_index(r, c)]
        font = book.font_list[xf.font_index]
        got_font = {"name": font.name, "height": font.height, "bold": bool(font.bold),
                    "italic": bool(font.italic), "underline": bool(font.underlined),
                    "strikeOut": bool(font.struck_out), "rgb": rgb(font.colour_index)}
        if got_font != want["font"]:
            bad(where, "font", got_font, want["font"])
        if xf.alignment.hor_align != want["halign"]:
            bad(where, "alignment", xf.alignment.hor_align, want["halign"])
        fill = [xf.background.fill_pattern, rgb(xf.background.pattern_colour_index)]
        if fill != [1, want["fill"]]:
            bad(where, "fill", fill, [1, want["fill"]])
        b = xf.border
        sides = [[b.top_line_style, b.left_line_style, b.bottom_line_style, b.right_line_style],
                 [rgb(b.top_colour_index), rgb(b.left_colour_index),
                  rgb(b.bottom_colour_index), rgb(b.right_colour_index)]]
        want_sides = [[want["border"]] * 4, [want["borderRgb"]] * 4]
        if want["border"] == 0:
            sides, want_sides = sides[0], want_sides[0]
        if sides != want_sides:
            bad(where, "borders", sides, want_sides)

    for c, col in enumerate(columns):
        if c >= sheet.ncols:
            break
        where = "R0C%d" % c
        if sheet.cell_value(0, c) != col["caption"] or records.get((0, c)) != LABEL:
            bad(where, "caption", [sheet.cell_value(0, c), records.get((0, c))], [col["caption"], LABEL])
        check_format(where, 0, c, exp["header"])
        info = sheet.colinfo_map.get(c)
        if info is None or info.width != col["width"]:
            bad("column %d" % c, "width", None if info is None else info.width, col["width"])

    for r, values in enumerate(rows, start=1):
        for c, (col, want) in enumerate(zip(columns, values)):
            where = "R%dC%d" % (r, c)
            if r >= sheet.nrows or c >= sheet.row_len(r):
                bad(where, "cell", None, want)
                continue
            got = sheet.cell_value(r, c)
            record = records.get((r, c))
            # A text in a number column stands for a missing figure (writer's convention).
            if col["kind"] == "text" or isinstance(want, str):
                ok = record == LABEL and got == want
            elif col["kind"] == "number":
                ok = record == NUMBER and isinstance(got, float) and got == want
            else:
                in_rk = -2 ** 29 <= want < 2 ** 29
                ok = record == (RK if in_rk else NUMBER) and isinstance(got, float) and got == want
            if not ok:
                bad(where, col["kind"] + " cell", [got, record], want)
            check_format(where, r, c, col["format"])


def main():
    with open(sys.argv[1], encoding="utf-8") as fh:
        expectations = json.load(fh)
    problems = []
    for exp in expectations:
        try:
            check_sheet(exp, problems)
        except Exception as e:  # a file xlrd cannot read is itself the finding
            problems.append("%s: %s: %s" % (exp["path"], type(e).__name__, e))
    for p in problems:
        print(p)
    print("checked %d sheets, %d problems" % (len(expectations), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
