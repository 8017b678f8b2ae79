#include "common/TextRules.h"

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
