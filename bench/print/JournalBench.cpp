#include "itinerary/ItineraryFields.h"
#include "print/CupsPrinter.h"
#include "print/JournalModel.h"
#include "print/PagePdf.h"
#include "print/PrintJournal.h"
#include "print/ReceiptReport.h"
#include "print/ReportFiller.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

// What a print costs the window before the job is the printer's business, and
// what the journal window costs to open and search when years of prints are
// on record.

namespace {

ItineraryFields &receipt()
{
    static ItineraryFields fields;
    static const bool filled = [] {
        const char *const values[][2] = {
            {"edtSerNo", "5550001110 2"},    {"edtPassenger", "张三"},
            {"edtId", "310101197506062211"}, {"edtPnr", "ZK4W8D"},
            {"edtFlight1", "MU5101"},        {"edtDate1", "2026-12-22"},
            {"edtFrom1", "上海虹桥"},        {"edtFrom2", "北京首都"},
            {"edtFare", "1240.00"},          {"edtCAAC", "50.00"},
            {"edtTicketNo", "7812990457001"}};
        for (const auto &value : values)
            fields.setText(QString::fromLatin1(value[0]), QString::fromUtf8(value[1]));
        return true;
    }();
    (void)filled;
    return fields;
}

bool haveScheduler(benchmark::State &state)
{
    if (qEnvironmentVariableIsEmpty("CUPS_SERVER")) {
        state.SkipWithError("no private CUPS scheduler: run through scripts/with-private-cups");
        return false;
    }
    return true;
}

// Each held job is withdrawn at once, outside the measured time: the
// scheduler takes no more than a few hundred jobs that have not ended.
void withdraw(benchmark::State &state, const CupsPrinter &printer, int jobId)
{
    state.PauseTiming();
    printer.cancel(jobId);
    state.ResumeTiming();
}

// One "直接打印" up to the scheduler's answer, all of it: the default printer
// looked up, a new page filled from the receipt and rendered to PDF, its
// journal row written (synced), the job handed to the printer in one request
// and its id recorded. The job goes to "Held", which holds every job, so that
// no filter runs in the background while measuring.
void submitAndRecord(benchmark::State &state)
{
    if (!haveScheduler(state))
        return;
    QTemporaryDir folder;
    PrintJournal journal(folder.path());
    const CupsPrinter printer(QStringLiteral("Held"));
    for (auto _ : state) {
        if (CupsPrinter::defaultPrinter().isEmpty())
            state.SkipWithError("no default printer");
        ReceiptReport rep;
        rep.reportPage().setReportTitle(QStringLiteral("行程单"));
        fillReport(rep, receipt(), folder.path());
        const QByteArray pdf = renderPagePdf(rep.reportPage());
        const QString documentName = PrintJournal::newDocumentName(rep.reportPage().reportTitle());
        const qint64 row =
            journal.begin(ReceiptRecord::of(receipt()), printer.name(), documentName);
        const int jobId = printer.submitPdf(pdf, rep.reportPage().reportTitle(), documentName);
        journal.setJobId(row, jobId);
        withdraw(state, printer, jobId);
    }
}
BENCHMARK(submitAndRecord)->Unit(benchmark::kMillisecond);

// Its share: the default printer looked up, as every print does.
void lookUpDefaultPrinter(benchmark::State &state)
{
    if (!haveScheduler(state))
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(CupsPrinter::defaultPrinter());
}
BENCHMARK(lookUpDefaultPrinter)->Unit(benchmark::kMillisecond);

// Its share: the rendered page handed to the printer, up to the scheduler's
// answer with the job's id.
void submitRenderedPage(benchmark::State &state)
{
    if (!haveScheduler(state))
        return;
    const QTemporaryDir folder;
    ReceiptReport rep;
    rep.reportPage().setReportTitle(QStringLiteral("行程单"));
    fillReport(rep, receipt(), folder.path());
    const QByteArray pdf = renderPagePdf(rep.reportPage());
    const CupsPrinter printer(QStringLiteral("Held"));
    for (auto _ : state) {
        const int jobId =
            printer.submitPdf(pdf, rep.reportPage().reportTitle(),
                              PrintJournal::newDocumentName(rep.reportPage().reportTitle()));
        withdraw(state, printer, jobId);
    }
}
BENCHMARK(submitRenderedPage)->Unit(benchmark::kMillisecond);

// Its share: the journal's part, the row written before the hand-over (one
// synced transaction) and the job's id recorded after it.
void recordPrint(benchmark::State &state)
{
    QTemporaryDir folder;
    PrintJournal journal(folder.path());
    const ReceiptRecord record = ReceiptRecord::of(receipt());
    int jobId = 0;
    for (auto _ : state) {
        const qint64 row = journal.begin(record, QStringLiteral("Held"),
                                         PrintJournal::newDocumentName(QStringLiteral("行程单")));
        journal.setJobId(row, ++jobId);
    }
}
BENCHMARK(recordPrint)->Unit(benchmark::kMillisecond);

// The part of a print that the window's own thread does (the hand-over and
// the following run on a thread of the job's own): the page filled and
// rendered, the journal row written and synced.
void printClickOnWindowThread(benchmark::State &state)
{
    QTemporaryDir folder;
    PrintJournal journal(folder.path());
    for (auto _ : state) {
        ReceiptReport rep;
        rep.reportPage().setReportTitle(QStringLiteral("行程单"));
        fillReport(rep, receipt(), folder.path());
        benchmark::DoNotOptimize(renderPagePdf(rep.reportPage()));
        benchmark::DoNotOptimize(
            journal.begin(ReceiptRecord::of(receipt()), QStringLiteral("PDF"),
                          PrintJournal::newDocumentName(rep.reportPage().reportTitle())));
    }
}
BENCHMARK(printClickOnWindowThread)->Unit(benchmark::kMillisecond);

constexpr int journalRows = 100000;

// A journal of 100,000 prints, written once.
QString bigJournalFolder()
{
    static QTemporaryDir folder;
    static const bool written = [] {
        PrintJournal journal(folder.path());
        QSqlDatabase db = journal.database();
        db.transaction();
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral(
            "INSERT INTO journal (printed_at, printer, job_id, outcome, serial_number, check_code,"
            " passenger, ticket_number, flights, total) VALUES (?, 'PDF', ?, ?, ?, ?, ?,"
            " ?, 'MU5101 MU5102', '1290.00')"));
        QSqlQuery searched(db);
        searched.prepare(QStringLiteral("INSERT INTO journal_search (id, search) VALUES (?, ?)"));
        QSqlQuery fields(db);
        fields.prepare(QStringLiteral("INSERT INTO receipt_fields (id, fields) VALUES (?, ?)"));
        // Every row carries a whole receipt, as the program writes it.
        const QString receiptFields = ReceiptRecord::of(receipt()).fieldsJson();
        const QStringList names = {QStringLiteral("张三"), QStringLiteral("李四"),
                                   QStringLiteral("PETERSEN/ANNA MS"), QStringLiteral("陈大文")};
        for (int i = 0; i < journalRows; ++i) {
            insert.addBindValue(
                QStringLiteral("2026-12-10 09:%1:00").arg(i % 60, 2, 10, QLatin1Char('0')));
            insert.addBindValue(i + 1);
            insert.addBindValue(i % 50 == 0 ? QStringLiteral("failed") : QStringLiteral("printed"));
            const QString serial = QStringLiteral("%1 %2").arg(5550000000LL + i).arg(i % 7);
            const QString name = names.at(i % names.size()) + QString::number(i);
            const QString ticket = QString::number(7812990000000LL + i);
            insert.addBindValue(serial);
            insert.addBindValue(QString::number(i % 10000).rightJustified(4, u'0'));
            insert.addBindValue(name);
            insert.addBindValue(ticket);
            insert.exec();
            searched.addBindValue(insert.lastInsertId());
            searched.addBindValue(PrintJournal::searchText(serial + u'\t' + ticket + u'\t' + name));
            searched.exec();
            fields.addBindValue(insert.lastInsertId());
            fields.addBindValue(receiptFields);
            fields.exec();
        }
        db.commit();
        return true;
    }();
    (void)written;
    return folder.path();
}

// Opening "打印记录": the journal, its newest rows as the table shows them.
void openJournal(benchmark::State &state)
{
    const QString folder = bigJournalFolder();
    for (auto _ : state) {
        PrintJournal journal(folder);
        JournalModel model(journal);
        benchmark::DoNotOptimize(model.index(0, 0).data());
        if (model.rowCount() == 0)
            state.SkipWithError("empty journal");
    }
}
BENCHMARK(openJournal)->Unit(benchmark::kMillisecond);

// Opening it and searching: for a serial number, a ticket number, a name
// on a quarter of the rows, and something that is on no row (every search
// text read).
void openJournalAndSearch(benchmark::State &state)
{
    const QString folder = bigJournalFolder();
    const QStringList searches = {QStringLiteral("5550012345"), QStringLiteral("7812990054321"),
                                  QStringLiteral("李四"), QStringLiteral("王小二")};
    const QString search = searches.at(state.range(0));
    state.SetLabel(search.toStdString());
    for (auto _ : state) {
        PrintJournal journal(folder);
        JournalModel model(journal);
        model.setFilter(search);
        benchmark::DoNotOptimize(model.index(0, 0).data());
    }
}
BENCHMARK(openJournalAndSearch)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace
