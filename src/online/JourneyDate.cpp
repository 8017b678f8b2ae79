#include "online/JourneyDate.h"

#include "common/NearestDate.h"
#include "common/Pattern.h"

#include <QRegularExpression>

QString journeyDate(const QString &monthAndDay, const QDate &today)
{
    static const QRegularExpression form = makePattern(QStringLiteral("^(\\d{2})-(\\d{2})$"));
    const QRegularExpressionMatch match = form.match(monthAndDay);
    if (match.hasMatch()) {
        const QDate nearest =
            nearestDate(match.captured(1).toInt(), match.captured(2).toInt(), today);
        if (nearest.isValid())
            return nearest.toString(QStringLiteral("yyyy-MM-dd"));
    }
    return QString::number(today.year()) + u'-' + monthAndDay;
}
