#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QThread>
#include <chrono>

// How a print job ended for the one who sent it.
struct PrintOutcome
{
    // Unconfirmed: whether the sheet came out cannot be told (the job of a
    // run that ended cannot be told apart from another of the same name).
    enum class Result { Printed, Failed, Cancelled, Unconfirmed };
    Result result = Result::Failed;
    QString printer;
    int jobId = 0; // 0 when the printer took no job
    QString reason;
};
Q_DECLARE_METATYPE(PrintOutcome)

// One page document on its way to paper: hands it to the printer and follows
// the job until it has completed, failed, or run out of time, on a thread of
// its own so that the windows stay responsive. A job given up on (time out,
// printer stopped) is withdrawn, so that it cannot come out later under a
// number that has been used again.
class PrintJob : public QThread
{
    Q_OBJECT

public:
    // The longest a job may take from hand-over to the last sheet.
    static constexpr std::chrono::milliseconds defaultTimeLimit = std::chrono::minutes(2);

    // documentName: see CupsPrinter::submitPdf.
    PrintJob(QString printer, QByteArray pdf, QString title, QString documentName = QString(),
             std::chrono::milliseconds timeLimit = defaultTimeLimit, QObject *parent = nullptr);
    // Stops following; the job itself goes on in the print system.
    ~PrintJob() override;

    // The reason given when a job does not complete in time.
    static QString lateReason(std::chrono::milliseconds timeLimit);

Q_SIGNALS:
    // The printer took the job (queued to whoever listens on another thread).
    void submitted(int jobId);
    // Once, at the end; also when the printer took no job.
    void ended(const PrintOutcome &outcome);

protected:
    void run() override;

private:
    PrintOutcome follow(int jobId);
    bool pause(std::chrono::milliseconds length);

    QString m_printer;
    QByteArray m_pdf;
    QString m_title;
    QString m_documentName;
    std::chrono::milliseconds m_timeLimit;
};
