#pragma once

#include <QLineEdit>

class QCalendarWidget;
class QFrame;

// A text box for a date "yyyy-MM-dd" with a drop-down calendar in Chinese:
// year and month navigation, days of the neighbouring months shown, a button
// "今天" for today and a button "清空" that empties the box. Only a real date
// of that form (or nothing) is accepted: keys that cannot lead to one are
// refused, and a date left unfinished or impossible (2026-02-30) goes back
// to the last accepted text when the box loses the focus. The calendar is
// built when it is first dropped down: it costs more to build than the rest
// of the window's boxes together, and most runs never open it.
class DateBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit DateBox(QWidget *parent = nullptr);

    static QString dateFormat() { return QStringLiteral("yyyy-MM-dd"); }

    void showCalendar();

Q_SIGNALS:
    // The user chose a date or emptied the box from the calendar, or the box
    // went back to its last accepted text.
    void textPicked(const QString &text);

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    void buildCalendar();
    void pick(const QString &text);

    QString m_accepted;
    QFrame *m_popup = nullptr;
    QCalendarWidget *m_calendar = nullptr;
};
