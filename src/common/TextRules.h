#pragma once

#include <QString>

// Removes leading and trailing characters at or below U+0020. The no-break
// space and the ideographic space are text, not blanks, and stay.
QString trimmed(const QString &text);

// True for the characters that trimmed() removes.
inline bool isBlankOrControl(QChar c)
{
    return c.unicode() <= 0x20;
}

// The digits 0 to 9 of ASCII, not the full-width or other scripts' digits.
inline bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// The letters and digits of ASCII, as codes and locators are written.
inline bool isAsciiLetterOrDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9');
}

// True when every character of the text is an ASCII digit (and for no text).
bool allAsciiDigits(QStringView text);

// Upper-cases character by character, so the text keeps its length and
// Chinese characters stay as they are.
QString upperCased(const QString &text);

// True for a CJK ideograph: the unified ideographs and every extension block
// (A to I), and the compatibility ideographs. Radicals, strokes, Chinese
// punctuation and full-width forms are not ideographs.
bool isChineseCharacter(char32_t c);

// True when the text holds at least one CJK ideograph; a character outside
// the Basic Multilingual Plane counts by its code point, not its halves.
bool hasChineseCharacter(const QString &text);

// Text that another desk, a server or a network put there, made fit to show
// on one line: terminal escape sequences ("ESC [ 31 m") removed whole, every
// other control character (C0, DEL, C1) and line break made a blank, the
// characters that reorder text (bidirectional embeddings, overrides,
// isolates and marks) removed, blanks trimmed, and the rest cut after
// maxLength characters with "…". Shown as plain text, it can only ever
// read as what it says.
QString foreignText(const QString &text, qsizetype maxLength = 120);
