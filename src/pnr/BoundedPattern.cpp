#include "pnr/BoundedPattern.h"

#include "common/Pattern.h"

namespace {

// Far above what any line of a reservation display needs, far below what
// freezes the window: a runaway search stops within milliseconds.
const QString searchBounds = QStringLiteral("(*LIMIT_MATCH=100000)(*LIMIT_DEPTH=10000)");

} // namespace

BoundedPattern::BoundedPattern(const QString &pattern)
    : m_pattern(makePattern(searchBounds + pattern))
{
    Q_ASSERT_X(m_pattern.isValid(), "BoundedPattern", qPrintable(m_pattern.errorString()));
}

QRegularExpressionMatch BoundedPattern::match(const QString &subject, qsizetype offset) const
{
    return search(subject, offset, {});
}

QRegularExpressionMatch BoundedPattern::matchAt(const QString &subject, qsizetype offset) const
{
    return search(subject, offset, QRegularExpression::AnchorAtOffsetMatchOption);
}

QRegularExpressionMatch BoundedPattern::search(const QString &subject, qsizetype offset,
                                               QRegularExpression::MatchOptions options) const
{
    if (offset > subject.size())
        return {};
    QRegularExpressionMatch found =
        m_pattern.match(subject, offset, QRegularExpression::NormalMatch,
                        options | QRegularExpression::DontCheckSubjectStringMatchOption);
    // A search that ends without a verdict is one that reached a bound.
    if (!found.isValid())
        throw PatternGaveUp();
    return found;
}

QString BoundedPattern::wellFormed(const QString &text)
{
    QString result = text;
    const qsizetype size = result.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = result.at(i);
        if (c.isHighSurrogate() && i + 1 < size && result.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            result[i] = QChar::ReplacementCharacter;
    }
    return result;
}
