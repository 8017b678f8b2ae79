#include "Strings.h"
#include "common/Pattern.h"
#include "itinerary/ItineraryFields.h"
#include "online/JourneyCell.h"
#include "online/ResultPage.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

// The rows of every family hold "OLD" before, so rows left alone show.
void fillFamilies(ItineraryFields &fields)
{
    for (const char *family :
         {"edtT", "edtFrom", "cboAir", "edtFlight", "edtSeat", "edtDate", "edtTime", "edtBasts",
          "edtNotValidBefore", "edtNotValidAfter", "edtAllow"}) {
        for (int row = 1; row <= 5; ++row)
            fields.setText(QString::fromLatin1(family) + QString::number(row),
                           QStringLiteral("OLD"));
    }
}

TEST(fillJourneyColumn, WritesThePiecesOfTheDivIntoTheRowsOfOneFamily)
{
    const struct
    {
        const char *family;
        const char *html;
        std::vector<const char *> rows; // rows 1 to 5 of the family afterwards
    } cases[] = {
        {"edtFrom", "<DIV class=\"c\">PEK<BR>SHA<BR></DIV>", {"PEK", "SHA", "", "OLD", "OLD"}},
        {"edtFrom", "<div class=c>A<br>B<br>C<br>D<br>E<br>F</div>", {"A", "B", "C", "D", "E"}},
        {"EDTfrom", "<DIV class=c>X</DIV>", {"X", "OLD", "OLD", "OLD", "OLD"}},
        {"edtT", "<DIV class=c>A<BR>B<BR>C<BR>D<BR>E</DIV>", {"A", "B", "C", "D", ""}},
        {"edtAllow", "<DIV id=x> 20K <BR>  </DIV>", {"20K ", "", "OLD", "OLD", ""}},
        {"cboAir",
         "<DIV class=c>&nbsp;国航<br><B>东航</B></DIV>",
         {"&NBSP;国航", "<B>东航</B>", "OLD", "OLD", ""}},
        // Greedy to the last "</DIV>" of the line, from the first start tag.
        {"edtTime",
         "x<DIV class=a>1<DIV class=b>2</DIV>3</DIV>y</DIV>z",
         {"1<DIV CLASS=B>2</DIV>3</DIV>Y", "OLD", "OLD", "OLD", ""}},
        {"edtSeat",
         "<div class=c>Y</div>\n<div class=d>F<br>C</div>",
         {"Y", "OLD", "OLD", "OLD", ""}},
        // No DIV start and end tag on one line: nothing is written.
        {"edtSeat", "<DIV class=c>\nY<BR>C</DIV>", {"OLD", "OLD", "OLD", "OLD", ""}},
        {"edtSeat", "<DIV class=c>Y<BR>C\r\n</DIV>", {"OLD", "OLD", "OLD", "OLD", ""}},
        // A start tag without attributes ends at its own ">".
        {"edtSeat", "<DIV>Y</DIV>", {"Y", "OLD", "OLD", "OLD", ""}},
        {"edtSeat", "<DIV>Y<BR>C</DIV>", {"Y", "C", "OLD", "OLD", ""}},
        {"edtFrom", "<td><div>PEK<br>SHA</div></td>", {"PEK", "SHA", "OLD", "OLD", "OLD"}},
        {"edtSeat", "Y<BR>C", {"OLD", "OLD", "OLD", "OLD", ""}},
        {"edtSeat", "", {"OLD", "OLD", "OLD", "OLD", ""}},
    };
    for (const auto &c : cases) {
        ItineraryFields fields;
        fillFamilies(fields);
        fillJourneyColumn(fields, QString::fromLatin1(c.family), u8s(c.html), QDate(2016, 8, 20));
        const QString family =
            QString::fromLatin1(c.family).compare(u"edtFrom", Qt::CaseInsensitive) == 0
                ? QStringLiteral("edtFrom")
                : QString::fromLatin1(c.family);
        QStringList rows;
        for (int row = 1; row <= 5; ++row)
            rows.append(fields.text(family + QString::number(row)));
        EXPECT_EQ(rows, u8list(c.rows)) << c.family << " " << c.html;
    }
}

TEST(fillJourneyColumn, AFamilyOfNoOtherNameWritesNothing)
{
    ItineraryFields fields;
    fillFamilies(fields);
    fillJourneyColumn(fields, QStringLiteral("edtPassenger"), QStringLiteral("<DIV c=1>X</DIV>"),
                      QDate(2016, 8, 20));
    fillJourneyColumn(fields, QStringLiteral("edtFromCode"), QStringLiteral("<DIV c=1>X</DIV>"),
                      QDate(2016, 8, 20));
    EXPECT_EQ(fields.text(QStringLiteral("edtPassenger1")), QString());
    EXPECT_EQ(fields.text(QStringLiteral("edtFromCode1")), QString());
}

TEST(fillJourneyColumn, DatesGetTheirYearAndEmptyDatesAreNotWritten)
{
    ItineraryFields fields;
    fillFamilies(fields);
    fillJourneyColumn(fields, QStringLiteral("edtDate"),
                      QStringLiteral("<DIV class=c>12-30<br><BR>01-02<br>1/2</DIV>"),
                      QDate(2016, 12, 20));
    EXPECT_EQ(fields.text(QStringLiteral("edtDate1")), QStringLiteral("2016-12-30"));
    EXPECT_EQ(fields.text(QStringLiteral("edtDate2")), QStringLiteral("OLD"));
    EXPECT_EQ(fields.text(QStringLiteral("edtDate3")), QStringLiteral("2017-01-02"));
    EXPECT_EQ(fields.text(QStringLiteral("edtDate4")), QStringLiteral("2016-1/2"));
}

// The cell content is worked out without a pattern; it must find what the
// pattern of a DIV's start tag (with or without attributes, on one line) and
// the content up to the line's last end tag finds, on texts made of the
// pieces that matter to it.
TEST(JourneyCell, FindsWhatThePatternFinds)
{
    const QRegularExpression pattern =
        makePattern(QStringLiteral("<DIV[^>\\n\\r\\x0b\\x0c\\x85\\x{2028}\\x{2029}]*>(.*)</DIV>"),
                    QRegularExpression::CaseInsensitiveOption);
    const QStringList parts = {
        QStringLiteral("<DIV"),   QStringLiteral("<div"),   QStringLiteral("</DIV>"),
        QStringLiteral("</dIv>"), QStringLiteral(">"),      QStringLiteral("<"),
        QStringLiteral("/"),      QStringLiteral(" "),      QStringLiteral("a"),
        QStringLiteral("\n"),     QStringLiteral("\r"),     QStringLiteral("\u2028"),
        QStringLiteral("\x0b"),   QStringLiteral("\u0131"), QStringLiteral("DIV"),
        QStringLiteral("<BR>")};
    QRandomGenerator random(20160826);
    for (int round = 0; round < 20000; ++round) {
        QString html;
        const int length = int(random.bounded(1, 14));
        for (int i = 0; i < length; ++i)
            html += parts.at(int(random.bounded(int(parts.size()))));
        const QRegularExpressionMatch match = pattern.match(html);
        const std::optional<QString> content = journeyCellContent(html);
        ASSERT_EQ(content.has_value(), match.hasMatch()) << html.toStdString();
        if (content) {
            ASSERT_EQ(*content, match.captured(1).trimmed()) << html.toStdString();
        }
    }
}

TEST(JourneyCell, TakesLinearTimeOnALongLineOfStartTags)
{
    // With the pattern itself this line takes hours.
    const QString html = QStringLiteral("<DIV class=c").repeated(200000) + QStringLiteral(">x");
    EXPECT_FALSE(journeyCellContent(html).has_value());
    EXPECT_EQ(journeyCellContent(html + QStringLiteral("</DIV>")), QStringLiteral("x"));
}

} // namespace
