"""What the two Python versions of the result-page extraction share: the
fields that the page's SPANs and journey cells fill, the rules for their
values, the page that bench_online times, the check against the values that
the program's tests expect, and the timing.

Each version (extract_bs4.py, extract_lxml.py) passes its own extract(page,
today) and the versions of the libraries it uses to run().
"""

import argparse
import datetime
import json
import pathlib
import re
import statistics
import sys
import timeit

FIXTURES = pathlib.Path(__file__).resolve().parents[2] / "tests" / "fixtures" / "online"
TODAY = datetime.date(2016, 12, 20)

SPAN_VALUES = {  # class: (field, first character counted from 1, trimmed)
    "ml27": ("edtPassenger", 1, True),
    "visa": ("cboEndorsement", 1, True),
    "fare": ("edtFare", 4, True),
    "caac-development-fund": ("edtCAAC", 7, True),
    "other-taxes": ("edtTax", 1, True),
    "cny-total": ("edtTotal", 4, True),
    "e-ticket-no": ("edtTicketNo", 1, True),
    "ck-info": ("edtCk", 1, True),
    "information": ("edtInformation", 1, True),
    "insurance": ("edtIssue", 1, True),
    "issue-by": ("cboIssueBy", 1, False),
    "date-off-issue": ("edtDateOfInsue", 1, False),
}

JOURNEY_COLUMNS = [  # cell, field family, rows; cell 2 is not read
    (0, "edtT", 4),
    (1, "edtFrom", 5),
    (3, "cboAir", 4),
    (4, "edtFlight", 4),
    (5, "edtSeat", 4),
    (6, "edtDate", 4),
    (7, "edtTime", 4),
    (8, "edtBasts", 4),
    (9, "edtNotValidBefore", 4),
    (10, "edtNotValidAfter", 4),
    (11, "edtAllow", 4),
]

BLANK_RUNS = re.compile(r"[ \t\n\x0b\f\r\u00a0]+")  # a no-break space spaces like a blank
LINE_BREAK = re.compile(r"<br\s*/?>", re.IGNORECASE)  # BeautifulSoup writes <br/>, lxml <br>
LINE_ENDS = re.compile(r"[\n\r\x0b\x0c\x85\u2028\u2029]")
MONTH_AND_DAY = re.compile(r"^(\d{2})-(\d{2})$", re.ASCII)


def trimmed(text):
    """Without the leading and trailing characters at or below U+0020."""
    return text.strip("".join(chr(c) for c in range(0x21)))


def serial_number(text):
    """The print serial number from the text of the SPAN labelled 印刷序号."""
    return trimmed(BLANK_RUNS.sub(" ", trimmed(text[5:])))


def journey_cell_content(cell_html):
    """What "<DIV.+?>(.*)</DIV>" (any case, "." stopping at line ends) captures, trimmed."""
    for line in LINE_ENDS.split(cell_html):
        lower = line.lower()
        last_close = lower.rfind("</div>")
        start = lower.find("<div")
        if last_close >= 0 and 0 <= start and start + 5 <= last_close:
            tag_end = line.find(">", start + 5)
            if 0 <= tag_end < last_close:
                return trimmed(line[tag_end + 1:last_close])
    return None


def journey_date(month_and_day, today):
    """The year nearest to today for a month and day, as the program dates a journey."""
    match = MONTH_AND_DAY.match(month_and_day)
    if match:
        nearest = None
        for year in (today.year, today.year + 1, today.year - 1):
            try:
                date = datetime.date(year, int(match.group(1)), int(match.group(2)))
            except ValueError:
                continue
            if nearest is None or abs((date - today).days) < abs((nearest - today).days):
                nearest = date
        if nearest:
            return nearest.isoformat()
    return "%d-%s" % (today.year, month_and_day)


def fixture_page(name):
    return (FIXTURES / name).read_bytes().decode("gb18030")


def result_page():
    """The page that bench_online times: the four-segment sample with the
    service's notices, scripts and links around it, built alike to 100 KB."""
    page = fixture_page("four-segments-gbk.html")
    notices = (
        '<script type="text/javascript">\nfunction toggle(id) {\n'
        "  var e = document.getElementById(id);\n"
        "  e.style.display = e.style.display == 'none' ? '' : 'none';\n}\n</script>\n"
        '<table class="notices" width="980" align="center">\n'
    )
    size = len(page.encode()) + len(notices.encode())
    row = 1
    while size < 100 * 1024:
        notice = (
            '<tr><td class="no">%d</td><td><span class="notice">旅客须知：电子客票'
            "行程单是旅客购买国内航空运输电子客票的付款凭证和报销凭证，不作为机场"
            '办理乘机手续和安全检查的必要凭证使用。</span></td><td><a href="/tsky/help'
            '?item=%d" onclick="toggle(\'n%d\'); return false;">详情</a>'
            '<div id="n%d" style="display:none">请妥善保管&nbsp;遗失不补</div></td>'
            "</tr>\n" % (row, row, row, row)
        )
        notices += notice
        size += len(notice.encode())
        row += 1
    notices += "</table>\n"
    body_end = page.index("</body>")
    return page[:body_end] + notices + page[body_end:]


def check(extract):
    expected = {}
    for line in (FIXTURES / "four-segments-gbk.expected").read_text(encoding="utf-8").splitlines():
        if line and not line.startswith("#"):
            name, _, value = line.partition("=")
            expected[name] = value
    today = datetime.date.fromisoformat(expected.pop("today"))
    wrong = []
    for page in (fixture_page("four-segments-gbk.html"), result_page()):
        got = extract(page, today)
        wrong += ["%s: %r, expected %r" % (k, got.get(k), v) for k, v in expected.items()
                  if got.get(k) != v]
        wrong += ["%s: %r, not expected" % (k, v) for k, v in got.items() if k not in expected]
    for line in wrong:
        print(line, file=sys.stderr)
    return 1 if wrong else 0


def time(extract, repeats, libraries):
    page = result_page()
    timer = timeit.Timer(lambda: extract(page, TODAY))
    number, _ = timer.autorange()
    per_call = [total / number for total in timer.repeat(repeat=repeats, number=number)]
    print(json.dumps({
        "page_bytes": len(page.encode()),
        "median_ms": statistics.median(per_call) * 1000,
        "min_ms": min(per_call) * 1000,
        "max_ms": max(per_call) * 1000,
        "repeats": repeats,
        "calls_per_repeat": number,
        "python": sys.version.split()[0],
        **libraries,
    }))
    return 0


def run(description, extract, libraries):
    parser = argparse.ArgumentParser(description=description)
    mode = parser.add_mutually_exclusive_group(required=True)
    mode.add_argument("--check", action="store_true")
    mode.add_argument("--time", action="store_true")
    parser.add_argument("--repeats", type=int, default=9)
    arguments = parser.parse_args()
    if arguments.check:
        return check(extract)
    return time(extract, arguments.repeats, libraries)
