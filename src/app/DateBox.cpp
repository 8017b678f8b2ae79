#include "app/DateBox.h"

#include "common/TextRules.h"

#include <QAction>
#include <QCalendarWidget>
#include <QDate>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <QVBoxLayout>
#include <QValidator>

namespace {

// Accepts an empty box and a real date "yyyy-MM-dd"; lets through what can
// still become one as it is typed; refuses anything else ("tomorrow").
// What a date on its way to yyyy-MM-dd may look like: up to three runs of
// digits, of at most four, two and two, joined by "-".
bool hasDateShape(const QString &input)
{
    const QStringList parts = input.split(u'-');
    if (parts.size() > 3)
        return false;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (parts[i].size() > (i == 0 ? 4 : 2))
            return false;
        if (!allAsciiDigits(parts[i]))
            return false;
    }
    return true;
}

class DateValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &) const override
    {
        if (input.isEmpty())
            return Acceptable;
        if (!hasDateShape(input))
            return Invalid;
        if (input.size() == 10 && QDate::fromString(input, DateBox::dateFormat()).isValid())
            return Acceptable;
        return Intermediate;
    }
};

} // namespace

namespace {

// The style's own drop-down arrow, as its combo boxes draw it. The style's
// standard arrow icon would look the arrow up in the desktop's icon theme
// and load the image plugins, a large part of the window's start.
QIcon dropDownArrow(const QStyle &style)
{
    constexpr int side = 16;
    QPixmap arrow(side, side);
    arrow.fill(Qt::transparent);
    QPainter painter(&arrow);
    QStyleOption option;
    option.rect = arrow.rect();
    option.palette = QGuiApplication::palette();
    option.state = QStyle::State_Enabled;
    style.drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &painter);
    painter.end();
    return QIcon(arrow);
}

} // namespace

DateBox::DateBox(QWidget *parent) : QLineEdit(parent)
{
    QAction *dropDown = addAction(dropDownArrow(*style()), QLineEdit::TrailingPosition);
    dropDown->setToolTip(QStringLiteral("日历"));
    connect(dropDown, &QAction::triggered, this, &DateBox::showCalendar);

    setValidator(new DateValidator(this));
    connect(this, &QLineEdit::textChanged, this, [this](const QString &shown) {
        if (hasAcceptableInput())
            m_accepted = shown;
    });
}

void DateBox::buildCalendar()
{
    m_popup = new QFrame(this, Qt::Popup);
    m_calendar = new QCalendarWidget(m_popup);
    m_popup->setFrameShape(QFrame::StyledPanel);
    // Month and day names in Chinese, whatever the system locale.
    m_calendar->setLocale(QLocale(QLocale::Chinese, QLocale::China));
    m_calendar->setGridVisible(true);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    auto *today = new QPushButton(QStringLiteral("今天"), m_popup);
    auto *clear = new QPushButton(QStringLiteral("清空"), m_popup);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(today);
    buttons->addStretch();
    buttons->addWidget(clear);
    auto *layout = new QVBoxLayout(m_popup);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_calendar);
    layout->addLayout(buttons);

    connect(m_calendar, &QCalendarWidget::clicked, this,
            [this](QDate date) { pick(date.toString(dateFormat())); });
    connect(m_calendar, &QCalendarWidget::activated, this,
            [this](QDate date) { pick(date.toString(dateFormat())); });
    connect(today, &QPushButton::clicked, this,
            [this] { pick(QDate::currentDate().toString(dateFormat())); });
    connect(clear, &QPushButton::clicked, this, [this] { pick(QString()); });
}

void DateBox::showCalendar()
{
    if (!m_popup)
        buildCalendar();
    const QDate shown = QDate::fromString(text(), dateFormat());
    m_calendar->setSelectedDate(shown.isValid() ? shown : QDate::currentDate());
    m_popup->adjustSize();
    m_popup->move(mapToGlobal(QPoint(0, height())));
    m_popup->show();
    m_calendar->setFocus();
}

void DateBox::focusOutEvent(QFocusEvent *event)
{
    // Also when the calendar pops up: an unfinished date is no date.
    if (!hasAcceptableInput())
        pick(m_accepted);
    QLineEdit::focusOutEvent(event);
}

void DateBox::pick(const QString &picked)
{
    if (m_popup)
        m_popup->hide();
    setText(picked);
    Q_EMIT textPicked(picked);
}
