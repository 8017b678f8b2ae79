#include "print/JournalModel.h"

#include "print/PrintJournal.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {

// The shown columns first; the row's id and outcome key after them.
constexpr int idColumn = TJournalModel::ColumnCount;
constexpr int outcomeKeyColumn = TJournalModel::ColumnCount + 1;

} // namespace

TJournalModel::TJournalModel(const TPrintJournal &journal, QObject *parent)
    : QSqlQueryModel(parent), FJournal(journal)
{
    refresh();
}

void TJournalModel::setFilter(const QString &text)
{
    FFilter = text.trimmed();
    refresh();
}

void TJournalModel::refresh()
{
    QSqlQuery query(FJournal.database());
    const QString shown = QStringLiteral(
        "SELECT serial_number, printed_at, passenger, ticket_number, flights, total, outcome,"
        " journal.id, outcome FROM journal");
    if (FFilter.isEmpty()) {
        query.prepare(shown + QStringLiteral(" ORDER BY journal.id DESC"));
    } else {
        // instr() on the short search texts, newest first: a plain scan that
        // stops once a screenful has matched, quick enough for as-you-type
        // on years of prints.
        query.prepare(shown +
                      QStringLiteral(" JOIN journal_search ON journal_search.id = journal.id"
                                     " WHERE instr(journal_search.search, ?) > 0"
                                     " ORDER BY journal_search.id DESC"));
        query.addBindValue(TPrintJournal::searchText(FFilter));
    }
    query.exec();
    setQuery(std::move(query));
    const char *const headers[] = {"印刷序列", "时间", "旅客姓名", "票号", "航班", "合计", "结果"};
    for (int column = 0; column < ColumnCount; ++column)
        setHeaderData(column, Qt::Horizontal, QString::fromUtf8(headers[column]));
}

qint64 TJournalModel::rowId(int row) const
{
    return record(row).value(idColumn).toLongLong();
}

QString TJournalModel::outcomeKey(int row) const
{
    return record(row).value(outcomeKeyColumn).toString();
}

QString TJournalModel::outcomeCaption(const QString &key)
{
    switch (TPrintJournal::outcomeOf(key)) {
    case TPrintJournal::Outcome::Printing:
        return QStringLiteral("打印中");
    case TPrintJournal::Outcome::Printed:
        return QStringLiteral("已打印");
    case TPrintJournal::Outcome::Failed:
        return QStringLiteral("失败");
    case TPrintJournal::Outcome::Cancelled:
        return QStringLiteral("已取消");
    case TPrintJournal::Outcome::Voided:
        return QStringLiteral("已作废");
    case TPrintJournal::Outcome::Unconfirmed:
        return QStringLiteral("未确认");
    }
    return key;
}

QVariant TJournalModel::data(const QModelIndex &index, int role) const
{
    if (role == Qt::DisplayRole && index.column() == Outcome)
        return outcomeCaption(QSqlQueryModel::data(index, role).toString());
    return QSqlQueryModel::data(index, role);
}

int TJournalModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}
