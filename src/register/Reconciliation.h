#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

// A number's use as the register holds it: its latest print, else its void.
struct UsedNumber
{
    qint64 number = 0;
    bool voided = false;
    QString serialNumber;
    QString time;
    QString desk;
    QString passenger;
    QString ticketNumber;
    QString total;
    QString voidReason;
};

// The account of a stretch of stock ("核销表"): of a received range, or of
// the numbers used in a period. A number is printed, voided, missing (below
// the highest number used in its range, yet neither printed nor voided:
// "缺号") or unused. The account holds the numbers; what each use was (time,
// desk, passenger...) is read apart, for the rows that are shown, exported
// or printed (RegisterStore::usesBetween).
struct Reconciliation
{
    // A number used: printed (by any of its rows), else voided.
    struct Use
    {
        qint64 number = 0;
        bool voided = false;
    };

    // Consecutive numbers first..last.
    struct Run
    {
        qint64 first = 0;
        qint64 last = 0;
        qint64 count() const { return last - first + 1; }
        bool operator==(const Run &) const = default;
    };

    QString scope; // "号段 0012345000–0012345999", "期间 2026-12-01 至 2026-12-31"
    bool isRange = false; // the unused numbers count only for a range
    std::vector<qint64> printed;
    std::vector<qint64> voided;
    // The missing numbers as runs, in number order: a range of ten billion
    // numbers with only its last one used is one run, not ten billion
    // numbers held.
    std::vector<Run> missing;
    qint64 unused = 0;

    qint64 missingCount() const;

    // Takes the uses of first..last in number order, one per number.
    static Reconciliation ofRange(qint64 first, qint64 last, const std::vector<Use> &uses);

    // Runs of consecutive numbers, for reading: "0012345010–0012345019（10 张）".
    static QStringList runs(const std::vector<qint64> &numbers);
    static QStringList runs(const std::vector<Run> &numbers);
    static QString runText(const Run &run);
    // A run's numbers, "0012345010" or "0012345010–0012345019", and its
    // state as a missing run, "缺号" or "缺号（10 张）", as the number view
    // and the CSV write them.
    static QString runNumbers(const Run &run);
    static QString missingState(const Run &run);

    // The use of number among details (in number order); nullptr when absent.
    static const UsedNumber *find(const std::vector<UsedNumber> &details, qint64 number);

    // The account as CSV: counts first, then one line per printed and
    // voided number, with what details tell of it, and one per run of
    // missing numbers; UTF-8 with a byte order mark, as the journal's export.
    QByteArray csv(const std::vector<UsedNumber> &details) const;
};
