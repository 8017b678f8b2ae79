#include "online/JourneyDate.h"

#include "common/Pattern.h"

#include <QRegularExpression>
#include <cstdlib>

namespace {

// How far a journey looked up lies behind and ahead of today, in days.
constexpr qint64 daysBehind = 60;
constexpr qint64 daysAhead = 305;

QDate dateInTicketWindow(int month, int day, const QDate &today)
{
    QDate found;
    for (int year = today.year() - 1; year <= today.year() + 1; ++year) {
        const QDate candidate(year, month, day);
        if (!candidate.isValid())
            continue;
        const qint64 days = today.daysTo(candidate);
        if (days < -daysBehind || days > daysAhead)
            continue;
        if (!found.isValid() || std::llabs(days) < std::llabs(today.daysTo(found)))
            found = candidate;
    }
    return found;
}

} // namespace

QString journeyDate(const QString &monthAndDay, const QDate &today)
{
    static const QRegularExpression form = makePattern(QStringLiteral("^(\\d{2})-(\\d{2})$"));
    const QRegularExpressionMatch match = form.match(monthAndDay);
    if (match.hasMatch()) {
        const QDate date =
            dateInTicketWindow(match.captured(1).toInt(), match.captured(2).toInt(), today);
        if (date.isValid())
            return date.toString(QStringLiteral("yyyy-MM-dd"));
    }
    return QString::number(today.year()) + u'-' + monthAndDay;
}
