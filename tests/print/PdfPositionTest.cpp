#include "PrintTestSupport.h"
#include "TempFolder.h"
#include "common/FileEncoding.h"
#include "print/PrintLayout.h"
#include "settings/PrivateConfig.h"
#include "settings/SettingDeclarations.h"

#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QRawFont>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

// The sample receipt rendered to PDF and read back with poppler: every printed
// field starts where its label and the print offsets put it, and the Chinese
// font travels with the file.

namespace {

// Where the first character of a field belongs, from the layout table and
// the offsets; the page is not asked.
QPointF expectedStart(const LayoutLabelSpec &spec, const QString &text, int vpos, int hpos)
{
    qreal left = spec.left + hpos;
    if (spec.name.startsWith(QLatin1String("qlblAir")) && encodeFileText(text).size() > 3)
        left -= 28;
    if (spec.alignment & Qt::AlignRight) {
        const QFont printFont = TextMeasure::labelFont(QStringLiteral("TEC"), 16);
        left = spec.left + spec.width - TextMeasure().width(printFont, spec.sample) + hpos;
    }
    return QPointF(left, spec.top + vpos);
}

// The ascent of the font that really draws the text at 96 dpi: a Chinese
// character in "TEC" comes from the Chinese fallback font.
qreal drawingAscent(const QFont &font, const QString &text)
{
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(3780);
    device.setDotsPerMeterY(3780);
    QTextLayout layout(text, font, &device);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    return runs.isEmpty() ? 0 : runs.front().rawFont().ascent();
}

// Glyphs of two fields that touch on one line come out of pdftotext as one
// word (MU5132 and the class Y beside it), so each PDF gets at most one field
// of every line: the n-th field from the left of each line goes to PDF n.
std::vector<std::vector<const LayoutLabelSpec *>> oneFieldPerLine(const ReceiptReport &rep)
{
    std::vector<std::vector<const LayoutLabelSpec *>> groups;
    QHash<qreal, int> fieldsOnLine;
    std::vector<const LayoutLabelSpec *> printed;
    for (const LayoutLabelSpec &spec : printLayoutTable()) {
        if (!printedAt(rep, spec.name).empty())
            printed.push_back(&spec);
    }
    std::sort(printed.begin(), printed.end(), [&](const auto *a, const auto *b) {
        return printedAt(rep, a->name).front()->left() < printedAt(rep, b->name).front()->left();
    });
    for (const LayoutLabelSpec *spec : printed) {
        const int n = fieldsOnLine[printedAt(rep, spec->name).front()->top()]++;
        if (size_t(n) >= groups.size())
            groups.resize(n + 1);
        groups[n].push_back(spec);
    }
    return groups;
}

// A page holding copies of the character labels of some fields.
void copyFields(const ReceiptReport &rep, const std::vector<const LayoutLabelSpec *> &specs,
                ReportPage &page)
{
    for (const LayoutLabelSpec *spec : specs) {
        for (const PrintLabel *character : printedAt(rep, spec->name))
            copyCharacter(*character, page);
    }
}

class PdfPositions : public ::testing::TestWithParam<std::pair<int, int>>
{
};

} // namespace

TEST_P(PdfPositions, FirstCharacterOfEveryFieldAtItsLabel)
{
    const auto [vpos, hpos] = GetParam();
    const TempFolder folder;
    {
        PrivateConfig config(true, folder.path());
        config.setInt(Setting::vpos.key, vpos);
        config.setInt(Setting::hpos.key, hpos);
    }
    ItineraryFields fields;
    loadSampleReceipt(fields);
    ReceiptReport rep;
    fillReport(rep, fields, folder.path());

    const TextMeasure measure;
    int checked = 0;
    for (const auto &group : oneFieldPerLine(rep)) {
        ReportPage page;
        copyFields(rep, group, page);
        const QString pdf = folder.file(QStringLiteral("fields.pdf"));
        writePdf(page, pdf);
        const std::vector<Word> words = wordsOf(pdf);

        for (const LayoutLabelSpec *spec : group) {
            ++checked;
            const PrintLabel &first = *printedAt(rep, spec->name).front();
            const QPointF start = expectedStart(*spec, printedText(rep, spec->name), vpos, hpos);
            // The renderer puts the baseline one ascent of the label's font
            // below its top; pdftotext reports the top of the glyph box, one
            // ascent of the drawing font above the baseline.
            const qreal baseline = start.y() + measure.ascent(first.font());
            const qreal glyphTop = baseline - drawingAscent(first.font(), first.text());

            // The nearest word that starts with the field's first character.
            const Word *at = nullptr;
            for (const Word &word : words) {
                const auto distance = [&](const Word &w) {
                    return std::hypot(w.left - start.x(), w.top - glyphTop);
                };
                if (word.text.startsWith(first.text()) && (!at || distance(word) < distance(*at)))
                    at = &word;
            }
            ASSERT_NE(at, nullptr) << spec->name.toStdString();
            EXPECT_NEAR(at->left, start.x(), 1.0) << spec->name.toStdString();
            EXPECT_NEAR(at->top, glyphTop, 2.0) << spec->name.toStdString();
        }
    }
    // Every field of the sample that holds text.
    EXPECT_EQ(checked, 31);
}

INSTANTIATE_TEST_SUITE_P(Offsets, PdfPositions,
                         ::testing::Values(std::make_pair(0, 0), std::make_pair(10, -5)));

TEST(PdfFonts, ChineseFontIsEmbedded)
{
    const TempFolder folder;
    ItineraryFields fields;
    loadSampleReceipt(fields);
    ReceiptReport rep;
    fillReport(rep, fields, folder.path());
    const QString pdf = folder.file(QStringLiteral("receipt.pdf"));
    writePdf(rep.reportPage(), pdf);

    const QStringList lines =
        toolOutput(QStringLiteral("pdffonts"), {pdf}).split(u'\n', Qt::SkipEmptyParts);
    bool chineseEmbedded = false;
    for (const QString &line : lines) {
        const QStringList columns = line.simplified().split(u' ');
        // name type [type] encoding emb sub uni object ID
        if (line.contains(QLatin1String("UMing")) && columns.size() >= 7)
            chineseEmbedded =
                chineseEmbedded || columns.at(columns.size() - 5) == QLatin1String("yes");
    }
    EXPECT_TRUE(chineseEmbedded) << lines.join(u'\n').toStdString();
    // And the text reads back: the passenger and a city.
    const QString text = toolOutput(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("张三")));
    EXPECT_TRUE(text.contains(QStringLiteral("杭州")));
}
