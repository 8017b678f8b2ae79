#include "common/CsvText.h"


namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c.unicode() == 0xA0 ||
           c.unicode() == 0x3000;
}

bool looksLikeFormula(const QString &text)
{
    if (text.startsWith(u'\t') || text.startsWith(u'\r'))
        return true;
    static const QString formulaStarts = QStringLiteral("=+-@＝＋－＠");
    for (const QChar c : text) {
        if (!isBlank(c))
            return formulaStarts.contains(c);
    }
    return false;
}

} // namespace

QString csvCell(QString text)
{
    if (looksLikeFormula(text))
        text.prepend(u'\'');
    if (text.contains(u',') || text.contains(u'"') || text.contains(u'\n') ||
        text.contains(u'\r')) {
        text.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        text = u'"' + text + u'"';
    }
    return text;
}

QByteArray csvFile(const std::vector<QStringList> &lines)
{
    QString text;
    for (const QStringList &line : lines) {
        QStringList cells;
        cells.reserve(line.size());
        for (const QString &cell : line)
            cells.append(csvCell(cell));
        text += cells.join(u',');
        text += QStringLiteral("\r\n");
    }
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}
