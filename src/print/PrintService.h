#pragma once

#include "print/NumberRegister.h"
#include "print/PrintJob.h"
#include "print/ReceiptRecord.h"
#include "print/ReceiptReport.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class ItineraryFields;
class PrintJournal;
class ReportPage;
class UnfinishedJobs;

// The way to paper for "直接打印", "全部打印" and every other print. Each
// print makes its own page from the print layout, titles it "行程单", fills
// it from the receipt as it is at that moment and sends it to the default
// printer through CUPS. The serial number (or else the check code) moves on
// only when the job has completed, that is when the sheet is out; a job that
// fails leaves the numbers for the sheet still in the tray. Every receipt
// sent is a row of the print journal. One job runs at a time.
//
// Nothing here is shown to anybody: what the agent must learn (nothing sent,
// a job that did not print, a journal that refused a write) is told by a
// signal, for the window layer to put in its boxes. A KestranoError raised
// by a call comes back to its caller; one met later, while a job is being
// followed, comes as errorOccurred.
class PrintService : public QObject
{
    Q_OBJECT

public:
    // Names the printer "the default printer" is; empty when there is none.
    using PrinterLookup = std::function<QString()>;
    using Done = std::function<void(const PrintOutcome &)>;

    // Why nothing was sent.
    enum class Refusal {
        NoPassengers, // "全部打印" without a passenger to print
        JobRunning,   // one job at a time
        NoPrinter,    // the print system has no default printer
        NumberDeclined, // the agent chose not to print on a number used, not received or empty
    };
    Q_ENUM(Refusal)

    // What "全部打印" goes through, as the chooser holds it at each sheet:
    // the passengers' names in order, and the call that puts the one at an
    // index on the receipt.
    struct Passengers
    {
        std::function<QStringList()> names;
        std::function<void(int)> choose;
    };

    // Asked before a receipt takes a number that the register knows as used
    // (printAgain) or that lies outside every received range
    // (printOutsideStock, once per stretch between ranges in a run), and
    // before a receipt without a serial number goes out while the register
    // has ranges recorded (printWithoutNumber, once for "全部打印"). True:
    // print all the same. Unset, the answer is no.
    struct NumberQuestions
    {
        std::function<bool(const NumberUse &)> printAgain;
        std::function<bool(const QString &serialNumber, const StockGap &)> printOutsideStock;
        std::function<bool()> printWithoutNumber;
    };

    // A new page of the receipt as it is now, and what the journal keeps of it.
    struct Receipt
    {
        std::unique_ptr<ReceiptReport> report;
        ReceiptRecord record;
    };

    // settingsFolder holds the settings file with the print settings; the
    // journal lives beside that file.
    PrintService(ItineraryFields &fields, const QString &settingsFolder, QObject *parent = nullptr);
    ~PrintService() override;

    // The print system's default destination unless replaced.
    void setPrinterLookup(PrinterLookup lookup);
    // Two minutes unless replaced.
    void setTimeLimit(std::chrono::milliseconds limit) { m_timeLimit = limit; }

    // Every receipt asks the register about its number before it is sent;
    // without one, numbers are not checked. The register outlives the service.
    void setRegister(NumberRegister *numbers) { m_register = numbers; }
    void setNumberQuestions(NumberQuestions questions) { m_questions = std::move(questions); }
    // The desk the journal's rows name; user@host unless set.
    void setDesk(const QString &desk);

    // True from the question to the register (or the hand-over of a job) to
    // the job's end.
    bool busy() const { return m_job != nullptr || m_claiming; }

    // Made from the print layout, titled and filled as a print would be.
    Receipt newReceipt() const;

    // "直接打印": sends a new page of the receipt to the default printer.
    // Returns false when nothing was sent (notSent says why); the end of the
    // job comes later, as jobEnded.
    bool printDirect();

    // Sends a page filled from the receipt (newReceipt), whose numbers move
    // on when it has printed: what a preview shows goes to paper as shown.
    bool printReceipt(const ReportPage &page, const ReceiptRecord &record);

    // "全部打印": one receipt per passenger, in their order, each on the next
    // serial number and each sent only when the one before has completed;
    // stops at the first that fails (jobFailed names those not printed) or
    // cannot be sent (notSent, then seriesStopped). False when the first was
    // not sent.
    bool printAll(Passengers passengers);

    // Sends any page to the default printer and follows the job, also a page
    // that is no receipt (record empty: nothing is written to the journal,
    // no number moves on). Returns false when nothing was sent. done runs at
    // the end, after the journal has been brought up to date and the outcome
    // reported.
    bool printPage(const ReportPage &page,
                   const std::optional<ReceiptRecord> &record = std::nullopt, Done done = {});

    // Sends a finished PDF document of any number of pages, no receipt, as
    // printPage sends a page that is none.
    bool printDocument(const QByteArray &pdf, const QString &title, Done done = {});

    // The print journal, opened at first use; raises KestranoError when it
    // cannot be opened. Opening it looks up the jobs that an earlier run left
    // unfinished before anything else reads or writes it, so every print,
    // and the journal's window, finds those rows settled or being followed.
    PrintJournal &journal();

    // Looks up the jobs that an earlier run left unfinished, if that has not
    // been done yet, and completes their rows as they end; unfinishedJobsDone
    // follows once all have. Without a journal file there is nothing to look
    // up and nothing is opened.
    void completeUnfinishedRows();

Q_SIGNALS:
    void busyChanged(bool busy);
    // Nothing was sent; the receipt and the journal are as they were.
    void notSent(PrintService::Refusal why);
    // After the journal and the numbers have taken the outcome in.
    void jobEnded(const PrintOutcome &outcome);
    // Right after jobEnded (and any errorOccurred) for a job that did not
    // print. notPrinted: in "全部打印", the passengers left without a
    // receipt, this job's first; empty otherwise.
    void jobFailed(const PrintOutcome &outcome, const QStringList &notPrinted);
    // "全部打印" could not send the next passenger's sheet (notSent came
    // first): the passengers left without a receipt.
    void seriesStopped(const QStringList &notPrinted);
    // A KestranoError met while a job or a series was being followed, where
    // no caller is there to take it.
    void errorOccurred(const QString &message);
    void journalChanged();
    // A job of an earlier run whose end the print system cannot tell: the
    // agent looks at the stock and settles the row in "打印记录".
    void unconfirmedJob(const QString &serialNumber, const QString &reason);
    void unfinishedJobsDone();

private:
    // A document on its way: everything the hand-over needs, kept while the
    // register is asked.
    struct Outgoing
    {
        QByteArray pdf;
        QString title;
        QString printer;
        QString documentName;
        std::optional<ReceiptRecord> record;
        bool advance = false; // a receipt, whose numbers move on when it has printed
        Done done;
        QStringList notPrinted;
        bool laterInSeries = false; // not the first sheet of "全部打印"
    };

    // False when nothing was sent, also when the series is through.
    bool printPassenger(const Passengers &passengers, int index);
    bool send(const ReportPage &page, const std::optional<ReceiptRecord> &record, bool advance,
              Done done, const QStringList &notPrinted, bool laterInSeries = false);
    bool send(Outgoing out);
    // The register's word on the receipt's number, the agent asked where it
    // is used or not received; false when the agent declined. knownUsed:
    // this desk has used it, and the agent said to print all the same.
    bool numberAccepted(const ReceiptRecord &record, qint64 number, bool &knownUsed);
    // The shared register's answer to the claim; later: send has returned.
    bool claimAnswered(const Outgoing &out, NumberRegister::Claim claim,
                       const std::optional<NumberUse> &use, bool later);
    void handOver(const Outgoing &out);
    void finishJob(const PrintOutcome &outcome, qint64 rowId, bool advance,
                   const QStringList &notPrinted, const Done &done);
    // Once, on the journal just opened.
    void followUnfinishedJobs();

    ItineraryFields &m_fields;
    QString m_settingsFolder;
    PrinterLookup m_lookup;
    std::chrono::milliseconds m_timeLimit = PrintJob::defaultTimeLimit;
    std::unique_ptr<PrintJournal> m_journal;
    PrintJob *m_job = nullptr;
    UnfinishedJobs *m_unfinished = nullptr;
    bool m_unfinishedLookedUp = false;
    NumberRegister *m_register = nullptr;
    QString m_desk;
    NumberQuestions m_questions;
    bool m_claiming = false;
    // The stretches outside the received ranges the agent has let numbers
    // from in this run.
    std::vector<StockGap> m_acceptedGaps;
};
