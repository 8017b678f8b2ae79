#include "settings/DelimitedText.h"

namespace {

constexpr QChar quote = u'"';
constexpr QChar delimiter = u',';

bool needsQuotes(const QString &entry)
{
    for (QChar c : entry) {
        if (c == quote || c == delimiter || c.unicode() <= 32)
            return true;
    }
    return false;
}

bool isSeparatingBlank(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 32;
}

} // namespace

QString toDelimitedText(const QStringList &entries)
{
    if (entries.size() == 1 && entries.front().isEmpty())
        return QStringLiteral("\"\"");
    QStringList written;
    written.reserve(entries.size());
    for (const QString &entry : entries) {
        if (needsQuotes(entry)) {
            QString inner = entry;
            inner.replace(quote, QStringLiteral("\"\""));
            written.append(quote + inner + quote);
        } else {
            written.append(entry);
        }
    }
    return written.join(delimiter);
}

QStringList fromDelimitedText(const QString &text)
{
    QStringList entries;
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < n && isSeparatingBlank(text.at(i)))
            ++i;
    };

    skipBlanks();
    while (i < n) {
        QString entry;
        if (text.at(i) == quote) {
            ++i;
            while (i < n) {
                if (text.at(i) == quote) {
                    if (i + 1 < n && text.at(i + 1) == quote) {
                        entry.append(quote);
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                entry.append(text.at(i++));
            }
        } else {
            const qsizetype start = i;
            while (i < n && text.at(i) != delimiter && !isSeparatingBlank(text.at(i)))
                ++i;
            entry = text.mid(start, i - start);
        }
        entries.append(entry);

        skipBlanks();
        if (i < n && text.at(i) == delimiter) {
            if (i == n - 1)
                entries.append(QString());
            ++i;
            skipBlanks();
        }
    }
    return entries;
}
