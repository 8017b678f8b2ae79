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
// "缺号") or unused.
struct Reconciliation
{
    QString scope; // "号段 0012345000–0012345999", "期间 2026-12-01 至 2026-12-31"
    std::vector<UsedNumber> printed;
    std::vector<UsedNumber> voided;
    std::vector<qint64> missing;
    qint64 unused = 0;

    // Takes the uses of first..last, in number order, one per number (the
    // latest print, else the latest void).
    static Reconciliation ofRange(qint64 first, qint64 last, std::vector<UsedNumber> uses);

    // Runs of consecutive numbers, for reading: "0012345010–0012345019".
    static QStringList runs(const std::vector<qint64> &numbers);

    // The account as CSV: counts first, then one line per printed, voided
    // and missing number; UTF-8 with a byte order mark, as the journal's
    // export.
    QByteArray csv() const;
};
