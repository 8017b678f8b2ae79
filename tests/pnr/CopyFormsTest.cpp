#include "Conversion.h"
#include "Strings.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <functional>

// Agents seldom paste a display straight from the terminal. It reaches them
// through web booking platforms that collapse the blanks, write each one as
// a no-break space or put the whole display on one line, through chat
// programs that drop the leading blanks or turn the columns into tabs, and
// through terminal logs that keep the screen's 80-column rows without their
// line breaks. Whatever the copy did to the layout, the receipt must be the
// one the clean display gives: each form below is made from every fixture
// display.

namespace {

QString replaced(QString text, const char *pattern, const QString &by)
{
    return text.replace(
        QRegularExpression(QString::fromLatin1(pattern), QRegularExpression::MultilineOption), by);
}

QString blanksCollapsed(const QString &display)
{
    return replaced(display, " +", QStringLiteral(" "));
}

QString linesJoined(const QString &display)
{
    return QString(display).replace(u'\n', u' ');
}

// The terminal gives a Chinese character (and any other wide one: kana,
// Hangul, full-width forms) two columns of its 80.
int columns(const QString &line)
{
    int width = 0;
    for (const QChar c : line) {
        const char16_t u = c.unicode();
        const bool wide = (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF) ||
                          (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0xF900 && u <= 0xFAFF) ||
                          (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFF60) ||
                          (u >= 0xFFE0 && u <= 0xFFE6);
        width += wide ? 2 : 1;
    }
    return width;
}

// Each line filled with blanks to the end of its last screen row (an empty
// line is an empty row), then all rows run together.
QString rowsRunTogether(const QString &display)
{
    QString text;
    for (const QString &line : display.split(u'\n')) {
        const int width = columns(line);
        const int rows = qMax(1, (width + 79) / 80);
        text += line + QString(rows * 80 - width, u' ');
    }
    return text;
}

const struct
{
    const char *name;
    std::function<QString(const QString &)> copy;
} copyForms[] = {
    {"blanks collapsed", blanksCollapsed},
    {"leading blanks removed",
     [](const QString &display) { return replaced(display, "^ +", QString()); }},
    {"runs of blanks as one tab",
     [](const QString &display) { return replaced(display, " +", QStringLiteral("\t")); }},
    {"each blank a no-break space",
     [](const QString &display) { return QString(display).replace(u' ', QChar(0x00A0)); }},
    {"80-column rows run together", rowsRunTogether},
    {"lines joined by a blank", linesJoined},
    {"one line, blanks collapsed",
     [](const QString &display) { return blanksCollapsed(linesJoined(display)); }},
};

// The receipt and chooser after the conversion, then the receipt with each
// entry chosen in turn, one line per text: a form that loses a passenger's
// own amounts, or gives them to another, differs here.
QStringList converted(const QString &display, const QDate &today, const FixtureLists &lists)
{
    Receipt receipt;
    receipt.convert(display, today, lists.airNames, lists.cityNames);
    QStringList state = receipt.snapshot();
    for (qsizetype k = 0; k < receipt.passengers.entries().size(); ++k) {
        receipt.passengers.choosePassenger(int(k));
        for (const QString &line : receipt.snapshot())
            state.append(QStringLiteral("entry %1 chosen: %2").arg(QString::number(k + 1), line));
    }
    return state;
}

// Only the lines that differ, so that a failure names the texts it is about.
QStringList differences(const QStringList &have, const QStringList &want)
{
    const QString none = QStringLiteral("(nothing)");
    QStringList found;
    for (qsizetype k = 0; k < qMax(have.size(), want.size()); ++k) {
        if (have.value(k, none) != want.value(k, none))
            found.append(have.value(k, none) + QStringLiteral(", expected ") + want.value(k, none));
    }
    return found;
}

class CopyForm : public ::testing::TestWithParam<std::string>
{
protected:
    QString name() const { return QString::fromStdString(GetParam()); }
};

TEST_P(CopyForm, GivesTheReceiptOfTheCleanDisplay)
{
    const QString display = readFixture(name() + QStringLiteral(".pnr"));
    ASSERT_FALSE(display.isEmpty());
    const QDate today =
        Expected::fromLines(readFixture(name() + QStringLiteral(".expected")).split(u'\n')).today;
    const FixtureLists lists;

    const QStringList clean = converted(display, today, lists);
    for (const auto &form : copyForms)
        EXPECT_EQ(differences(converted(form.copy(display), today, lists), clean), QStringList())
            << form.name << " of " << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Pnr, CopyForm, ::testing::ValuesIn(fixtureDisplayNames()),
                         [](const ::testing::TestParamInfo<std::string> &info) {
                             return info.param;
                         });

} // namespace
