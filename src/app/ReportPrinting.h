#pragma once

#include "print/PrintJob.h"
#include "print/ReceiptRecord.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QWidget;
class ItineraryFields;
class PassengerChooser;
class PreviewWindow;
class PrintJournal;
class ReportPage;
class UnfinishedJobs;
class ReceiptReport;

// The ways to paper: "打印预览", "直接打印" and "全部打印". Each print makes
// its own page from the print layout, titles it "行程单", fills it from the
// receipt as it is at that moment and sends it to the default printer
// through CUPS. The serial number (or else the check code) moves on only
// when the job has completed, that is when the sheet is out; a job that
// fails leaves the numbers for the sheet still in the tray and says why.
// Every receipt sent is a row of the print journal. One job runs at a time;
// the windows stay usable meanwhile. The main window owns one of these for
// its whole life.
class ReportPrinting : public QObject
{
    Q_OBJECT

public:
    // Names the printer "the default printer" is; empty when there is none.
    using PrinterLookup = std::function<QString()>;
    using Done = std::function<void(const PrintOutcome &)>;

    // settingsFolder holds the settings file with the print settings; the
    // journal lives beside that file. Boxes are shown over boxParent.
    ReportPrinting(ItineraryFields &fields, PassengerChooser &passengers,
                   const QString &settingsFolder, QWidget *boxParent = nullptr);
    ~ReportPrinting() override;

    // The print system's default destination unless replaced.
    void setPrinterLookup(PrinterLookup lookup);
    // Two minutes unless replaced.
    void setTimeLimit(std::chrono::milliseconds limit) { m_timeLimit = limit; }

    // True from the hand-over of a job to its end.
    bool busy() const { return m_job != nullptr; }

    // "打印预览": opens the preview of a new page on the owner's screen and
    // returns at once; the window closes itself or with this object. Its
    // print button fills the page again from the receipt before each print.
    PreviewWindow *preview(QWidget *owner);

    // "直接打印": sends a new page of the receipt to the default printer.
    // Returns false when nothing was sent (no default printer, a job still
    // running); the end of the job comes later, as jobEnded.
    bool printDirect();

    // "全部打印": one receipt per passenger of the chooser, in its order, each
    // on the next serial number and each sent only when the one before has
    // completed; stops at the first that fails and names those not printed.
    bool printAll();

    // Sends any page to the default printer and follows the job: the one way
    // to paper, also for pages that are no receipt (record empty: nothing is
    // written to the journal). Says so in a box and returns false when there
    // is no default printer or a job is still running; a job that ends
    // otherwise than printed is shown in the error box. done runs at the end,
    // after the journal and the numbers have been brought up to date.
    bool printPage(const ReportPage &page, const std::optional<ReceiptRecord> &record,
                   Done done = {});

    // The print journal, opened at first use; raises KestranoError when it
    // cannot be opened. Opening it looks up the jobs that an earlier run left
    // unfinished before anything else reads or writes it, so every print,
    // and the journal's window, finds those rows settled or being followed.
    PrintJournal &journal();

    // Looks up the jobs that an earlier run left unfinished, if that has not
    // been done yet, and completes their rows as they end; unfinishedJobsDone
    // follows once all have. Without a journal file there is nothing to look
    // up and nothing is opened.
    void completeUnfinishedJobs();

    // The text of the error box for a job that did not print.
    static QString failureText(const PrintOutcome &outcome);

Q_SIGNALS:
    void busyChanged(bool busy);
    // After the journal and the numbers have taken the outcome in.
    void jobEnded(const PrintOutcome &outcome);
    void journalChanged();
    void unfinishedJobsDone();

private:
    struct Receipt
    {
        std::unique_ptr<ReceiptReport> rep;
        ReceiptRecord record;
    };
    struct PreviewSlot;

    Receipt newReceipt() const;
    bool printReceipt(const ReportPage &page, const ReceiptRecord &record);
    void printPassenger(int index);
    // advance: a receipt, whose numbers move on when it has printed.
    bool send(const ReportPage &page, const std::optional<ReceiptRecord> &record, bool advance,
              Done done, const QString &failureNote);
    void finishJob(const PrintOutcome &outcome, qint64 rowId, bool advance,
                   const QString &failureNote, const Done &done);
    void setBusy(bool busy);
    // Once, on the journal just opened.
    void followUnfinishedJobs();

    ItineraryFields &m_fields;
    PassengerChooser &m_passengers;
    QString m_settingsFolder;
    QPointer<QWidget> m_boxParent;
    PrinterLookup m_lookup;
    std::chrono::milliseconds m_timeLimit = PrintJob::defaultTimeLimit;
    std::unique_ptr<PrintJournal> m_journal;
    PrintJob *m_job = nullptr;
    UnfinishedJobs *m_unfinished = nullptr;
    bool m_unfinishedLookedUp = false;
    std::vector<std::shared_ptr<PreviewSlot>> m_previews;
};
