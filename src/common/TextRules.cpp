#include "common/TextRules.h"

#include <QList>
#include <algorithm>

QString trimmed(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlankOrControl(text.at(begin)))
        ++begin;
    while (end > begin && isBlankOrControl(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

bool allAsciiDigits(QStringView text)
{
    for (const QChar c : text) {
        if (!isAsciiDigit(c))
            return false;
    }
    return true;
}

QString upperCased(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        // Surrogate halves map to themselves; a one-to-many mapping such as
        // the German sharp s keeps its single character.
        const char32_t upper = QChar::toUpper(char32_t(c.unicode()));
        if (upper != c.unicode() && upper <= 0xFFFF)
            c = QChar(char16_t(upper));
    }
    return result;
}

bool isChineseCharacter(char32_t c)
{
    struct Block
    {
        char32_t first;
        char32_t last;
    };
    static constexpr Block ideographs[] = {
        {0x3400, 0x4DBF},   // Extension A
        {0x4E00, 0x9FFF},   // Unified Ideographs
        {0xF900, 0xFAFF},   // Compatibility Ideographs
        {0x20000, 0x2A6DF}, // Extension B
        {0x2A700, 0x2B73F}, // Extension C
        {0x2B740, 0x2B81F}, // Extension D
        {0x2B820, 0x2CEAF}, // Extension E
        {0x2CEB0, 0x2EBEF}, // Extension F
        {0x2EBF0, 0x2EE5F}, // Extension I
        {0x2F800, 0x2FA1F}, // Compatibility Ideographs Supplement
        {0x30000, 0x3134F}, // Extension G
        {0x31350, 0x323AF}, // Extension H
    };
    for (const Block &block : ideographs) {
        if (c >= block.first && c <= block.last)
            return true;
    }
    return false;
}

bool hasChineseCharacter(const QString &text)
{
    for (const char32_t c : text.toUcs4()) {
        if (isChineseCharacter(c))
            return true;
    }
    return false;
}

namespace {

// The last character of the terminal control sequence that begins at `at`
// (with ESC or CSI): "ESC [" or CSI, parameters and intermediates, and one
// final character; "ESC ]" up to its terminator (BEL or "ESC \"); else ESC
// and the one character after it.
qsizetype escapeEnd(const QString &text, qsizetype at)
{
    const qsizetype size = text.size();
    const bool escape = text.at(at).unicode() == 0x1B;
    qsizetype next = at + 1;
    if (escape && next < size && text.at(next) == u']') {
        while (++next < size && text.at(next).unicode() != 0x07 && text.at(next).unicode() != 0x1B)
            ;
        if (next + 1 < size && text.at(next).unicode() == 0x1B && text.at(next + 1) == u'\\')
            ++next;
        return std::min(next, size - 1);
    }
    if (escape && !(next < size && text.at(next) == u'['))
        return std::min(next, size - 1);
    if (escape)
        ++next;
    while (next < size && text.at(next).unicode() >= 0x20 && text.at(next).unicode() < 0x40)
        ++next;
    return std::min(next, size - 1);
}

} // namespace

QString foreignText(const QString &text, qsizetype maxLength)
{
    const auto reorders = [](char16_t u) {
        return u == 0x061C || u == 0x200E || u == 0x200F || (u >= 0x202A && u <= 0x202E) ||
               (u >= 0x2066 && u <= 0x2069);
    };
    QString shown;
    shown.reserve(std::min(text.size(), maxLength + 1));
    for (qsizetype i = 0; i < text.size() && shown.size() <= maxLength; ++i) {
        const char16_t u = text.at(i).unicode();
        if (u == 0x1B || u == 0x9B) {
            i = escapeEnd(text, i);
            continue;
        }
        if (reorders(u))
            continue;
        const bool control = u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x2028 || u == 0x2029;
        if (control) {
            if (!shown.isEmpty() && shown.back() != u' ')
                shown.append(u' ');
            continue;
        }
        shown.append(text.at(i));
    }
    shown = trimmed(shown);
    if (shown.size() > maxLength) {
        shown.truncate(maxLength);
        // Never half of a pair outside the Basic Multilingual Plane.
        if (shown.back().isHighSurrogate())
            shown.chop(1);
        shown.append(u'…');
    }
    return shown;
}
