#include "PrintTestSupport.h"
#include "TempFolder.h"
#include "itinerary/ItineraryFields.h"
#include "print/ReceiptReport.h"
#include "print/ReportFiller.h"

#include <gtest/gtest.h>

namespace {

// Names with ideographs outside the common block (刘䶮: U+4DAE of
// Extension A; 𠮷: U+20BB7 of Extension B) print like every Chinese name:
// each character one label at the Chinese size, 2 pixels clear of the one
// before it.
TEST(RareNameCharacters, PrintAtTheChineseSizeWithTheGap)
{
    const TempFolder folder;
    ItineraryFields fields;
    fields.setText(QStringLiteral("edtPassenger"), QString::fromUcs4(U"刘䶮𠮷\uF900A", 5));
    ReceiptReport rep;
    fillReport(rep, fields, folder.path());

    const auto printed = printedAt(rep, QStringLiteral("qlblPassenger"));
    const QStringList expected = {QStringLiteral("刘"), QStringLiteral("䶮"),
                                  QString::fromUcs4(U"𠮷", 1), QString::fromUcs4(U"\uF900", 1),
                                  QStringLiteral("A")};
    ASSERT_EQ(printed.size(), size_t(expected.size()));
    for (size_t k = 0; k < printed.size(); ++k) {
        const bool chinese = k < 4;
        EXPECT_EQ(printed[k]->text(), expected[qsizetype(k)]);
        EXPECT_EQ(printed[k]->pointSize(), chinese ? 18 : 16) << k;
        if (k == 0)
            continue;
        const qreal cursor = printed[k - 1]->left() + printed[k - 1]->width() - 1;
        EXPECT_DOUBLE_EQ(printed[k]->left(), chinese ? cursor + 3 : cursor) << k;
    }
}

} // namespace
