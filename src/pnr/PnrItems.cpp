#include "pnr/PnrItems.h"

#include "common/TextRules.h"

#include <algorithm>
#include <vector>

namespace {

bool isLineBreak(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'\n' || u == u'\r' || u == u'\v' || u == u'\f' || u == 0x85 || u == 0x2028 ||
           u == 0x2029;
}

bool isBlank(QChar c)
{
    return c.unicode() <= 0x20;
}

// Copies out of web pages and chat hold tabs, no-break spaces and
// ideographic spaces where the terminal shows blanks.
bool standsForBlank(QChar c)
{
    return c == u'\t' || c.unicode() == 0xA0 || c.unicode() == 0x3000;
}

bool isPageMark(QChar c)
{
    return c == u'+' || c == u'-';
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// Chinese for joining a line broken inside a word; a character outside the
// Basic Multilingual Plane counts by its half, as names write them.
bool isChineseUnit(QChar c)
{
    return c.isSurrogate() || isChineseCharacter(c.unicode());
}

// The end of the run of digits that starts at from.
qsizetype digitsEnd(QStringView text, qsizetype from)
{
    while (from < text.size() && isAsciiDigit(text.at(from)))
        ++from;
    return from;
}

// An item number at `at`: one to three digits and a full stop, not followed
// by a digit unless the number is 0 (a group's header, "0.15PAX"). Its
// value, or -1.
int itemNumberAt(QStringView text, qsizetype at)
{
    // A fourth digit is enough to tell; a long run is not read to its end.
    const qsizetype end = digitsEnd(text.left(at + 4), at);
    if (end == at || end - at > 3 || end >= text.size() || text.at(end) != u'.')
        return -1;
    const int number = text.mid(at, end - at).toInt();
    if (end + 1 < text.size() && isAsciiDigit(text.at(end + 1)) && number != 0)
        return -1;
    return number;
}

// A prompt begins with ">" and a letter: ">PN", ">pn", ">RT KQ7X2M".
bool promptAt(QStringView text, qsizetype at)
{
    return text.at(at) == u'>' && at + 1 < text.size() && isAsciiLetter(text.at(at + 1));
}

// The lines of a price quote (">PAT:A", "01 Y FARE:CNY...", "SFC:01") are
// read from the whole text; they continue no item.
bool isPriceQuoteLine(QStringView text)
{
    if (text.size() >= 3 && isAsciiDigit(text.at(0)) && isAsciiDigit(text.at(1)) &&
        text.at(2) == u' ')
        return true;
    // A price line is a short one: its amounts stand near its start.
    const QStringView start = text.left(80);
    if (start.startsWith(u"SFC:") || start.startsWith(u"SFN:") || start.contains(u"FARE:") ||
        start.contains(u"TOTAL:"))
        return true;
    // The lines of QTE's price display: "FARE  CNY    4200", "TAX   CNY
    // 90CN", "TOTAL CNY    7200", "XT CNY 311RA ...".
    return start.startsWith(u"FARE ") || start.startsWith(u"TAX ") ||
           start.startsWith(u"TOTAL ") || start.startsWith(u"XT ");
}

// The terminal's columns a character takes: two for a Chinese (or other
// wide) character, as for the first half of a pair outside the Basic
// Multilingual Plane, none for its second half, one for any other.
int columnsOf(QChar c)
{
    const char16_t u = c.unicode();
    if (c.isLowSurrogate())
        return 0;
    const bool wide = c.isHighSurrogate() || (u >= 0x1100 && u <= 0x115F) ||
                      (u >= 0x2E80 && u <= 0xA4CF) || (u >= 0xAC00 && u <= 0xD7A3) ||
                      (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFE30 && u <= 0xFE4F) ||
                      (u >= 0xFF00 && u <= 0xFF60) || (u >= 0xFFE0 && u <= 0xFFE6);
    return wide ? 2 : 1;
}

// A banner such as "**ELECTRONIC TICKET PNR**".
bool isBanner(QStringView text)
{
    return text.startsWith(u"**");
}

class ItemScanner
{
public:
    void readLine(QString line);
    QList<PnrItem> takeItems() { return std::move(m_items); }

private:
    enum ColumnFlag : quint8 {
        RowStart = 1,   // the first column of a screen row, past the first
        MarkColumn = 2, // column 80, where the terminal writes its page marks
    };

    // Where the screen's rows of 80 columns begin and end in the line: a
    // copy may run them together without line breaks, and a row filled to
    // its last column glues it to the next one ("...ELLEN/P211.SSR TKNE").
    void findColumns(QStringView line);
    quint8 columnFlags(qsizetype at) const
    {
        if (!m_narrow)
            return m_columns[at];
        // Every character one column wide: the column is the position.
        return at > 0 && at % 80 == 0 ? RowStart : at % 80 == 79 ? MarkColumn : 0;
    }
    bool isRowStart(qsizetype at) const { return columnFlags(at) & RowStart; }
    // Where an item may begin inside a line: after a blank, or where a
    // screen row begins.
    bool isBoundary(QStringView line, qsizetype at) const
    {
        return at == 0 || isBlank(line.at(at - 1)) || isRowStart(at);
    }
    // Whether an item begins at `at` of a line, at its start or at a
    // boundary inside it; its number, or -1.
    int itemStartAt(QStringView line, qsizetype at, bool lineStart) const;
    // The next item start or prompt at or after from, or the line's size.
    qsizetype nextBreak(QStringView line, qsizetype from) const;
    // Where the expected item number begins as the last digits of the run
    // of digits from begin to end, glued to the word before it; -1 if not.
    qsizetype gluedItemStart(QStringView line, qsizetype begin, qsizetype end) const;
    // The end of a prompt's command word that begins at `at`.
    static qsizetype wordEnd(QStringView line, qsizetype at);
    void addText(QStringView piece, bool lineStart, bool indented);

    QList<PnrItem> m_items;
    bool m_narrow = true;          // no character of the line takes two columns
    std::vector<quint8> m_columns; // else the ColumnFlag of each of its characters
    int m_expected = -1; // the number the next item inside a line must bear; -1 before the first
    bool m_itemSeen = false;
};

int ItemScanner::itemStartAt(QStringView line, qsizetype at, bool lineStart) const
{
    const int number = itemNumberAt(line, at);
    if (number < 0)
        return -1;
    if (lineStart)
        return number;
    if (!m_itemSeen)
        return number <= 1 ? number : -1;
    return number == m_expected ? number : -1;
}

qsizetype ItemScanner::nextBreak(QStringView line, qsizetype from) const
{
    qsizetype i = from;
    while (i < line.size()) {
        if (isBoundary(line, i) && promptAt(line, i))
            return i;
        if (!isAsciiDigit(line.at(i))) {
            ++i;
            continue;
        }
        if (isBoundary(line, i) && itemStartAt(line, i, false) >= 0)
            return i;
        // Inside a run of digits only a row's start is a boundary, but for
        // the next number of the sequence glued to the end of the run.
        const qsizetype end = digitsEnd(line, i);
        if (const qsizetype glued = gluedItemStart(line, i, end); glued >= 0)
            return glued;
        if (m_narrow) {
            for (qsizetype row = (i / 80 + 1) * 80; row < end; row += 80) {
                if (itemStartAt(line, row, false) >= 0)
                    return row;
            }
            i = end;
            continue;
        }
        for (++i; i < end; ++i) {
            if (isRowStart(i) && itemStartAt(line, i, false) >= 0)
                return i;
        }
    }
    return line.size();
}

qsizetype ItemScanner::gluedItemStart(QStringView line, qsizetype begin, qsizetype end) const
{
    // Glued to a word: the run of digits follows a letter ("KX7P2M3.",
    // "KX7P23."), never a blank (an ordinary item start, or a time such as
    // "NOW 2315.") nor another sign.
    if (!m_itemSeen || begin == 0 || !isAsciiLetter(line.at(begin - 1)) || end >= line.size() ||
        line.at(end) != u'.')
        return -1;
    // The longest number first.
    for (qsizetype start = std::max(begin, end - 3); start < end; ++start) {
        if (line.at(start) != u'0' && itemNumberAt(line, start) == m_expected)
            return start;
    }
    return -1;
}

qsizetype ItemScanner::wordEnd(QStringView line, qsizetype at)
{
    while (at < line.size() && !isBlank(line.at(at)))
        ++at;
    return at;
}

void ItemScanner::findColumns(QStringView line)
{
    m_narrow = std::all_of(line.begin(), line.end(), [](QChar c) { return c.unicode() < 0x1100; });
    if (m_narrow)
        return;
    m_columns.assign(line.size(), 0);
    qsizetype column = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (i > 0 && column % 80 == 0)
            m_columns[i] |= RowStart;
        else if (column % 80 == 79)
            m_columns[i] |= MarkColumn;
        column += columnsOf(line.at(i));
    }
}

void ItemScanner::readLine(QString line)
{
    QChar *c = line.data();
    const qsizetype size = line.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (standsForBlank(c[i]))
            c[i] = u' ';
    }
    findColumns(line);
    // Page marks: "+" or "-" after a blank, at the start or in column 80,
    // before a blank, the end of the line, a glued item number or prompt;
    // or glued to the text before it (a row filled to column 79) where the
    // next page's prompt or item follows.
    const auto beginsPage = [&](qsizetype at) {
        return at < size && (itemNumberAt(line, at) >= 0 || promptAt(line, at));
    };
    for (qsizetype i = 0; i < size; ++i) {
        if (!isPageMark(c[i]))
            continue;
        const bool afterBlank = i == 0 || isBlank(c[i - 1]);
        // Glued to a word, not to another "-" as in a terminal's "T2--".
        const bool afterWord = !afterBlank && isAsciiLetterOrDigit(c[i - 1]);
        const bool beforeBreak = i + 1 == size || isBlank(c[i + 1]) || beginsPage(i + 1);
        if (beforeBreak && (afterBlank || (afterWord && (columnFlags(i) & MarkColumn)))) {
            c[i] = u' ';
        } else if (afterWord) {
            qsizetype next = i + 1;
            while (next < size && isBlank(c[next]))
                ++next;
            if (next > i + 1 && beginsPage(next))
                c[i] = u' ';
            i = next - 1;
        }
    }

    const QStringView text(line);
    qsizetype at = 0;
    while (at < text.size() && isBlank(text.at(at)))
        ++at;
    if (at == text.size() || isBanner(text.mid(at)))
        return;
    const bool indented = at > 0;

    bool lineStart = true;
    while (at < text.size()) {
        if (promptAt(text, at)) {
            // A prompt at the start of a line is blanked with its words ("RT
            // KQ7X2M") up to the next item; inside a line, where a copy ran
            // the lines together, only its command: what follows may be more
            // of the item before it, carried over a page.
            at = lineStart ? nextBreak(text, at + 1) : wordEnd(text, at);
            lineStart = false;
            continue;
        }
        const int number = itemStartAt(text, at, lineStart);
        if (number >= 0) {
            // The next item inside this line is the one after this.
            m_itemSeen = true;
            m_expected = number + 1;
            const qsizetype end = nextBreak(text, at + 1);
            PnrItem item;
            item.number = number;
            item.row = text.mid(at, end - at).toString();
            item.bodyStart = item.row.indexOf(u'.') + 1;
            m_items.append(item);
            at = end;
        } else {
            const qsizetype end = nextBreak(text, at);
            addText(text.mid(at, end - at), lineStart, indented);
            at = end;
        }
        lineStart = false;
    }
}

// Text that begins no item: more of the item before it, or, before the
// first item, a line of its own (an indented one continues the one before).
void ItemScanner::addText(QStringView piece, bool lineStart, bool indented)
{
    const QString text = trimmed(piece.toString());
    if (text.isEmpty() || isPriceQuoteLine(text))
        return;
    if (m_itemSeen || (!m_items.isEmpty() && (!lineStart || indented))) {
        appendJoined(m_items.last().continuation, text);
        return;
    }
    PnrItem loose;
    loose.row = text;
    m_items.append(loose);
}

} // namespace

QString PnrItem::body() const
{
    return trimmed(row.mid(bodyStart));
}

QString PnrItem::text() const
{
    return joinedText(body(), continuation);
}

void appendJoined(QString &before, const QString &after)
{
    if (!before.isEmpty() && !after.isEmpty()) {
        const QChar last = before.back();
        const QChar first = after.front();
        if (last != u'/' && first != u'/' && !(isChineseUnit(last) && isChineseUnit(first)))
            before += u' ';
    }
    before += after;
}

QString joinedText(const QString &before, const QString &after)
{
    QString text = before;
    appendJoined(text, after);
    return text;
}

QList<PnrItem> pnrItems(const QString &display)
{
    ItemScanner scanner;
    const QStringView text(display);
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // "^M", as a log viewer shows a carriage return, is a line break,
        // together with a real one right after it.
        const QChar c = text.at(i);
        const bool logged = c == u'^' && i + 1 < text.size() && text.at(i + 1) == u'M';
        if (!logged && !isLineBreak(c))
            continue;
        scanner.readLine(text.mid(start, i - start).toString());
        if (logged) {
            ++i;
            if (i + 1 < text.size() && isLineBreak(text.at(i + 1)))
                ++i;
        }
        if (text.at(i) == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        scanner.readLine(text.mid(start).toString());
    return scanner.takeItems();
}
