"""Prints what a workbook holds, one line per item, for the check-sheet tests to compare:

    sheet <name>
    width <column letter> <width>          for columns A to F
    cell <row> <column> <data type> <number format> <font colour> <text>

Texts are written with backslash escapes for tab, CR, LF and backslash. Run it with the
system's /usr/bin/python3, which has openpyxl (Debian python3-openpyxl).
"""
import sys

import openpyxl


def escaped(text):
    return (text.replace("\\", "\\\\").replace("\t", "\\t").replace("\r", "\\r")
            .replace("\n", "\\n"))


def main(path):
    book = openpyxl.load_workbook(path)
    out = []
    for sheet in book.worksheets:
        out.append("sheet\t" + sheet.title)
        for letter in "ABCDEF":
            width = sheet.column_dimensions[letter].width
            out.append("width\t%s\t%g" % (letter, width or 0))
        for row in sheet.iter_rows():
            for cell in row:
                if cell.value is None:
                    continue
                font_colour = cell.font.color if cell.font else None
                colour = (font_colour.rgb if font_colour is not None and font_colour.type == "rgb"
                          else "-")
                out.append("cell\t%d\t%d\t%s\t%s\t%s\t%s" % (
                    cell.row, cell.column, cell.data_type, cell.number_format, colour,
                    escaped(str(cell.value))))
    sys.stdout.buffer.write(("\n".join(out) + "\n").encode("utf-8"))


if __name__ == "__main__":
    main(sys.argv[1])
