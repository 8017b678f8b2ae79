#pragma once

#include "print/NumberRegister.h"
#include "register/Reconciliation.h"

#include <QDate>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

// A range of numbered forms received from the issuer ("领用"), with the
// state of its numbers when read.
struct StockRange
{
    qint64 first = 0;
    qint64 last = 0;
    QString receivedOn; // yyyy-MM-dd
    QString receivedBy;
    qint64 printed = 0;
    qint64 voided = 0;
    qint64 missing = 0;
    qint64 unused = 0;

    qint64 size() const { return last - first + 1; }
};

// The register's tables on one connection: the desk's own journal (SQLite,
// where "register_receipts" is a view over the journal's rows) or the
// agency's PostgreSQL database (where it is a table that every desk fills).
// The same statements serve both. Every failure raises KestranoError naming
// the journal file or the server and the reason.
class RegisterStore
{
public:
    enum class Kind { Local, Shared };

    // name: the journal's path, or the server as RegisterAddress::shown.
    RegisterStore(QSqlDatabase db, Kind kind, QString name);

    // Creates the tables the register needs where they are missing; on the
    // server, under a lock, so that two desks joining at once do not clash,
    // and to the schema version this program writes (a newer one is refused).
    void prepare();
    static constexpr int schemaVersion = 1;

    QSqlDatabase database() const { return m_db; }
    Kind kind() const { return m_kind; }

    // The latest print or void of the number, from any desk.
    std::optional<NumberUse> lastUse(qint64 number) const;

    // Every received range's first and last number, in number order: what a
    // print looks a number up in.
    using Bounds = std::vector<std::pair<qint64, qint64>>;
    Bounds rangeBounds() const;
    // Every received range in number order, each with its counts.
    std::vector<StockRange> ranges() const;
    // Only where the range overlaps none received before.
    void addRange(const StockRange &range, const QString &desk);

    Reconciliation reconcileRange(qint64 first, qint64 last) const;
    // The numbers printed and voided from the first day to the last; the
    // missing ones below the highest of them, in the ranges they lie in.
    Reconciliation reconcilePeriod(const QDate &from, const QDate &to) const;

    // What each use of the numbers in first..last was, one per number (its
    // latest print, else its latest void), in number order.
    std::vector<UsedNumber> usesBetween(qint64 first, qint64 last) const;
    // The same for the printed and voided numbers of an account.
    std::vector<UsedNumber> usesOf(const Reconciliation &account) const;

    // Every row: serial number, time, desk, passenger, ticket, total,
    // outcome (as the journal's window names it), void reason; oldest first.
    std::vector<QStringList> exportRows() const;
    static QStringList exportHeader();

    // The message for a failed statement.
    QString failure(const QSqlError &error) const;

private:
    // The numbers used in first..last, one per number; with the time of the
    // use that counts when times is given.
    std::vector<Reconciliation::Use> numbersUsed(qint64 first, qint64 last,
                                                 std::vector<QString> *times = nullptr) const;
    void execute(const QString &statement) const;

    QSqlDatabase m_db;
    Kind m_kind;
    QString m_name;
};
