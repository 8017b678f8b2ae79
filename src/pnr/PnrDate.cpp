#include "pnr/PnrDate.h"

#include "common/NearestDate.h"
#include "common/TextRules.h"

#include <QStringView>

namespace {

int monthNumber(QStringView name)
{
    static const char *const months[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                         "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    for (int month = 1; month <= 12; ++month) {
        if (name == QLatin1String(months[month - 1]))
            return month;
    }
    return 0;
}

// 1 for Monday to 7 for Sunday, as QDate counts; 0 for anything else.
int weekdayNumber(QStringView name)
{
    static const char *const days[] = {"MO", "TU", "WE", "TH", "FR", "SA", "SU"};
    for (int day = 1; day <= 7; ++day) {
        if (name == QLatin1String(days[day - 1]))
            return day;
    }
    return 0;
}

struct DayAndMonth
{
    int day = 0;
    int month = 0; // 0 when the token names none
};

DayAndMonth dayAndMonth(const QString &token)
{
    if (token.size() < 5)
        return {};
    const QString date = trimmed(token);
    if (date.size() < 2 || !isAsciiDigit(date.at(0)) || !isAsciiDigit(date.at(1)))
        return {};
    return {date.left(2).toInt(), monthNumber(upperCased(date.right(3)))};
}

QString isoDate(const QDate &date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

} // namespace

QString pnrDateInYear(const QString &token, int twoDigitYear)
{
    const auto [day, month] = dayAndMonth(token);
    if (month == 0)
        return {};
    return isoDate(QDate(2000 + twoDigitYear, month, day));
}

QString pnrDateToIso(const QString &token, const QDate &today, const QString &weekday)
{
    const auto [day, month] = dayAndMonth(token);
    if (month == 0)
        return {};

    const int wanted = weekdayNumber(weekday);
    for (int year = today.year() - 1; year <= today.year() + 1 && wanted != 0; ++year) {
        const QDate candidate(year, month, day);
        // A date falls on the same day of the week at most once in three
        // years running, so the first fit is the only one.
        if (candidate.isValid() && candidate.dayOfWeek() == wanted)
            return isoDate(candidate);
    }
    return isoDate(nearestDate(month, day, today));
}
