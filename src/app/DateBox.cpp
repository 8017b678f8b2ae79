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
        if (input.size() == 10 && QDate::fromString(input, TDateBox::dateFormat()).isValid())
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

TDateBox::TDateBox(QWidget *parent) : QLineEdit(parent)
{
    QAction *dropDown = addAction(dropDownArrow(*style()), QLineEdit::TrailingPosition);
    dropDown->setToolTip(QStringLiteral("日历"));
    connect(dropDown, &QAction::triggered, this, &TDateBox::showCalendar);

    setValidator(new DateValidator(this));
    connect(this, &QLineEdit::textChanged, this, [this](const QString &shown) {
        if (hasAcceptableInput())
            FAccepted = shown;
    });
}

void TDateBox::buildCalendar()
{
    FPopup = new QFrame(this, Qt::Popup);
    FCalendar = new QCalendarWidget(FPopup);
    FPopup->setFrameShape(QFrame::StyledPanel);
    // Month and day names in Chinese, whatever the system locale.
    FCalendar->setLocale(QLocale(QLocale::Chinese, QLocale::China));
    FCalendar->setGridVisible(true);
    FCalendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    auto *today = new QPushButton(QStringLiteral("今天"), FPopup);
    auto *clear = new QPushButton(QStringLiteral("清空"), FPopup);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(today);
    buttons->addStretch();
    buttons->addWidget(clear);
    auto *layout = new QVBoxLayout(FPopup);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(FCalendar);
    layout->addLayout(buttons);

    connect(FCalendar, &QCalendarWidget::clicked, this,
            [this](QDate date) { pick(date.toString(dateFormat())); });
    connect(FCalendar, &QCalendarWidget::activated, this,
            [this](QDate date) { pick(date.toString(dateFormat())); });
    connect(today, &QPushButton::clicked, this,
            [this] { pick(QDate::currentDate().toString(dateFormat())); });
    connect(clear, &QPushButton::clicked, this, [this] { pick(QString()); });
}

void TDateBox::showCalendar()
{
    if (!FPopup)
        buildCalendar();
    const QDate shown = QDate::fromString(text(), dateFormat());
    FCalendar->setSelectedDate(shown.isValid() ? shown : QDate::currentDate());
    FPopup->adjustSize();
    FPopup->move(mapToGlobal(QPoint(0, height())));
    FPopup->show();
    FCalendar->setFocus();
}

void TDateBox::focusOutEvent(QFocusEvent *event)
{
    // Also when the calendar pops up: an unfinished date is no date.
    if (!hasAcceptableInput())
        pick(FAccepted);
    QLineEdit::focusOutEvent(event);
}

void TDateBox::pick(const QString &picked)
{
    if (FPopup)
        FPopup->hide();
    setText(picked);
    Q_EMIT textPicked(picked);
}
