#include "common/NearestDate.h"

#include <cstdlib>

QDate nearestDate(int month, int day, const QDate &today)
{
    QDate nearest;
    for (int year = today.year() - 1; year <= today.year() + 1; ++year) {
        const QDate candidate(year, month, day);
        if (candidate.isValid() &&
            (!nearest.isValid() ||
             std::llabs(today.daysTo(candidate)) <= std::llabs(today.daysTo(nearest))))
            nearest = candidate;
    }
    return nearest;
}
