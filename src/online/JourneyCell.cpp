#include "online/JourneyCell.h"

#include "common/TextRules.h"

namespace {

// The characters at which "." stops: every line break.
bool isLineBreak(QChar c)
{
    switch (c.unicode()) {
    case u'\n':
    case u'\r':
    case 0x0B:
    case 0x0C:
    case 0x85:
    case 0x2028:
    case 0x2029:
        return true;
    default:
        return false;
    }
}

} // namespace

std::optional<QString> journeyCellContent(const QString &cellHtml)
{
    const QLatin1StringView open("<DIV");
    const QLatin1StringView close("</DIV>");
    qsizetype lineStart = 0;
    while (lineStart <= cellHtml.size()) {
        qsizetype lineEnd = lineStart;
        while (lineEnd < cellHtml.size() && !isLineBreak(cellHtml.at(lineEnd)))
            ++lineEnd;
        const QStringView line = QStringView(cellHtml).sliced(lineStart, lineEnd - lineStart);
        // (.*) is greedy: the content runs to the last "</DIV>" of the line.
        const qsizetype lastClose = line.lastIndexOf(close, -1, Qt::CaseInsensitive);
        if (lastClose >= 0) {
            // The first "<DIV" wins unless its start tag, which ends at the
            // first ">" after it ("<DIV>" as well as "<DIV class=x>"), does
            // not end before that last "</DIV>"; a later "<DIV" has no earlier
            // ">" to offer, so one failure ends the line.
            const qsizetype start = line.indexOf(open, 0, Qt::CaseInsensitive);
            if (start >= 0 && start + open.size() <= lastClose) {
                const qsizetype tagEnd = line.indexOf(u'>', start + open.size());
                if (tagEnd >= 0 && tagEnd < lastClose)
                    return trimmed(line.sliced(tagEnd + 1, lastClose - tagEnd - 1).toString());
            }
        }
        lineStart = lineEnd + 1;
    }
    return std::nullopt;
}
