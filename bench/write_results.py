#!/usr/bin/python3
"""Writes bench/RESULTS.md from what bench/run measured.

    write_results.py [--partial] RESULTS_FOLDER OUTPUT

RESULTS_FOLDER holds one Google Benchmark JSON file per benchmark program
(median aggregates), extract_bs4.json, extract_lxml.json, commands.txt and the load averages
read before and after the runs. With --partial, only some programs ran
(bench/run PROGRAM...): the report shows what they measured and leaves out
the rest.
"""

import json
import os
import pathlib
import platform
import re
import subprocess
import sys

ACTION_BUDGET_MS = 16.0
JOURNAL_BUDGET_MS = 100.0
START_BUDGET_MS = 300.0
MEMORY_BUDGET_MB = 80.0
# The program's start against an empty Qt Widgets window of its size.
START_FLOOR_RATIO = 1.3
MEMORY_FLOOR_RATIO = 1.6

# What each figure is, by program and benchmark; the order is the order of
# the tables.
ACTIONS = [
    ("bench_app", "typeOneCharacter/edtFare",
     "a key typed into 票价 in the shown window: model, total, repaint"),
    ("bench_app", "typeOneCharacter/edtSerNo",
     "a key typed into 印刷序列 in the window: model, check code, repaint"),
    ("bench_app", "typeOneCharacter/edtSeat1",
     "a key typed into a seat class in the window: model, fare basis, repaint"),
    ("bench_app", "typeOneCharacter/edtPassenger",
     "a key typed into the passenger's name in the window (no rule), repaint"),
    ("bench_itinerary", "typeOneCharacter/edtFare", "the model's share of it: setText on the fare"),
    ("bench_itinerary", "typeOneCharacter/edtSerNo", "setText on the serial number"),
    ("bench_itinerary", "typeOneCharacter/edtSeat1", "setText on a seat class"),
    ("bench_itinerary", "typeOneCharacter/edtPassenger", "setText on the passenger's name"),
    ("bench_app", "clearWholeReceipt",
     "clearItinerary on a whole receipt in the shown window, repaint included"),
    ("bench_itinerary", "clearWholeReceipt", "clearItinerary on a whole receipt, model only"),
    ("bench_app", "convertSamplePnr",
     "\"PNR信息转\" in the shown window on the sample display, repaint included"),
    ("bench_pnr", "BM_ConvertSample", "PNR conversion of the sample display, model only"),
    ("bench_pnr", "BM_Convert200Lines", "PNR conversion of a 200-line booking, model only"),
    ("bench_pnr", "BM_Convert300LinesCollapsed",
     "PNR conversion of a 300-line group booking copied with its blanks collapsed"),
    ("bench_pnr", "BM_ConvertLongLine/100000",
     "PNR conversion of a hostile paste: the sample after a line of 100,000 digits"),
    ("bench_pnr", "BM_ConvertLongLine/1000000",
     "the same with a line of 1,000,000 digits"),
    ("bench_online", "extractResultPage",
     "\"提取信息\" once the answer is in: a 100 KB result page into the receipt"),
    ("bench_online", "readResultPage", "its share: the 100 KB page parsed into a document"),
    ("bench_online", "checkResultPageLimits", "its share: the page's limits checked"),
    ("bench_print", "fillAndRenderReceiptToPdf",
     "\"打印预览\"/\"直接打印\" up to the printer: page filled and rendered to PDF"),
    ("bench_print", "fillReceipt", "its share: fillReport on a new page"),
    ("bench_print", "renderReceiptToPdf", "its share: the filled page rendered to PDF"),
    ("bench_settings_dialog", "openSettingsDialog",
     "\"设置\": the settings dialog built, read from its file and painted"),
    ("bench_app", "restoreWholeReceipt",
     "the 78 remembered entries read back into a new receipt (at start)"),
    ("bench_app", "saveWholeReceipt",
     "the 78 remembered entries written to the settings file (at exit)"),
]

# Why a figure over the budget is what it is, shown under the tables when it is.
OVER_BUDGET = {
    ("bench_app", "saveWholeReceipt"):
        "SaveEntries writes each of the 78 entries through a PrivateConfig::setStr of its own, "
        "and every setStr reads the settings file and replaces it whole through QSaveFile, which "
        "waits for the disk: 78 fdatasync and 78 rename calls per save (counted with strace). "
        "The processor time is small; the wall-clock time is the disk's, and it varies with what "
        "else the disk is doing. It runs in the main window's destructor: after the user closes "
        "the window it is already hidden, but after SIGTERM (a logout) the window stays on "
        "screen without answering for the \"SIGTERM to exit\" time below. Writing all 78 values "
        "in one replacement of the file would take one wait for the disk instead of 78.",
    ("bench_print", "submitAndRecord"):
        "the wall-clock time holds the scheduler's own work on the job in its own process "
        "(cupsd reads the request, spools the document and writes the job's files before it "
        "answers), which the CPU column, the benchmark process's alone, does not show; on a "
        "busy machine the scheduler and the benchmark also wait for a processor in turn. "
        "`submitRenderedPage` and `recordPrint` show the two waits apart.",
    ("bench_print", "submitRenderedPage"):
        "the time is the scheduler's: it answers once it has read the request, spooled the "
        "document and written the job's files; the benchmark process itself spends the CPU "
        "time shown.",
}

# A direct print up to the scheduler's answer, and its parts (one frame).
PRINTS = [
    ("bench_print", "submitAndRecord",
     "\"直接打印\" up to the scheduler's answer: default printer looked up, page filled and "
     "rendered to PDF, journal row written and synced, the job handed over in one request, "
     "its id recorded"),
    ("bench_print", "lookUpDefaultPrinter", "its share: the default printer looked up"),
    ("bench_print", "submitRenderedPage",
     "its share: the rendered page handed to the printer, up to the answer with the job's id"),
    ("bench_print", "recordPrint",
     "its share: the journal row written and synced before the hand-over, the job's id "
     "recorded after it"),
    ("bench_print", "printClickOnWindowThread",
     "the window thread's part of it: page filled and rendered, journal row written and synced"),
]

# "打印记录" on a journal of 100,000 prints (100 ms each).
JOURNAL = [
    ("bench_print", "openJournal", "\"打印记录\" opened: the journal and its newest rows"),
    ("bench_print", "openJournalAndSearch/0", "opened and searched for a serial number"),
    ("bench_print", "openJournalAndSearch/1", "opened and searched for a ticket number"),
    ("bench_print", "openJournalAndSearch/2",
     "opened and searched for a name on a quarter of the rows"),
    ("bench_print", "openJournalAndSearch/3",
     "opened and searched for a name on no row (every search text read)"),
]

# The register of receipt numbers: its part of a print (one frame) and the
# reconciliation of a range of 100,000 numbers (100 ms).
REGISTER_CHECKS = [
    ("bench_register", "checkNumberOnWindowThread/0",
     "before a print, on the window's thread, with the desk's journal as the register: its uses of the "
     "number and the received ranges"),
    ("bench_register", "checkNumberOnWindowThread/1",
     "the same with a shared register: the journal, the ranges as last read from the server, "
     "and the claim handed to the register's thread"),
]
RECONCILIATIONS = [
    ("bench_register", "reconcileRangeOnJournal",
     "\"核销表\" of a 100,000-number range (98,000 used) on the desk's SQLite journal"),
    ("bench_register", "reconcileRangeOnServer",
     "the same on the private PostgreSQL server"),
]

HOSTILE_BUDGET_MS = 50.0
HOSTILE_PAGES = [
    ("nested100000", "100,000 nested DIVs"),
    ("attributes100000", "a tag with 100,000 attributes"),
    ("bold4MiB", "4 MiB of \"<b>\""),
    ("commentEndThenDivs", "\"<!-- --!>\", then 100,000 nested DIVs"),
]

STARTS = [
    ("emptyReceipt", "settings of an earlier run, nothing remembered"),
    ("wholeReceipt", "\"Storage=1\" and all 78 remembered fields filled"),
]
EMPTY_WINDOW = "emptyWindowToFirstPaint"
CAPTION_WINDOW = "captionWindowToFirstPaint"
CONTROLS_WINDOW = "controlsWindowToFirstPaint"


def read_json(path):
    with open(path, encoding="utf-8") as file:
        return json.load(file)


def base_name(run_name):
    """The benchmark's name without the harness's suffixes."""
    return re.sub(r"/(repeats|iterations):\d+|/manual_time", "", run_name)


def medians(results):
    """{(program, name): median aggregate} from every benchmark program's file."""
    found = {}
    for path in sorted(results.glob("bench_*.json")):
        for entry in read_json(path)["benchmarks"]:
            if entry.get("run_type") == "aggregate" and entry["aggregate_name"] == "median":
                found[(path.stem, base_name(entry["run_name"]))] = entry
    return found


def in_ms(entry, key="real_time"):
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[entry["time_unit"]]
    return entry[key] * scale


def duration(ms):
    if ms < 0.001:
        return "%.0f ns" % (ms * 1e6)
    if ms < 1:
        return "%.3g µs" % (ms * 1e3)
    return "%.3g ms" % ms


def verdict(met):
    return "yes" if met else "**no**"


def machine():
    cpuinfo = pathlib.Path("/proc/cpuinfo").read_text()
    models = re.findall(r"^model name\s*:\s*(.*)$", cpuinfo, re.MULTILINE)
    memory_kib = int(re.search(r"^MemTotal:\s*(\d+) kB", pathlib.Path("/proc/meminfo").read_text(),
                               re.MULTILINE).group(1))
    os_name = "unknown system"
    release = pathlib.Path("/etc/os-release")
    if release.exists():
        match = re.search(r'^PRETTY_NAME="?([^"\n]*)', release.read_text(), re.MULTILINE)
        if match:
            os_name = match.group(1)
    return {
        "cpu": models[0] if models else platform.processor(),
        "cores": len(models) or os.cpu_count(),
        "memory": "%.1f GiB" % (memory_kib / 1024 / 1024),
        "system": "%s, Linux %s" % (os_name, platform.release()),
    }


def git(*arguments):
    return subprocess.run(["git", *arguments], capture_output=True, text=True,
                          check=True).stdout.rstrip("\n")


def main():
    arguments = sys.argv[1:]
    partial = arguments[:1] == ["--partial"]
    if partial:
        arguments = arguments[1:]
    results = pathlib.Path(arguments[0])
    output = pathlib.Path(arguments[1])
    figures = medians(results)
    ran = {program for program, _ in figures}
    commands = (results / "commands.txt").read_text(encoding="utf-8").strip()
    load_before = (results / "load-before.txt").read_text().split()[:3]
    load_after = (results / "load-after.txt").read_text().split()[:3]
    host = machine()
    repetitions = min(entry["repetitions"] for entry in figures.values())

    def figure(program, name):
        try:
            return figures[(program, name)]
        except KeyError:
            sys.exit("write_results.py: %s has no median of %s" % (program, name))

    def measured(program):
        """Whether the program's figures belong in this report."""
        return not partial or program in ran

    def worst(rows):
        """The slowest of the rows measured: (row, milliseconds), or None."""
        rows = [row for row in rows if measured(row[0])]
        if not rows:
            return None
        row = max(rows, key=lambda row: in_ms(figure(row[0], row[1])))
        return row, in_ms(figure(row[0], row[1]))

    def budget_table(rows, budget_ms):
        """A table of the rows measured against a budget; the names of those over it."""
        add("| program | benchmark | what | runs | wall | CPU | within %g ms |" % budget_ms)
        add("|---|---|---|---:|---:|---:|:-:|")
        over = []
        for program, name, what in rows:
            if not measured(program):
                continue
            entry = figure(program, name)
            wall = in_ms(entry)
            add("| %s | `%s` | %s | %d | %s | %s | %s |" % (
                program, name, what, entry["repetitions"], duration(wall),
                duration(in_ms(entry, "cpu_time")), verdict(wall <= budget_ms)))
            if wall > budget_ms:
                over.append((program, name))
        add("")
        return over

    lines = []
    add = lines.append

    # What was built beyond the commit; this file itself is no part of the build.
    changed = sorted({line[3:] for line in git("status", "--porcelain", "--", "src", "bench",
                                                "data", "CMakeLists.txt").splitlines()}
                     - {"bench/RESULTS.md"})
    commit = git("rev-parse", "--short=12", "HEAD")
    add("# Benchmark results")
    add("")
    add("Measured by `bench/run` from %s UTC, on commit %s%s." % (
        (results / "started.txt").read_text().strip(), commit,
        " with uncommitted changes to %s" % ", ".join(changed) if changed else ""))
    if partial:
        add("Only %s ran: this report shows what %s measured." % (
            ", ".join(sorted(ran)), "it" if len(ran) == 1 else "they"))
    add("Optimised build with debug information (preset `default`, RelWithDebInfo).")
    add("")
    add("## Machine")
    add("")
    add("| | |")
    add("|---|---|")
    add("| processor | %s |" % host["cpu"])
    add("| cores | %s |" % host["cores"])
    add("| memory | %s |" % host["memory"])
    add("| system | %s |" % host["system"])
    add("| load average (1, 5, 15 min) | before %s, after %s |" % (
        " ".join(load_before), " ".join(load_after)))
    add("")
    started = measured("bench_startup")
    add("The machine is shared: other jobs ran on its %s processors while these figures were "
        "taken (see the load average). Every figure is therefore the **median** of repeated "
        "runs (at least %d repetitions of each benchmark%s), and times "
        "are wall clock: where a processor was taken by another job, the wall-clock time runs "
        "above the processor time, which is shown beside it." % (
            host["cores"], repetitions,
            ", %d starts of the program" %
            figure("bench_startup", "startToFirstPaint/wholeReceipt")["repetitions"]
            if started else ""))
    add("")

    # The targets first.
    add("## Targets")
    add("")
    add("| target | worst figure | median | met |")
    add("|---|---|---:|:-:|")
    slowest = worst(ACTIONS)
    if slowest:
        (program, name, _), slowest_ms = slowest
        add("| every user action except network and printer I/O within %g ms | `%s` (%s) | %s | "
            "%s |" % (ACTION_BUDGET_MS, name, program, duration(slowest_ms),
                      verdict(slowest_ms <= ACTION_BUDGET_MS)))
    slowest = worst(PRINTS[:1])
    if slowest:
        (program, name, _), slowest_ms = slowest
        add("| submitting a print and recording it, up to the scheduler's answer, within one "
            "frame (%g ms) | `%s` (%s) | %s | %s |" % (
                ACTION_BUDGET_MS, name, program, duration(slowest_ms),
                verdict(slowest_ms <= ACTION_BUDGET_MS)))
    slowest = worst(JOURNAL)
    if slowest:
        (program, name, _), slowest_ms = slowest
        add("| opening the print journal with 100,000 rows and searching it within %g ms | "
            "`%s` (%s) | %s | %s |" % (JOURNAL_BUDGET_MS, name, program, duration(slowest_ms),
                                       verdict(slowest_ms <= JOURNAL_BUDGET_MS)))
    slowest = worst(REGISTER_CHECKS)
    if slowest:
        (program, name, _), slowest_ms = slowest
        add("| the register's part of a print on the window's thread within one frame (%g ms) | "
            "`%s` (%s) | %s | %s |" % (ACTION_BUDGET_MS, name, program, duration(slowest_ms),
                                       verdict(slowest_ms <= ACTION_BUDGET_MS)))
    slowest = worst(RECONCILIATIONS)
    if slowest:
        (program, name, _), slowest_ms = slowest
        add("| reconciling a range of 100,000 numbers on SQLite and on PostgreSQL within %g ms | "
            "`%s` (%s) | %s | %s |" % (JOURNAL_BUDGET_MS, name, program, duration(slowest_ms),
                                       verdict(slowest_ms <= JOURNAL_BUDGET_MS)))
    if started:
        starts = {kind: figure("bench_startup", "startToFirstPaint/" + kind)
                  for kind, _ in STARTS}
        slowest_start = max(starts, key=lambda kind: in_ms(starts[kind]))
        start_ms = in_ms(starts[slowest_start])
        peak_mib = starts["wholeReceipt"]["peak_rss_MiB"]
        peak_mb = peak_mib * 1.048576
        floor = figure("bench_startup", EMPTY_WINDOW)
        floor_ms = in_ms(floor)
        floor_mib = floor["peak_rss_MiB"]
        start_ratio = start_ms / floor_ms
        heaviest_start = max(starts, key=lambda kind: starts[kind]["peak_rss_MiB"])
        memory_ratio = starts[heaviest_start]["peak_rss_MiB"] / floor_mib
        add("| start-up to the first painted window within %g ms | start, %s | %s | %s |" % (
            START_BUDGET_MS, slowest_start, duration(start_ms),
            verdict(start_ms <= START_BUDGET_MS)))
        add("| peak memory under %g MB, running with a filled receipt | start, wholeReceipt | "
            "%.1f MB (%.1f MiB) | %s |" % (MEMORY_BUDGET_MB, peak_mb, peak_mib,
                                           verdict(peak_mb < MEMORY_BUDGET_MB)))
        add("| first paint within %g× that of an empty Qt Widgets window of the same size | "
            "start, %s, against %s | %.2f× | %s |" % (
                START_FLOOR_RATIO, slowest_start, duration(floor_ms), start_ratio,
                verdict(start_ratio <= START_FLOOR_RATIO)))
        controls = figure("bench_startup", CONTROLS_WINDOW)
        add("| (beside it, no target) the main window's controls in plain Qt, nothing of the "
            "program | controls window, against %s | %.2f× | — |" % (
                duration(floor_ms), in_ms(controls) / floor_ms))
        add("| peak memory within %g× that of the empty window | start, %s, against %.1f MiB | "
            "%.2f× | %s |" % (MEMORY_FLOOR_RATIO, heaviest_start, floor_mib, memory_ratio,
                              verdict(memory_ratio <= MEMORY_FLOOR_RATIO)))
    add("")

    if worst(ACTIONS):
        add("## User actions and their parts (%g ms each)" % ACTION_BUDGET_MS)
        add("")
        add("Google Benchmark medians; the window and the settings dialog run on Qt's offscreen "
            "platform. A \"whole\" receipt has all 78 remembered fields filled "
            "(bench/support/WholeReceipt.cpp).")
        add("")
        over = budget_table(ACTIONS, ACTION_BUDGET_MS)
        add("\"runs\" is the number of repetitions whose median is shown; each repetition is "
            "the mean of as many iterations as the harness needed.")
        add("")
        for program, name in over:
            add("Over %g ms, `%s` (%s): %s" % (
                ACTION_BUDGET_MS, name, program,
                OVER_BUDGET.get((program, name), "not explained yet.")))
            add("")

    if worst(PRINTS):
        add("## A direct print up to the scheduler's answer (%g ms)" % ACTION_BUDGET_MS)
        add("")
        add("`bench_print` runs under `scripts/with-private-cups`: a private CUPS scheduler on "
            "this machine, whose printer \"Held\" holds every job, so that no filter runs "
            "while the next one is measured; each job is withdrawn outside the measured time. "
            "The job goes over as one Print-Job request; the journal is SQLite in WAL mode "
            "with full sync, in a temporary folder on this machine's disk.")
        add("")
        over = budget_table(PRINTS, ACTION_BUDGET_MS)
        for program, name in over:
            add("Over %g ms, `%s` (%s): %s" % (
                ACTION_BUDGET_MS, name, program,
                OVER_BUDGET.get((program, name), "not explained yet.")))
            add("")

    if worst(JOURNAL):
        add("## The print journal with 100,000 rows (%g ms each)" % JOURNAL_BUDGET_MS)
        add("")
        add("A journal of 100,000 prints, each with a whole receipt's fields, written once; "
            "each figure opens it anew and fills the table of \"打印记录\" as the window "
            "shows it.")
        add("")
        budget_table(JOURNAL, JOURNAL_BUDGET_MS)

    if worst(REGISTER_CHECKS) or worst(RECONCILIATIONS):
        add("## The register of receipt numbers")
        add("")
        add("`bench_register` runs under `scripts/with-private-postgres`: a private PostgreSQL "
            "server on this machine. The desk's journal holds 100,000 prints of one range "
            "(every 100th number skipped, every 50th voided) and ten received ranges; the "
            "server's register holds the same uses. A shared register's claim goes over to "
            "the register's own thread, whose answer the print waits for in the event loop, "
            "never on the window's thread.")
        add("")
        budget_table(REGISTER_CHECKS, ACTION_BUDGET_MS)
        budget_table(RECONCILIATIONS, JOURNAL_BUDGET_MS)

    if not started:
        write(output, lines, commands, results, ran)
        return

    add("## Start-up and peak memory of the program")
    add("")
    add("`bench_startup` starts a copy of the built `kestrano` in a folder of its own (with "
        "city.txt and air.txt) on an Xvfb display, %d times for each kind of start after one "
        "start that is not counted. Beside it, started and watched in exactly the same way, "
        "runs `bench_empty_window_program` (bench/app/EmptyWindow.cpp): a Qt Widgets "
        "application that shows one empty window of the main window's size (911×620) and "
        "nothing else, linked to Qt Widgets alone, the floor that the program's start is "
        "judged against. The kinds take their starts in turns, so that a busy spell of the "
        "shared machine falls on all of them alike. It watches the display from outside "
        "through the X DAMAGE "
        "extension: the time runs from just before the process is created to the first damage "
        "on screen after the program's window is mapped, which is its first paint (Qt's windows "
        "have no background, so the server draws nothing of its own). Once the screen has been "
        "quiet for 300 ms the program gets SIGTERM, which it takes as an orderly close; the "
        "peak memory is the kernel's count of its largest resident set, the figure that "
        "`/usr/bin/time -v` prints as \"Maximum resident set size\"." %
        starts["wholeReceipt"]["repetitions"])
    add("")
    add("| start | settings | first paint | against the empty window | window mapped | "
        "last paint | SIGTERM to exit | processor time | against the empty window | "
        "peak memory | against the empty window |")
    add("|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|")

    def start_row(kind, settings, entry):
        add("| %s | %s | %s | %.2f× | %s | %s | %s | %s | %.2f× | %.1f MiB | %.2f× |" % (
            kind, settings, duration(in_ms(entry)), in_ms(entry) / floor_ms,
            duration(entry["mapped_ms"]), duration(entry["last_paint_ms"]),
            duration(entry["quit_ms"]), duration(entry["cpu_ms"]),
            entry["cpu_ms"] / floor["cpu_ms"], entry["peak_rss_MiB"],
            entry["peak_rss_MiB"] / floor_mib))

    for kind, settings in STARTS:
        start_row(kind, settings, starts[kind])
    add("| empty window | none: an empty Qt Widgets window of the same size | %s | 1 | %s | "
        "%s | %s | %s | 1 | %.1f MiB | 1 |" % (
            duration(floor_ms), duration(floor["mapped_ms"]), duration(floor["last_paint_ms"]),
            duration(floor["quit_ms"]), duration(floor["cpu_ms"]), floor_mib))
    start_row("window with one caption", "none: the empty window with one line of Chinese "
              "in the main window's font", figure("bench_startup", CAPTION_WINDOW))
    controls = figure("bench_startup", CONTROLS_WINDOW)
    start_row("window with the main window's controls", "none: the empty window with the "
              "main window's controls, plain Qt", controls)
    add("")
    add("The row \"window with one caption\", `bench_caption_window_program` "
        "(bench/app/CaptionWindow.cpp), is the empty window with one label \"航空运输电子客票行程单\" in the main window's font: what "
        "drawing any Chinese text at all adds to a start (fontconfig's set-up, the font "
        "database, one CJK face mapped and its glyphs drawn), which the empty window never pays. "
        "The last row, `bench_controls_window_program` (bench/app/ControlsWindow.cpp), shows "
        "the controls of the main window in plain Qt and nothing of the program: a box of its "
        "kind for every field of the receipt with its designed text and caption, the two "
        "groups, the tab page and the ten buttons, in the same font, in rows. No settings, "
        "lists, receipt drawing or bindings: what Qt Widgets itself takes to show this many "
        "controls, the floor under the program's start (%.2f× the empty window; the program "
        "takes %.2f× of it)." % (in_ms(controls) / floor_ms,
                                 in_ms(starts["wholeReceipt"]) / in_ms(controls)))
    add("")
    add("\"processor time\" is the user and system time of the whole run, from its start to "
        "its exit after SIGTERM, as the kernel counted it: the busier the machine, the more "
        "the wall-clock times above run over it, while it stays nearly the same.")
    add("")

    if not measured("bench_online"):
        write(output, lines, commands, results, ran)
        return
    python = read_json(results / "extract_bs4.json")
    python_lxml = read_json(results / "extract_lxml.json")
    cpp = figure("bench_online", "extractResultPage")
    cpp_ms = in_ms(cpp)
    for version in (python, python_lxml):
        if int(cpp["page_bytes"]) != version["page_bytes"]:
            sys.exit("write_results.py: the Python page has %d bytes, the program's %d" % (
                version["page_bytes"], int(cpp["page_bytes"])))
    add("## Extraction against Python with BeautifulSoup on lxml and with lxml alone")
    add("")
    add("The same extraction of the same %d-byte result page (bench/online/result_page.py builds "
        "the page as bench_online does and checks that the sizes agree): the SPAN values by "
        "class, the cells of the first row of the journey-detail table, each cell's DIV split "
        "at its line breaks, the journey dates. extract_bs4.py reads the page with "
        "BeautifulSoup on lxml, extract_lxml.py with lxml's own tree; lxml parses with "
        "libxml2's HTML parser, as the program does. Before each is timed, its `--check` "
        "compares every value it extracts from the four-segment sample page with the values "
        "the program's tests expect. The Python versions keep the values in a dictionary and "
        "run none of the receipt's field rules, which the program's figure includes." %
        python["page_bytes"])
    add("")
    add("Timed inside each language, one after the other in the same run: the program's side "
        "is the median of `extractResultPage` (Google Benchmark, %d repetitions); each Python "
        "side is the median of %d repeats of `timeit` (%d and %d calls each, wall clock per "
        "call), Python %s, BeautifulSoup %s, lxml %s on libxml2 %s, Debian's packages "
        "python3-bs4 and python3-lxml." % (
            cpp["repetitions"], python["repeats"], python["calls_per_repeat"],
            python_lxml["calls_per_repeat"], python["python"], python["bs4"], python["lxml"],
            python_lxml["libxml2"]))
    add("")
    bs4_ratio = python["median_ms"] / cpp_ms
    lxml_ratio = python_lxml["median_ms"] / cpp_ms
    add("| extraction of the 100 KB page | median | Python's time over the program's | "
        "target | met |")
    add("|---|---:|---:|---|:-:|")
    add("| Kestrano (C++, libxml2) | %s | 1 | | |" % duration(cpp_ms))
    add("| Python, BeautifulSoup on lxml | %s | %.1f× | at least 10× | %s |" % (
        duration(python["median_ms"]), bs4_ratio, verdict(bs4_ratio >= 10)))
    add("| Python, lxml alone | %s | %.1f× | above 1× | %s |" % (
        duration(python_lxml["median_ms"]), lxml_ratio, verdict(lxml_ratio > 1)))
    add("")

    add("## Hostile pages")
    add("")
    add("Pages built to stall an HTML parser, each read into a document from the text to the "
        "element list (`readHostilePage`, bench_online): read with its nesting cut where "
        "libxml2 stops nesting (256 levels), or refused before it is parsed.")
    add("")
    add("| page | bytes | outcome | median | within %g ms |" % HOSTILE_BUDGET_MS)
    add("|---|---:|---|---:|:-:|")
    for name, what in HOSTILE_PAGES:
        entry = figure("bench_online", "readHostilePage/" + name)
        ms = in_ms(entry)
        outcome = ("refused" if entry["refused"] else
                   "read, %d elements" % entry["elements"])
        add("| %s | %d | %s | %s | %s |" % (what, entry["page_bytes"], outcome, duration(ms),
                                             verdict(ms <= HOSTILE_BUDGET_MS)))
    add("")

    write(output, lines, commands, results, ran)


def write(output, lines, commands, results, ran):
    """The notes and the commands, then the report into output."""
    add = lines.append
    add("## Notes")
    add("")
    context = read_json(results / ("%s.json" % ("bench_app" if "bench_app" in ran
                                                  else sorted(ran)[0])))["context"]
    if context.get("library_build_type") == "debug":
        add("- Debian's Google Benchmark library calls itself a \"debug\" build and says so in "
            "every run. The timed loop is inline in its header and compiled with the benchmark "
            "program's own optimisation; the library's code only starts and stops the timers "
            "and adds up the results.")
    if "bench_pnr" in ran:
        add("- `bench_pnr` runs PCRE2 with its JIT, as Qt's release build does.")
    add("")
    add("## Commands")
    add("")
    add("From the repository's top folder; `bench/run` ran exactly these:")
    add("")
    add("```")
    add(commands)
    add("```")
    output.write_text("\n".join(lines) + "\n", encoding="utf-8")


if __name__ == "__main__":
    main()
