#include "app/DateBox.h"

#include <QAction>
#include <QCalendarWidget>
#include <QDate>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TDateBox::TDateBox(QWidget *parent)
    : QLineEdit(parent), FPopup(new QFrame(this, Qt::Popup)), FCalendar(new QCalendarWidget(FPopup))
{
    QAction *dropDown =
        addAction(style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
    dropDown->setToolTip(QStringLiteral("日历"));
    connect(dropDown, &QAction::triggered, this, &TDateBox::showCalendar);

    FPopup->setFrameShape(QFrame::StyledPanel);
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
    const QDate shown = QDate::fromString(text(), dateFormat());
    FCalendar->setSelectedDate(shown.isValid() ? shown : QDate::currentDate());
    FPopup->adjustSize();
    FPopup->move(mapToGlobal(QPoint(0, height())));
    FPopup->show();
    FCalendar->setFocus();
}

void TDateBox::pick(const QString &picked)
{
    FPopup->hide();
    setText(picked);
    Q_EMIT textPicked(picked);
}
