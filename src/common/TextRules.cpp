#include "common/TextRules.h"

#include <QList>

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
