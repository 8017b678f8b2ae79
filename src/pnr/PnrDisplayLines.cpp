#include "pnr/PnrDisplayLines.h"

namespace {

bool isLineBreak(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'\n' || u == u'\r' || u == u'\v' || u == u'\f' || u == 0x85 || u == 0x2028 ||
           u == 0x2029;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isBlank(QChar c)
{
    return c.unicode() <= 0x20;
}

bool isPageMark(QChar c)
{
    return c == u'+' || c == u'-';
}

// The end of the run of digits that starts at from.
qsizetype digitsEnd(QStringView text, qsizetype from)
{
    while (from < text.size() && isDigit(text.at(from)))
        ++from;
    return from;
}

// Whether an item number ("5.") starts at from.
bool itemNumberAt(QStringView text, qsizetype from)
{
    const qsizetype end = digitsEnd(text, from);
    return end > from && end < text.size() && text.at(end) == u'.';
}

// Where the first item of the line begins: a run of digits followed by a
// full stop. Each character is looked at once.
qsizetype itemStart(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size()) {
        if (!isDigit(text.at(i))) {
            ++i;
            continue;
        }
        const qsizetype end = digitsEnd(text, i);
        if (end < text.size() && text.at(end) == u'.')
            return i;
        i = end;
    }
    return -1;
}

// The line with a page mark at its end removed: the last character that is
// no blank is "+" or "-" and stands after a blank.
QString withoutEndMark(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && isBlank(text.at(end - 1)))
        --end;
    if (end >= 2 && isPageMark(text.at(end - 1)) && isBlank(text.at(end - 2)))
        return text.left(end - 1).toString();
    return text.toString();
}

void appendLine(QList<TPnrLine> &lines, QStringView text)
{
    TPnrLine line;
    line.text = withoutEndMark(text);
    line.item = itemStart(line.text);
    lines.append(line);
}

// One line as the terminal showed it, cut where a page mark has the next
// page's item glued to it. A mark counts there when it stands after a blank
// and after some text of the line, and the item number follows at once or
// after one blank.
void appendPhysicalLine(QList<TPnrLine> &lines, QStringView text)
{
    qsizetype start = 0;
    bool textBefore = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!isPageMark(c) || i == 0 || !isBlank(text.at(i - 1)) || !textBefore) {
            textBefore = textBefore || !isBlank(c);
            continue;
        }
        qsizetype next = i + 1;
        if (next < text.size() && text.at(next) == u' ')
            ++next;
        if (!itemNumberAt(text, next))
            continue;
        appendLine(lines, text.mid(start, i - start));
        start = next;
        i = next - 1;
        // The glued item is text of its own line; a mark is only looked for
        // after some of it.
        textBefore = false;
    }
    appendLine(lines, text.mid(start));
}

} // namespace

QList<TPnrLine> pnrLines(const QString &display)
{
    QList<TPnrLine> lines;
    const QStringView text(display);
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isLineBreak(text.at(i)))
            continue;
        appendPhysicalLine(lines, text.mid(start, i - start));
        if (text.at(i) == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        appendPhysicalLine(lines, text.mid(start));
    return lines;
}
