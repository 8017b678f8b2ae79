#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

struct Reconciliation;
struct UsedNumber;

// The reconciliation ("核销表") as an A4 portrait PDF on plain paper, as
// many pages as it takes: the scope, the counts, then the printed and the
// voided numbers as tables (with what details tell of each) and the missing
// ones as runs. Every cell is cut to its column, so nothing runs into its
// neighbour.
QByteArray reconciliationPdf(const Reconciliation &account, const std::vector<UsedNumber> &details,
                             const QString &registerName, const QString &desk);
