#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// Test tables are written with UTF-8 literals.
inline QString u8s(const char *text)
{
    return QString::fromUtf8(text);
}

inline QStringList u8list(const std::vector<const char *> &items)
{
    QStringList list;
    for (const char *item : items)
        list.append(QString::fromUtf8(item));
    return list;
}

#include <ostream>

// Failure messages show texts as text, not as bytes.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
