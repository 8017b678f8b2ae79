#include "print/PrintLayout.h"
#include "PrintTestSupport.h"
#include "TempFolder.h"

#include <QSet>

// A new page: the layout as designed.

TEST(PrintLayout, NewPageHoldsTheDesignedLabelsAtTheirPositions)
{
    const ReceiptReport rep;
    const auto &table = printLayoutTable();
    ASSERT_EQ(table.size(), 74u);
    ASSERT_EQ(rep.layoutLabels().size(), 74u);
    EXPECT_EQ(rep.reportPage().labels().size(), 74u);

    QSet<QString> names;
    int chinese = 0;
    for (const LayoutLabelSpec &spec : table) {
        names.insert(spec.name);
        const PrintLabel *label = rep.label(spec.name);
        ASSERT_NE(label, nullptr) << spec.name.toStdString();
        EXPECT_EQ(label->left(), spec.left) << spec.name.toStdString();
        EXPECT_EQ(label->top(), spec.top) << spec.name.toStdString();
        EXPECT_EQ(label->width(), spec.width) << spec.name.toStdString();
        EXPECT_EQ(label->text(), spec.sample);
        EXPECT_EQ(label->fontFamily(), QStringLiteral("TEC"));
        EXPECT_EQ(label->pointSize(), spec.designPointSize);
        EXPECT_EQ(label->colour(), QColor(Qt::black));
        EXPECT_TRUE(label->transparent());
        chinese += spec.sizeClass == SizeClass::Chinese;
    }
    EXPECT_EQ(names.size(), 74);
    EXPECT_EQ(chinese, 16);
    EXPECT_EQ(rep.label(QStringLiteral("qlblIssue"))->alignment(), Qt::AlignRight);
    EXPECT_EQ(rep.label(QStringLiteral("qlblIssue"))->box().right(), 738);
}

TEST(PrintLayout, GeometryKeptExactly)
{
    const ReceiptReport rep;
    const int rowTops[] = {127, 160, 191, 224};
    const struct
    {
        const char *stem;
        int left;
    } columns[] = {{"T", 46},
                   {"From", 86},
                   {"FromCode", 143},
                   {"Air", 178},
                   {"Flight", 217},
                   {"Seat", 285},
                   {"Date", 317},
                   {"Time", 426},
                   {"Basts", 484},
                   {"NotValidBefore", 580},
                   {"NotValidAfter", 643},
                   {"Allow", 707}};
    for (int row = 1; row <= 4; ++row) {
        for (const auto &column : columns) {
            const PrintLabel *label = rep.label(QString::fromLatin1(column.stem), row);
            ASSERT_NE(label, nullptr) << column.stem << row;
            const int left = row == 4 && QLatin1String(column.stem) == QLatin1String("FromCode")
                                 ? 142
                                 : column.left;
            EXPECT_EQ(label->left(), left) << column.stem << row;
            EXPECT_EQ(label->top(), rowTops[row - 1]) << column.stem << row;
        }
    }
    EXPECT_EQ(rep.label(QStringLiteral("From"), 5)->top(), 251);
    for (const char *stem : {"Air", "T", "Flight", "FromCode"})
        EXPECT_EQ(rep.label(QString::fromLatin1(stem), 5), nullptr) << stem;
    EXPECT_EQ(rep.label(QStringLiteral("From"), 6), nullptr);
    EXPECT_EQ(rep.label(QStringLiteral("Air"), 0), nullptr);
}

TEST(PrintLayout, PageIsA4WithTheBandAtTheMarginCorner)
{
    const ReceiptReport rep;
    const QPageLayout layout = ReportPage::pageLayout();
    EXPECT_EQ(layout.pageSize().id(), QPageSize::A4);
    EXPECT_EQ(layout.orientation(), QPageLayout::Portrait);
    EXPECT_EQ(layout.margins(QPageLayout::Millimeter), QMarginsF(10, 10, 10, 10));
    EXPECT_NEAR(ReportPage::sheet().width(), 794, 0.5);
    EXPECT_NEAR(ReportPage::sheet().height(), 1123, 0.5);

    // qlblSerNo sits 159.81 by 5.03 mm from the sheet's corner, inside the
    // top margin.
    const PrintLabel *serialNumber = rep.label(QStringLiteral("qlblSerNo"));
    EXPECT_NEAR(ReportPage::millimetresFromPixels(serialNumber->left()), 159.81, 0.005);
    EXPECT_NEAR(ReportPage::millimetresFromPixels(serialNumber->top()), 5.03, 0.005);

    const QRectF band = rep.reportPage().titleBand();
    EXPECT_NEAR(ReportPage::millimetresFromPixels(band.left()), 10.0, 1e-9);
    EXPECT_NEAR(ReportPage::millimetresFromPixels(band.top()), 10.0, 1e-9);
    EXPECT_NEAR(ReportPage::millimetresFromPixels(band.width()), 189.97, 0.005);
    EXPECT_NEAR(ReportPage::millimetresFromPixels(band.height()), 5.03, 0.005);
}

// Rendered without filling, the page shows the design samples; after filling
// none of them is left, only the field texts.
TEST(PrintLayout, DesignSamplesShowOnlyOnAnUnfilledPage)
{
    const TempFolder folder;
    const QString pdf = folder.file(QStringLiteral("page.pdf"));

    const ReceiptReport unfilled;
    writePdf(unfilled.reportPage(), pdf);
    const QString designed = toolOutput(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    for (const char *sample : {"7845966747051", "293847203", "123455677889577858", "HYHTIU"})
        EXPECT_TRUE(designed.contains(QLatin1String(sample))) << sample;

    ReceiptReport filled;
    ItineraryFields fields;
    fields.setText(QStringLiteral("edtTicketNo"), QStringLiteral("7819631900123"));
    fillReport(filled, fields, folder.path());
    for (const PrintLabel *label : filled.layoutLabels())
        EXPECT_TRUE(label->text().isEmpty()) << label->name().toStdString();
    writePdf(filled.reportPage(), pdf);
    const QString printed = toolOutput(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    EXPECT_TRUE(printed.contains(QStringLiteral("7819631900123")));
    for (const char *sample : {"7845966747051", "293847203", "123455677889577858", "HYHTIU"})
        EXPECT_FALSE(printed.contains(QLatin1String(sample))) << sample;
}
