#include "PrintTestSupport.h"
#include "TempFolder.h"
#include "itinerary/ItineraryFields.h"
#include "print/ReceiptReport.h"
#include "print/ReportFiller.h"

#include <QLocale>
#include <clocale>
#include <gtest/gtest.h>

namespace {

bool germanAskedFor()
{
    return qEnvironmentVariable("LC_ALL").startsWith(QLatin1String("de_DE"));
}

// ctest runs this once more with LC_ALL=de_DE.UTF-8, a system locale that
// writes a decimal comma: the total and the printed figures are the same as
// anywhere else.
TEST(AmountsUnderAnyLocale, TotalAndPrintedFiguresAreTheSame)
{
    if (germanAskedFor()) {
        // The locale is really in force, for Qt and for the C library, or
        // this run would prove nothing (scripts/setup generates it).
        EXPECT_EQ(QLocale::system().decimalPoint(), QStringLiteral(","));
        ASSERT_STREQ(std::localeconv()->decimal_point, ",")
            << "the locale de_DE.UTF-8 is not generated on this machine";
    }

    const TempFolder folder;
    ItineraryFields fields;
    fields.setText(QStringLiteral("edtFare"), QStringLiteral("1860.50"));
    fields.setText(QStringLiteral("edtCAAC"), QStringLiteral("50.50"));
    fields.setText(QStringLiteral("edtYQ"), QStringLiteral("500.00"));
    fields.setText(QStringLiteral("edtTax"), QStringLiteral("12,345.00"));
    EXPECT_EQ(fields.text(QStringLiteral("edtTotal")), QStringLiteral("14756.00"));

    ReceiptReport rep;
    fillReport(rep, fields, folder.path());
    EXPECT_EQ(printedText(rep, QStringLiteral("qlblTotal")), QStringLiteral("14756.00"));
    const QString pdf = folder.file(QStringLiteral("receipt.pdf"));
    writePdf(rep.reportPage(), pdf);

    // Each amount reads back after its prefix box (CNY, CN, YQ); whether
    // pdftotext joins a prefix to its amount depends on the gap between them,
    // so the words are read as one run.
    QStringList words;
    for (const Word &word : wordsOf(pdf))
        words.append(word.text);
    const QString line = words.join(QString());
    const QStringList amounts = {QStringLiteral("CNY1860.50"), QStringLiteral("CN50.50"),
                                 QStringLiteral("YQ500.00"), QStringLiteral("12,345.00"),
                                 QStringLiteral("CNY14756.00")};
    for (const QString &amount : amounts)
        EXPECT_TRUE(line.contains(amount))
            << amount.toStdString() << " in " << words.join(u' ').toStdString();
}

} // namespace
