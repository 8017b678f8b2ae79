#pragma once

#include <QRegularExpression>
#include <QString>

// Compiles a pattern the way every pattern of the program is meant: any line
// break (CR, LF or CR LF) counts as a newline, and \d, \w and \s are ASCII
// classes (Unicode properties are never switched on).
inline QRegularExpression makePattern(const QString &pattern,
                                      QRegularExpression::PatternOptions options = {})
{
    return QRegularExpression(QStringLiteral("(*ANY)") + pattern, options);
}
