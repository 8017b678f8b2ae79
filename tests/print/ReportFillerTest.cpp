#include "PrintTestSupport.h"
#include "TempFolder.h"
#include "print/PrintLayout.h"
#include "settings/PrivateConfig.h"
#include "settings/SettingDeclarations.h"

#include <QImage>

namespace {

struct Placed
{
    QString text;
    qreal left;
    qreal pointSize;
};

void expectPlaced(const std::vector<const PrintLabel *> &printed,
                  const std::vector<Placed> &expected, qreal top)
{
    ASSERT_EQ(printed.size(), expected.size());
    for (size_t k = 0; k < expected.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(printed[k]->text(), expected[k].text);
        EXPECT_EQ(printed[k]->left(), expected[k].left);
        EXPECT_EQ(printed[k]->top(), top);
        EXPECT_EQ(printed[k]->pointSize(), expected[k].pointSize);
    }
}

// A page filled from fields with the settings of folder, fixed widths.
struct FilledPage
{
    explicit FilledPage(const ItineraryFields &fields, const QString &folder)
    {
        fillReport(rep, fields, folder);
    }
    ReceiptReport rep{fixedWidths()};
};

void store(const TempFolder &folder, std::initializer_list<std::pair<QString, QString>> values)
{
    PrivateConfig config(true, folder.path());
    for (const auto &[key, value] : values)
        config.setStr(key, value);
}

} // namespace

TEST(hasChineseChar, EveryIdeographBlock)
{
    const struct
    {
        const char16_t *text;
        bool chinese;
    } cases[] = {{u"乘", true},      {u"\u4E00", true},    {u"\u9FA5", true},     {u"\u9FA6", true},
                 {u"\u4DFF", false}, {u"，", false},       {u"（", false},        {u"Ａ", false},
                 {u"A", false},      {u"", false},         {u"CA1306乘机", true}, {u"/", false},
                 {u"\u4DAE", true},  {u"\U00020BB7", true}};
    for (const auto &c : cases)
        EXPECT_EQ(hasChineseChar(QString::fromUtf16(c.text)), c.chinese)
            << QString::fromUtf16(c.text).toStdString();
}

// The placement rule with every Latin character 11 and every Chinese one 24
// pixels wide: CA1306乘机 at 403.
TEST(ReportFilling, WorkedExampleLandsAtThePlacementRulePositions)
{
    const TempFolder folder;
    ItineraryFields fields;
    fields.setText(QStringLiteral("edtInformation"), QStringLiteral("CA1306乘机"));
    const FilledPage page(fields, folder.path());
    expectPlaced(printedAt(page.rep, QStringLiteral("qlblInformation")),
                 {{QStringLiteral("C"), 403, 16},
                  {QStringLiteral("A"), 413, 16},
                  {QStringLiteral("1"), 423, 16},
                  {QStringLiteral("3"), 433, 16},
                  {QStringLiteral("0"), 443, 16},
                  {QStringLiteral("6"), 453, 16},
                  {QStringLiteral("乘"), 466, 18},
                  {QStringLiteral("机"), 492, 18}},
                 279);
}

// A Chinese character stands 2 pixels clear of its predecessor only after
// the first; Chinese punctuation, slashes and full-width forms do not.
TEST(ReportFilling, ChineseGapOnlyForChineseCharacters)
{
    const TempFolder folder;
    ItineraryFields fields;
    fields.setText(QStringLiteral("cboEndorsement"), QStringLiteral("不得/，Ａ签"));
    const FilledPage page(fields, folder.path());
    // 不 at 447; 得 +3 after cursor 470; "/" at cursor 496; "，" 506; "Ａ" 516; 签 526+3.
    expectPlaced(printedAt(page.rep, QStringLiteral("qlblEndorsement")),
                 {{QStringLiteral("不"), 447, 18},
                  {QStringLiteral("得"), 473, 18},
                  {QStringLiteral("/"), 496, 16},
                  {QStringLiteral("，"), 506, 16},
                  {QStringLiteral("Ａ"), 516, 16},
                  {QStringLiteral("签"), 529, 18}},
                 65);
}

// The serial number ignores the print settings: "Segoe MDL2 Assets" 16 pt
// black, 3 pixels clear between characters.
TEST(ReportFilling, SerialNumberInItsOwnFontAndSpacing)
{
    const TempFolder folder;
    store(folder, {{Setting::fontname.key, QStringLiteral("DejaVu Sans")},
                   {Setting::fontensize.key, QStringLiteral("20")},
                   {Setting::fontcolor.key, QString::number(0x0000FF)}});
    ItineraryFields fields;
    fields.setText(QStringLiteral("edtSerNo"), QStringLiteral("12 3"));
    const FilledPage page(fields, folder.path());
    const auto printed = printedAt(page.rep, QStringLiteral("qlblSerNo"));
    expectPlaced(printed,
                 {{QStringLiteral("1"), 604, 16},
                  {QStringLiteral("2"), 618, 16},
                  {QStringLiteral(" "), 632, 16},
                  {QStringLiteral("3"), 646, 16}},
                 19);
    for (const PrintLabel *character : printed) {
        EXPECT_EQ(character->fontFamily(), QStringLiteral("Segoe MDL2 Assets"));
        EXPECT_EQ(character->colour(), QColor(Qt::black));
    }
    // Every other field keeps the print settings.
    const auto fare = printedAt(page.rep, QStringLiteral("qlblFarePer"));
    ASSERT_FALSE(fare.empty());
    EXPECT_EQ(fare.front()->fontFamily(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(fare.front()->pointSize(), 20);
    EXPECT_EQ(fare.front()->colour(), QColor(255, 0, 0));
}

TEST(ReportFilling, EmptySettingsFileGivesTheDefaults)
{
    const TempFolder folder;
    ItineraryFields fields;
    fields.setText(QStringLiteral("edtPassenger"), QStringLiteral("张A"));
    const FilledPage page(fields, folder.path());
    EXPECT_TRUE(folder.exists(PrivateConfig::fileName()));

    const auto printed = printedAt(page.rep, QStringLiteral("qlblPassenger"));
    expectPlaced(printed, {{QStringLiteral("张"), 72, 18}, {QStringLiteral("A"), 95, 16}}, 65);
    for (const PrintLabel *character : printed) {
        EXPECT_EQ(character->fontFamily(), QStringLiteral("TEC"));
        EXPECT_EQ(character->colour(), QColor(0x80, 0x80, 0x80));
    }
    // Layout labels take the size of their class.
    EXPECT_EQ(page.rep.label(QStringLiteral("qlblPassenger"))->pointSize(), 18);
    EXPECT_EQ(page.rep.label(QStringLiteral("qlblId"))->pointSize(), 16);
    EXPECT_EQ(page.rep.label(QStringLiteral("qlblId"))->fontFamily(), QStringLiteral("TEC"));
}

// Zero, empty or unusable values read as absent; but a stored colour 0 is black.
TEST(ReportFilling, StoredZerosAndNonNumbersTakeTheDefaults)
{
    const TempFolder folder;
    store(folder, {{Setting::fontcolor.key, QString()},
                   {Setting::fontcnsize.key, QStringLiteral("big")},
                   {Setting::fontensize.key, QStringLiteral("0")},
                   {Setting::fontname.key, QString()},
                   {Setting::vpos.key, QStringLiteral("x")}});
    const PrintSettings settings = PrintSettings::read(folder.path());
    EXPECT_EQ(settings.colour, QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(settings.cnSize, 18);
    EXPECT_EQ(settings.enSize, 16);
    EXPECT_EQ(settings.fontName, QStringLiteral("TEC"));
    EXPECT_EQ(settings.vpos, 0);

    // A negative size cannot be printed either.
    store(folder, {{Setting::fontcnsize.key, QStringLiteral("-4")}});
    EXPECT_EQ(PrintSettings::read(folder.path()).cnSize, 18);

    // The colour is 0x00BBGGRR.
    store(folder, {{Setting::fontcolor.key, QString::number(0x123456)}});
    EXPECT_EQ(PrintSettings::read(folder.path()).colour, QColor(0x56, 0x34, 0x12));

    // Black, chosen in the dialog, is stored as 0 and prints black.
    store(folder, {{Setting::fontcolor.key, QStringLiteral("0")}});
    ItineraryFields fields;
    fields.setText(QStringLiteral("edtPassenger"), QStringLiteral("张A"));
    const FilledPage page(fields, folder.path());
    for (const PrintLabel *character : printedAt(page.rep, QStringLiteral("qlblPassenger")))
        EXPECT_EQ(character->colour(), QColor(Qt::black));
}

// The offsets move every printed character, without limit.
TEST(ReportFilling, OffsetsMoveEveryCharacter)
{
    ItineraryFields fields;
    loadSampleReceipt(fields);

    const TempFolder plain;
    const FilledPage unshifted(fields, plain.path());
    const TempFolder shifted;
    store(shifted,
          {{Setting::vpos.key, QStringLiteral("10")}, {Setting::hpos.key, QStringLiteral("-5")}});
    const FilledPage moved(fields, shifted.path());
    const TempFolder far;
    store(far, {{Setting::vpos.key, QStringLiteral("-2000")},
                {Setting::hpos.key, QStringLiteral("-900")}});
    const FilledPage offSheet(fields, far.path());

    const auto &before = unshifted.rep.reportPage().labels();
    const auto &after = moved.rep.reportPage().labels();
    const auto &gone = offSheet.rep.reportPage().labels();
    ASSERT_EQ(before.size(), after.size());
    ASSERT_EQ(before.size(), gone.size());
    ASSERT_GT(before.size(), 74u + 50u);
    // The limits move with the values, so condensed values condense alike;
    // their fractional positions may differ in the last bits.
    for (size_t i = 74; i < before.size(); ++i) {
        EXPECT_NEAR(after[i]->left(), before[i]->left() - 5, 1e-9) << i;
        EXPECT_EQ(after[i]->top(), before[i]->top() + 10) << i;
        EXPECT_NEAR(gone[i]->left(), before[i]->left() - 900, 1e-9) << i;
        EXPECT_EQ(gone[i]->top(), before[i]->top() - 2000) << i;
        EXPECT_EQ(after[i]->stretch(), before[i]->stretch()) << i;
    }
}

// A carrier text of more than 3 bytes in the Chinese code page moves 28
// pixels left; the flight of the same row does not.
TEST(ReportFilling, LongCarrierMovesLeft)
{
    const struct
    {
        const char16_t *carrier;
        qreal left;
    } cases[] = {{u"CA", 178},   {u"MU", 178},   {u"ABC", 178},  {u"国", 178},      {u"A国", 178},
                 {u"国航", 150}, {u"AB国", 150}, {u"VOID", 150}, {u"东方航空", 150}};
    for (const auto &c : cases) {
        const QString carrier = QString::fromUtf16(c.carrier);
        SCOPED_TRACE(carrier.toStdString());
        const TempFolder folder;
        ItineraryFields fields;
        fields.setText(QStringLiteral("cboAir3"), carrier);
        fields.setText(QStringLiteral("edtFlight3"), QStringLiteral("CA1306"));
        const FilledPage page(fields, folder.path());
        const auto printed = printedAt(page.rep, QStringLiteral("qlblAir3"));
        ASSERT_FALSE(printed.empty());
        EXPECT_EQ(printed.front()->left(), c.left);
        EXPECT_EQ(printed.front()->top(), 191);
        EXPECT_EQ(printedAt(page.rep, QStringLiteral("qlblFlight3")).front()->left(), 217);
    }
}

TEST(ReportFilling, IssuingOfficeSplitsAfter17Characters)
{
    const QString seventeen = QStringLiteral("北京某某航空服务有限公司ABCDE");
    ASSERT_EQ(seventeen.size(), 17);
    const struct
    {
        QString office;
        QString firstLine;
        QString secondLine;
    } cases[] = {{seventeen, seventeen, QString()},
                 {seventeen + QStringLiteral("F"), seventeen, QStringLiteral("F")},
                 {seventeen + QStringLiteral("分公司"), seventeen, QStringLiteral("分公司")},
                 {QString(), QString(), QString()}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.office.toStdString());
        const TempFolder folder;
        ItineraryFields fields;
        fields.setText(QStringLiteral("cboIssueBy"), c.office);
        const FilledPage page(fields, folder.path());
        EXPECT_EQ(printedText(page.rep, QStringLiteral("qlblIssueBy")), c.firstLine);
        EXPECT_EQ(printedText(page.rep, QStringLiteral("qlblIssueBy2")), c.secondLine);
        const auto second = printedAt(page.rep, QStringLiteral("qlblIssueBy2"));
        if (!second.empty()) {
            EXPECT_EQ(second.front()->left(), 277);
            EXPECT_EQ(second.front()->top(), 342);
            EXPECT_EQ(printedAt(page.rep, QStringLiteral("qlblIssueBy")).front()->top(), 310);
        }
    }
}

TEST(ReportFilling, InternationalMarkOnlyWhileTheSwitchIsOn)
{
    const TempFolder folder;
    ItineraryFields fields;
    ASSERT_EQ(fields.text(QStringLiteral("edtGuowai")), QStringLiteral("国际(I)"));
    {
        const FilledPage page(fields, folder.path());
        EXPECT_TRUE(printedAt(page.rep, QStringLiteral("qlblGuowai")).empty());
        EXPECT_TRUE(page.rep.label(QStringLiteral("qlblGuowai"))->text().isEmpty());
    }
    fields.setInternational(true);
    const FilledPage page(fields, folder.path());
    // 国 at 143, 际 at 143+24-1+3, "(I)" at the other size with no gap.
    expectPlaced(printedAt(page.rep, QStringLiteral("qlblGuowai")),
                 {{QStringLiteral("国"), 143, 18},
                  {QStringLiteral("际"), 169, 18},
                  {QStringLiteral("("), 192, 16},
                  {QStringLiteral("I"), 202, 16},
                  {QStringLiteral(")"), 212, 16}},
                 32);
}

// Insurance starts where the sample "XXX" would start, right-aligned at 738
// in the print font at the other print size; then the offset applies.
TEST(ReportFilling, InsuranceAnchorsAtTheRightAlignedSample)
{
    const struct
    {
        const char *enSize;
        int hpos;
        qreal left;
    } cases[] = {{"16", 0, 738 - 33}, {"16", -5, 738 - 33 - 5}, {"30", 0, 738 - 33}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.enSize);
        const TempFolder folder;
        store(folder, {{Setting::fontensize.key, QString::fromLatin1(c.enSize)},
                       {Setting::hpos.key, QString::number(c.hpos)}});
        ItineraryFields fields;
        fields.setText(QStringLiteral("edtIssue"), QStringLiteral("20.00"));
        const FilledPage page(fields, folder.path());
        const auto printed = printedAt(page.rep, QStringLiteral("qlblIssue"));
        ASSERT_EQ(printed.size(), 5u);
        EXPECT_EQ(printed.front()->left(), c.left);
        EXPECT_EQ(printed.front()->top(), 273);
    }

    // With real fonts a larger size starts further left.
    qreal lefts[2] = {};
    int i = 0;
    for (const char *size : {"16", "24"}) {
        const TempFolder folder;
        store(folder, {{Setting::fontensize.key, QString::fromLatin1(size)}});
        ReceiptReport rep;
        ItineraryFields fields;
        fillReport(rep, fields, folder.path());
        const auto printed = printedAt(rep, QStringLiteral("qlblIssue"));
        ASSERT_EQ(printed.size(), 3u);
        const TextMeasure measure;
        const QFont font =
            TextMeasure::labelFont(QStringLiteral("TEC"), QString::fromLatin1(size).toInt());
        EXPECT_NEAR(printed.front()->left(), 738 - measure.width(font, QStringLiteral("XXX")),
                    1e-9);
        lefts[i++] = printed.front()->left();
    }
    EXPECT_LT(lefts[1], lefts[0]);
}

// Texts print exactly as held: untrimmed and unbroken; one too long for its
// box is condensed into it (301 pixels into 235: 78 %).
TEST(ReportFilling, TextsPrintAsTheyStand)
{
    const TempFolder folder;
    ItineraryFields fields;
    const QString thirty = QStringLiteral(" 12345678901234567890123456 7 ");
    ASSERT_EQ(thirty.size(), 30);
    fields.setText(QStringLiteral("edtId"), thirty);
    fields.setText(QStringLiteral("edtDateOfInsue"), QStringLiteral("2016-08-20"));
    const FilledPage page(fields, folder.path());

    const auto id = printedAt(page.rep, QStringLiteral("qlblId"));
    ASSERT_EQ(id.size(), 30u);
    EXPECT_EQ(printedText(page.rep, QStringLiteral("qlblId")), thirty);
    for (size_t k = 0; k < id.size(); ++k) {
        EXPECT_NEAR(id[k]->left(), 210 + 10 * 0.78 * qreal(k), 1e-9);
        EXPECT_EQ(id[k]->top(), 66);
        EXPECT_EQ(id[k]->stretch(), 78);
    }
    EXPECT_LE(id.back()->left() + id.back()->width(), 445 + 1e-9);
    // Empty fields print nothing, and no design sample either.
    EXPECT_TRUE(printedAt(page.rep, QStringLiteral("qlblFare")).empty());
    EXPECT_TRUE(page.rep.label(QStringLiteral("qlblFare"))->text().isEmpty());
    EXPECT_EQ(printedText(page.rep, QStringLiteral("qlblDateOfInsue")),
              QStringLiteral("2016-08-20"));
    EXPECT_EQ(printedText(page.rep, QStringLiteral("qlblYQ")), QStringLiteral("EXEMPT"));
}

// Every field goes to the label named after it, in the order of the receipt.
TEST(ReportFilling, EveryFieldReachesItsLabelInOrder)
{
    const TempFolder folder;
    ItineraryFields fields;
    fields.setInternational(true);
    QStringList order = {QStringLiteral("edtGuowai")};
    const auto write = [&](const QString &field) {
        fields.setText(field, QStringLiteral("V") + field.mid(3));
        order.append(field);
    };
    for (const char *name : {"edtSerNo", "edtPassenger", "edtId", "cboEndorsement", "edtPnr"})
        write(QString::fromLatin1(name));
    for (int row = 1; row <= 4; ++row) {
        for (const char *stem :
             {"edtT", "edtFromCode", "cboAir", "edtFlight", "edtSeat", "edtDate", "edtTime",
              "edtBasts", "edtNotValidBefore", "edtNotValidAfter", "edtAllow"})
            write(QString::fromLatin1(stem) + QString::number(row));
    }
    for (int row = 1; row <= 5; ++row)
        write(QStringLiteral("edtFrom") + QString::number(row));
    for (const char *name :
         {"edtFarePer", "edtFare", "edtCAACPer", "edtCAAC", "edtYQPer", "edtYQ", "edtTaxPer",
          "edtTax", "edtTotalPer", "edtTotal", "edtTicketNo", "edtCk", "edtInformation", "edtIssue",
          "cboAgentCode1", "cboAgentCode2", "cboIssueBy", "edtDateOfInsue"})
        write(QString::fromLatin1(name));
    const FilledPage page(fields, folder.path());

    // The field rules ran in between (fare basis, total): what prints is
    // what the fields hold now.
    std::vector<std::pair<QString, QString>> expected;
    for (const QString &field : order)
        expected.emplace_back(QStringLiteral("qlbl") + field.mid(3), fields.text(field));
    std::vector<std::pair<QString, QString>> printed;
    for (const auto &label : page.rep.reportPage().labels()) {
        if (label.get() == page.rep.label(label->name()))
            continue;
        if (printed.empty() || printed.back().first != label->name())
            printed.emplace_back(label->name(), QString());
        printed.back().second += label->text();
    }
    EXPECT_EQ(printed, expected);
}

// Overlapping boxes never erase ink: the city, written after the carrier,
// leaves whole a four-character carrier that reaches into its column.
TEST(ReportFilling, LaterValuesNeverEraseEarlierOnes)
{
    const TempFolder folder;
    const auto render = [&](const QString &city) {
        ItineraryFields fields;
        fields.setText(QStringLiteral("cboAir1"), QStringLiteral("东方航空"));
        fields.setText(QStringLiteral("edtFrom1"), city);
        ReceiptReport rep;
        fillReport(rep, fields, folder.path());
        QImage image(794, 1123, QImage::Format_RGB32);
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        image.fill(Qt::white);
        QPainter painter(&image);
        renderPage(rep.reportPage(), painter);
        return image;
    };
    const QImage alone = render(QString());
    const QImage both = render(QStringLiteral("北京首都"));
    int inked = 0;
    for (int y = 127; y < 160; ++y) {
        for (int x = 150; x < 190; ++x) {
            if (qGray(alone.pixel(x, y)) < 200) {
                ++inked;
                EXPECT_LE(qGray(both.pixel(x, y)), qGray(alone.pixel(x, y))) << x << "," << y;
            }
        }
    }
    EXPECT_GT(inked, 50);
}
