#include "print/CalibrationPage.h"
#include "PrintTestSupport.h"
#include "Strings.h"
#include "TempFolder.h"
#include "print/PrintLayout.h"
#include "print/PrintLimits.h"

#include <algorithm>

// The calibration page: a cross and a box at every value's anchor, at the
// offsets given, and millimetre rulers fixed to the sheet.

namespace {

PrintSettings settingsWith(int hpos, int vpos)
{
    PrintSettings settings = PrintSettings::defaults();
    settings.hpos = hpos;
    settings.vpos = vpos;
    return settings;
}

// The frames drawn on the page, by their top-left corner.
std::vector<QRectF> frames(const ReportPage &page)
{
    std::vector<QRectF> found;
    for (const PageMark &mark : page.marks()) {
        if (mark.frame)
            found.push_back(QRectF(mark.line.p1(), mark.line.p2()));
    }
    return found;
}

} // namespace

TEST(CalibrationPage, ABoxForEveryValueAtTheOffsetsAndRulersOnTheSheet)
{
    ReportPage plain;
    drawCalibrationPage(plain, settingsWith(0, 0));
    ReportPage moved;
    drawCalibrationPage(moved, settingsWith(-5, 10));
    EXPECT_EQ(plain.reportTitle(), u8s("校准页"));
    EXPECT_EQ(plain.valueBoxes().size(), 0u);

    const std::vector<QRectF> boxes = frames(plain);
    ASSERT_EQ(boxes.size(), printLayoutTable().size());
    for (size_t i = 0; i < boxes.size(); ++i) {
        const LayoutLabelSpec &spec = printLayoutTable()[i];
        SCOPED_TRACE(spec.name.toStdString());
        if (!(spec.alignment & Qt::AlignRight)) {
            EXPECT_EQ(boxes[i].topLeft(), QPointF(spec.left, spec.top));
        }
        EXPECT_EQ(boxes[i].right(), designRightLimit(spec.name));
        EXPECT_GT(boxes[i].height(), 20);
        EXPECT_EQ(frames(moved)[i], boxes[i].translated(-5, 10));
    }
    // The carrier's box starts at its column: the calibration shows the
    // columns of the stock.
    EXPECT_EQ(boxes[9].left(), 178);

    // The rulers' ticks and numbers stay on the sheet's edges: every line that
    // starts on the top or left edge is the same on both pages.
    const auto rulerLines = [](const ReportPage &page) {
        std::vector<QLineF> lines;
        for (const PageMark &mark : page.marks()) {
            if (!mark.frame && (mark.line.p1().y() == 0 || mark.line.p1().x() == 0))
                lines.push_back(mark.line);
        }
        return lines;
    };
    EXPECT_EQ(rulerLines(plain), rulerLines(moved));
    EXPECT_EQ(rulerLines(plain).size(), size_t(211 + 298));

    // On paper: the captions in 6 pt and the ruler's numbers read back.
    const TempFolder folder;
    const QString pdf = folder.file(QStringLiteral("calibration.pdf"));
    writePdf(moved, pdf);
    const QString text = toolOutput(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    for (const char *shown : {"航班号", "承运人", "填开单位", "150", "290", "左右偏移 -5"})
        EXPECT_TRUE(text.contains(u8s(shown))) << shown;
    const PrintLabel *caption = moved.findLabel(QStringLiteral("calibration"));
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->pointSize(), 6);
}
