#include "print/JournalModel.h"

#include "print/PrintJournal.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {

// The shown columns first; the row's id and outcome key after them.
constexpr int idColumn = JournalModel::ColumnCount;
constexpr int outcomeKeyColumn = JournalModel::ColumnCount + 1;

} // namespace

JournalModel::JournalModel(const PrintJournal &journal, QObject *parent)
    : QSqlQueryModel(parent), m_journal(journal)
{
    refresh();
}

void JournalModel::setFilter(const QString &text)
{
    m_filter = text.trimmed();
    refresh();
}

void JournalModel::refresh()
{
    QSqlQuery query(m_journal.database());
    const QString shown = QStringLiteral(
        "SELECT serial_number, printed_at, passenger, ticket_number, flights, total, outcome,"
        " journal.id, outcome FROM journal");
    if (m_filter.isEmpty()) {
        query.prepare(shown + QStringLiteral(" ORDER BY journal.id DESC"));
    } else {
        // instr() on the short search texts, newest first: a plain scan that
        // stops once a screenful has matched, quick enough for as-you-type
        // on years of prints.
        query.prepare(shown +
                      QStringLiteral(" JOIN journal_search ON journal_search.id = journal.id"
                                     " WHERE instr(journal_search.search, ?) > 0"
                                     " ORDER BY journal_search.id DESC"));
        query.addBindValue(PrintJournal::searchText(m_filter));
    }
    query.exec();
    setQuery(std::move(query));
    const char *const headers[] = {"印刷序列", "时间", "旅客姓名", "票号", "航班", "合计", "结果"};
    for (int column = 0; column < ColumnCount; ++column)
        setHeaderData(column, Qt::Horizontal, QString::fromUtf8(headers[column]));
}

qint64 JournalModel::rowId(int row) const
{
    return record(row).value(idColumn).toLongLong();
}

QString JournalModel::outcomeKey(int row) const
{
    return record(row).value(outcomeKeyColumn).toString();
}

QString JournalModel::outcomeCaption(const QString &key)
{
    switch (PrintJournal::outcomeOf(key)) {
    case PrintJournal::Outcome::Printing:
        return QStringLiteral("打印中");
    case PrintJournal::Outcome::Printed:
        return QStringLiteral("已打印");
    case PrintJournal::Outcome::Failed:
        return QStringLiteral("失败");
    case PrintJournal::Outcome::Cancelled:
        return QStringLiteral("已取消");
    case PrintJournal::Outcome::Voided:
        return QStringLiteral("已作废");
    case PrintJournal::Outcome::Unconfirmed:
        return QStringLiteral("未确认");
    }
    return key;
}

QVariant JournalModel::data(const QModelIndex &index, int role) const
{
    if (role == Qt::DisplayRole && index.column() == Outcome)
        return outcomeCaption(QSqlQueryModel::data(index, role).toString());
    return QSqlQueryModel::data(index, role);
}

int JournalModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}
