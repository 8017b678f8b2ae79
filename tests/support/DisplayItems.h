#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A reservation display without some of its items (by their numbers); the
// lines that continue an item go with it. For tests that take a fixture
// display and leave out, say, its tickets and fare line.
inline QString displayWithout(const QString &display, const QList<int> &items)
{
    QStringList kept;
    bool dropping = false;
    for (const QString &line : display.split(u'\n')) {
        bool numbered = false;
        const int item = line.section(u'.', 0, 0).trimmed().toInt(&numbered);
        if (numbered)
            dropping = items.contains(item);
        if (!dropping)
            kept.append(line);
    }
    return kept.join(u'\n');
}
