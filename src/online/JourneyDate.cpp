#include "JourneyDate.h"

#include "Pattern.h"

#include <QRegularExpression>
#include <cstdlib>
#include <optional>

QString journeyDate(const QString &monthAndDay, const QDate &today)
{
    static const QRegularExpression form = makePattern(QStringLiteral("^(\\d{2})-(\\d{2})$"));
    const QRegularExpressionMatch match = form.match(monthAndDay);
    if (match.hasMatch()) {
        const int month = match.captured(1).toInt();
        const int day = match.captured(2).toInt();
        std::optional<QDate> nearest;
        for (const int year : {today.year(), today.year() + 1, today.year() - 1}) {
            const QDate date(year, month, day);
            if (date.isValid() &&
                (!nearest || std::llabs(today.daysTo(date)) < std::llabs(today.daysTo(*nearest))))
                nearest = date;
        }
        if (nearest)
            return nearest->toString(QStringLiteral("yyyy-MM-dd"));
    }
    return QString::number(today.year()) + u'-' + monthAndDay;
}
