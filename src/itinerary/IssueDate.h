#pragma once

#include <QDate>
#include <QObject>
#include <QString>
#include <functional>

class ItineraryFields;

// The date of issue edtDateOfInsue is today's date until someone sets
// another. Set at start, it follows the calendar day for as long as nobody
// (the agent, the extraction) has changed it, so a window left open over
// midnight does not print yesterday's date.
class IssueDate : public QObject
{
    Q_OBJECT

public:
    using Clock = std::function<QDate()>;

    explicit IssueDate(ItineraryFields &fields, QObject *parent = nullptr);

    // Which day "today" is; the computer's local date unless replaced.
    void setClock(Clock today) { m_today = std::move(today); }

    // Writes today's date and follows the calendar from now on.
    void setToday();
    // Before every preview and print: today's date, unless the date was
    // changed since it was last written here.
    void followCalendar();
    bool followsCalendar() const { return m_following; }

    static QString dateFormat() { return QStringLiteral("yyyy-MM-dd"); }

private:
    ItineraryFields &m_fields;
    Clock m_today;
    QString m_written;
    bool m_following = false;
};
