#!/usr/bin/python3
"""The result-page extraction of "提取信息" written with BeautifulSoup on lxml.

It reads the same values from the same page as the program does: the SPAN
values by their class (and the one without a class that holds the print
serial number), the HTML of the cells of the first row of the table of class
"journey-detail", the content of each cell's DIV split at its line breaks, and
the year of each journey date. It keeps them in a dictionary by field name and
runs none of the receipt's field rules (upper-casing, total, check code, fare
basis), which the program's figure includes.

    extract_bs4.py --check   extracts the four-segment sample page and compares
                             every value with the one the program's tests expect
    extract_bs4.py --time    times the extraction of the 100 KB page that
                             bench_online times and prints one line of JSON
"""

import sys

import bs4
import lxml.etree

from result_page import (JOURNEY_COLUMNS, LINE_BREAK, SPAN_VALUES, journey_cell_content,
                         journey_date, run, serial_number, trimmed)


def first_row_cells(table):
    for row in table.find_all("tr"):
        if row.find_parent("table") is table:
            return row.find_all(["td", "th"], recursive=False)
    return []


def extract(page, today):
    soup = bs4.BeautifulSoup(page, "lxml", multi_valued_attributes=None)
    fields = {}
    for span in soup.find_all("span"):
        text = span.get_text()
        class_name = span.get("class", "")
        if not class_name and "印刷序号" in text:
            fields["edtSerNo"] = serial_number(text)
        elif class_name in SPAN_VALUES:
            field, first, trim = SPAN_VALUES[class_name]
            rest = text[first - 1:]
            fields[field] = trimmed(rest) if trim else rest

    for table in soup.find_all("table", attrs={"class": "journey-detail"}):
        cells = first_row_cells(table)
        for cell, family, rows in JOURNEY_COLUMNS:
            cell_html = trimmed(cells[cell].decode_contents()) if cell < len(cells) else ""
            if cell == 4:
                cell_html = cell_html.replace(" ", "")
            content = journey_cell_content(cell_html)
            if content is None:
                continue
            for row, piece in enumerate(LINE_BREAK.split(content)[:rows], start=1):
                if family == "edtDate":
                    if piece:
                        fields["edtDate%d" % row] = journey_date(piece, today)
                else:
                    fields["%s%d" % (family, row)] = piece
    return fields


def main():
    return run(__doc__.splitlines()[0], extract, {
        "bs4": bs4.__version__,
        "lxml": ".".join(str(part) for part in lxml.etree.LXML_VERSION),
    })


if __name__ == "__main__":
    sys.exit(main())
