#!/usr/bin/python3
"""The result-page extraction of "提取信息" written with lxml alone.

The same extraction as extract_bs4.py, on lxml's own element tree instead of
BeautifulSoup's: lxml.html parses the page with libxml2's HTML parser, as the
program does, and the rest is Python. It reads the SPAN values by their class
(and the one without a class that holds the print serial number), the HTML of
the cells of the first row of the table of class "journey-detail", the content
of each cell's DIV split at its line breaks, and the year of each journey
date, and runs none of the receipt's field rules.

    extract_lxml.py --check   extracts the four-segment sample page and compares
                              every value with the one the program's tests expect
    extract_lxml.py --time    times the extraction of the 100 KB page that
                              bench_online times and prints one line of JSON
"""

import html
import sys

import lxml.etree
import lxml.html

from result_page import (JOURNEY_COLUMNS, LINE_BREAK, SPAN_VALUES, journey_cell_content,
                         journey_date, run, serial_number, trimmed)


def first_row_cells(table):
    for row in table.iter("tr"):
        if next(row.iterancestors("table")) is table:
            return [cell for cell in row if cell.tag in ("td", "th")]
    return []


def inner_html(element):
    """The element's content as HTML: its text, then each child with its tail."""
    return html.escape(element.text or "", quote=False) + "".join(
        lxml.html.tostring(child, encoding="unicode") for child in element)


def extract(page, today):
    document = lxml.html.document_fromstring(page)
    fields = {}
    for span in document.iter("span"):
        text = span.text_content()
        class_name = span.get("class", "")
        if not class_name and "印刷序号" in text:
            fields["edtSerNo"] = serial_number(text)
        elif class_name in SPAN_VALUES:
            field, first, trim = SPAN_VALUES[class_name]
            rest = text[first - 1:]
            fields[field] = trimmed(rest) if trim else rest

    for table in document.iter("table"):
        if table.get("class") != "journey-detail":
            continue
        cells = first_row_cells(table)
        for cell, family, rows in JOURNEY_COLUMNS:
            cell_html = trimmed(inner_html(cells[cell])) if cell < len(cells) else ""
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
        "lxml": ".".join(str(part) for part in lxml.etree.LXML_VERSION),
        "libxml2": ".".join(str(part) for part in lxml.etree.LIBXML_VERSION),
    })


if __name__ == "__main__":
    sys.exit(main())
