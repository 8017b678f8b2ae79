#pragma once

#include <QRegularExpression>
#include <QString>

// Thrown when a search gave up at its bound.
struct PatternGaveUp
{
};

// A pattern of the PNR conversion, built with makePattern(). The text is
// whatever the user pasted, so every search carries PCRE's own bounds on
// backtracking: a search that reaches them ends with PatternGaveUp instead
// of holding the window, and the conversion keeps what it had found.
//
// PCRE counts its bound afresh at every start position, so the bound alone
// does not stop a pattern that is quadratic over the start positions of a
// long line (such as "\d+\." on a line of digits). The conversion's patterns
// are therefore also written so that no start position rescans what an
// earlier one has read (possessive repeats, a look-behind at the start of a
// run), which keeps every search linear in the length of the text.
//
// PCRE also checks a subject's encoding at every search, which would read a
// whole long text again for each of its lines; subjects are therefore
// checked once, by wellFormed(), and never again.
class BoundedPattern
{
public:
    explicit BoundedPattern(const QString &pattern);

    // The leftmost match at or after offset; none when offset lies beyond
    // the end of subject. subject must be well formed: a text returned by
    // wellFormed(), or a part of one cut at match boundaries.
    QRegularExpressionMatch match(const QString &subject, qsizetype offset = 0) const;
    // A match that begins exactly at offset, or none.
    QRegularExpressionMatch matchAt(const QString &subject, qsizetype offset) const;

    // text with every unpaired surrogate (no character of any text, but a
    // paste can hold one) replaced by U+FFFD.
    static QString wellFormed(const QString &text);

private:
    QRegularExpressionMatch search(const QString &subject, qsizetype offset,
                                   QRegularExpression::MatchOptions options) const;

    QRegularExpression m_pattern;
};
