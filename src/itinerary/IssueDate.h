#pragma once

#include <QDate>
#include <QObject>
#include <QString>
#include <functional>

class TItineraryFields;

// The date of issue edtDateOfInsue is today's date until someone sets
// another. Set at start, it follows the calendar day for as long as nobody
// (the agent, the extraction) has changed it, so a window left open over
// midnight does not print yesterday's date.
class TIssueDate : public QObject
{
    Q_OBJECT

public:
    using Clock = std::function<QDate()>;

    explicit TIssueDate(TItineraryFields &fields, QObject *parent = nullptr);

    // Which day "today" is; the computer's local date unless replaced.
    void setClock(Clock today) { FToday = std::move(today); }

    // Writes today's date and follows the calendar from now on.
    void setToday();
    // Before every preview and print: today's date, unless the date was
    // changed since it was last written here.
    void followCalendar();
    bool followsCalendar() const { return FFollowing; }

    static QString dateFormat() { return QStringLiteral("yyyy-MM-dd"); }

private:
    TItineraryFields &FFields;
    Clock FToday;
    QString FWritten;
    bool FFollowing = false;
};
