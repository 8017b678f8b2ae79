#pragma once

#include <QLineEdit>

class QCalendarWidget;
class QFrame;

// A text box for a date "yyyy-MM-dd" with a drop-down calendar: year and
// month navigation, days of the neighbouring months shown, a button "今天"
// for today and a button "清空" that empties the box. The calendar is built
// when it is first dropped down: it costs more to build than the rest of the
// window's boxes together, and most runs never open it.
class TDateBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit TDateBox(QWidget *parent = nullptr);

    static QString dateFormat() { return QStringLiteral("yyyy-MM-dd"); }

    void showCalendar();

Q_SIGNALS:
    // The user chose a date or emptied the box from the calendar.
    void textPicked(const QString &text);

private:
    void buildCalendar();
    void pick(const QString &text);

    QFrame *FPopup = nullptr;
    QCalendarWidget *FCalendar = nullptr;
};
