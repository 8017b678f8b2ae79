#pragma once

#include <QSqlQueryModel>

class PrintJournal;

// The journal as a table, newest row first: serial number, time, passenger,
// ticket number, flights, total and outcome. A filter keeps the rows whose
// serial number, ticket number or passenger contains the text. Rows are
// fetched as they are scrolled to, so a journal of any length opens at once.
class JournalModel : public QSqlQueryModel
{
    Q_OBJECT

public:
    enum Column {
        SerialNumber,
        Time,
        Passenger,
        TicketNumber,
        Flights,
        Total,
        Outcome,
        ColumnCount
    };

    explicit JournalModel(const PrintJournal &journal, QObject *parent = nullptr);

    const QString &filter() const { return m_filter; }
    void setFilter(const QString &text);
    // Reads the journal again with the same filter.
    void refresh();

    // The journal row shown at a table row, or 0.
    qint64 rowId(int row) const;
    // Its outcome's key ("printed", ...).
    QString outcomeKey(int row) const;

    static QString outcomeCaption(const QString &key);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;

private:
    const PrintJournal &m_journal;
    QString m_filter;
};
