#include "PrintTestSupport.h"
#include "Strings.h"
#include "TempFolder.h"
#include "common/FileEncoding.h"
#include "print/PrintLayout.h"
#include "print/PrintLimits.h"
#include "settings/PrivateConfig.h"
#include "settings/SettingDeclarations.h"

#include <QHash>
#include <algorithm>

// Every value stays inside its box on the stock: up to the next column of its
// line, or the sheet's right margin. A value that fits prints exactly as the
// placement rule puts it; one that does not is condensed, then set smaller.

namespace {

void store(const TempFolder &folder, std::initializer_list<std::pair<QString, QString>> values)
{
    PrivateConfig config(true, folder.path());
    for (const auto &[key, value] : values)
        config.setStr(key, value);
}

// The delivered list's names, decoded as the program reads them.
QStringList deliveredNames(const char *list, int nameColumn)
{
    QFile file(QStringLiteral(KESTRANO_DATA "/") + QString::fromLatin1(list));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << list;
    QStringList names;
    for (const QString &line : decodeFileText(file.readAll()).split(u'\n')) {
        const QString entry = line.trimmed();
        if (entry.size() > nameColumn)
            names.append(entry.mid(nameColumn).trimmed());
    }
    return names;
}

// The name that takes the most room on paper at the Chinese print size.
QString widest(const QStringList &names)
{
    const TextMeasure measure;
    const QFont font = TextMeasure::labelFont(QStringLiteral("TEC"), 18);
    return *std::max_element(names.begin(), names.end(), [&](const QString &a, const QString &b) {
        return measure.width(font, a) + 3 * a.size() < measure.width(font, b) + 3 * b.size();
    });
}

QString longestCity()
{
    return widest(deliveredNames("city.txt", 3));
}

QString longestCarrier()
{
    QStringList names;
    for (const QString &entry : deliveredNames("air.txt", 0))
        names.append(entry.section(u'=', 1));
    return widest(names);
}

// The receipt with the widest values the program is given.
void loadLongestValues(ItineraryFields &fields)
{
    loadReceipt(fields, QStringLiteral("fitting-receipt.txt"));
    // First: switching it on empties the fuel surcharge.
    fields.setInternational(true);
    for (int row = 1; row <= 4; ++row) {
        const QString n = QString::number(row);
        for (const auto &[stem, text] :
             std::initializer_list<std::pair<const char *, const char *>>{
                 {"edtT", "T3"},
                 {"edtFlight", "HU7181"},
                 {"edtSeat", "W"},
                 {"edtDate", "2016-12-28"},
                 {"edtTime", "23:55"},
                 {"edtBasts", "WOWHDAB"},
                 {"edtNotValidBefore", "28DEC"},
                 {"edtNotValidAfter", "28DEC"},
                 {"edtAllow", "40KG"}})
            fields.setText(QString::fromLatin1(stem) + n, QString::fromLatin1(text));
    }
    for (const auto &[name, text] :
         std::initializer_list<std::pair<const char *, const char *>>{{"edtFarePer", "CNY"},
                                                                      {"edtCAACPer", "CN"},
                                                                      {"edtYQPer", "YQ"},
                                                                      {"edtYQ", "EXEMPT"},
                                                                      {"edtTaxPer", "OB"},
                                                                      {"edtTotalPer", "CNY"},
                                                                      {"edtFare", "12345.00"},
                                                                      {"edtTotal", "12455.00"}})
        fields.setText(QString::fromLatin1(name), QString::fromLatin1(text));
    for (int row = 1; row <= 5; ++row)
        fields.setText(QStringLiteral("edtFrom") + QString::number(row), longestCity());
    for (int row = 1; row <= 4; ++row)
        fields.setText(QStringLiteral("cboAir") + QString::number(row), longestCarrier());
    // Two rows with a city code beside the carrier, two without.
    fields.setText(QStringLiteral("edtFromCode1"), QStringLiteral("PEK"));
    fields.setText(QStringLiteral("edtFromCode2"), QStringLiteral("URC"));
    fields.setText(QStringLiteral("edtFromCode3"), QString());
    const QString endorsement = u8s("不得签转/改期退票收费/NON-END/仅限东航承运航班使用");
    const QString office = u8s("北京某某航空服务有限公司朝阳区分公司");
    EXPECT_EQ(endorsement.size(), 30);
    EXPECT_EQ(office.size(), 18);
    fields.setText(QStringLiteral("cboEndorsement"), endorsement);
    fields.setText(QStringLiteral("cboIssueBy"), office);
    fields.setText(QStringLiteral("edtPassenger"), u8s("阿卜杜热合曼买买提"));
    fields.setText(QStringLiteral("edtSerNo"), QStringLiteral("1234567890 3"));
}

struct Box
{
    QString label;
    QRectF box;
};

// Each value on a page of its own, read back with pdftotext: the union of
// its words' boxes.
std::vector<Box> printedBoxes(const ReceiptReport &rep, const QString &pdf)
{
    std::vector<QString> labels;
    std::vector<std::unique_ptr<ReportPage>> pages;
    for (const LayoutLabelSpec &spec : printLayoutTable()) {
        const auto characters = printedAt(rep, spec.name);
        if (characters.empty())
            continue;
        labels.push_back(spec.name);
        pages.push_back(std::make_unique<ReportPage>());
        for (const PrintLabel *character : characters)
            copyCharacter(*character, *pages.back());
    }
    std::vector<const ReportPage *> order;
    for (const auto &page : pages)
        order.push_back(page.get());
    writePdfPages(order, pdf);

    std::vector<Box> boxes(labels.size());
    for (size_t i = 0; i < labels.size(); ++i)
        boxes[i].label = labels[i];
    for (const Word &word : wordsOf(pdf)) {
        Box &value = boxes.at(word.page);
        value.box |= QRectF(QPointF(word.left, word.top), QPointF(word.right, word.bottom));
    }
    return boxes;
}

} // namespace

// With the widest values of the delivered lists, no value runs past its limit
// and no two values touch, on the PDF as the renderer writes it.
TEST(FitToBox, LongestValuesStayInsideTheirBoxes)
{
    const TempFolder folder;
    ItineraryFields fields;
    loadLongestValues(fields);
    ReceiptReport rep;
    fillReport(rep, fields, folder.path());

    const std::vector<Box> boxes = printedBoxes(rep, folder.file(QStringLiteral("values.pdf")));
    ASSERT_EQ(boxes.size(), 72u); // all but two city codes
    for (const Box &value : boxes) {
        SCOPED_TRACE(value.label.toStdString());
        ASSERT_FALSE(value.box.isEmpty());
        EXPECT_LE(value.box.right(), designRightLimit(value.label) + 0.5);
        EXPECT_LE(value.box.right(), ReportPage::sheet().right() - 37.7);
    }
    // pdftotext's boxes are a whole line of the font high, more than the 17
    // pixels between the two agent codes of one cell: the ink lies in the
    // middle half of that height.
    const auto ink = [](const QRectF &box) {
        return box.adjusted(0, box.height() / 4, 0, -box.height() / 4);
    };
    for (size_t i = 0; i < boxes.size(); ++i) {
        for (size_t j = i + 1; j < boxes.size(); ++j) {
            EXPECT_FALSE(ink(boxes[i].box).intersects(ink(boxes[j].box)))
                << boxes[i].label.toStdString() << " and " << boxes[j].label.toStdString();
        }
    }
    // The city, the carrier and the flight of the first row, side by side.
    const auto box = [&](const char *label) {
        return std::find_if(boxes.begin(), boxes.end(),
                            [&](const Box &b) { return b.label == QLatin1String(label); })
            ->box;
    };
    EXPECT_LT(box("qlblFrom1").right(), box("qlblFromCode1").left());
    EXPECT_LT(box("qlblFromCode1").right(), box("qlblAir1").left());
    EXPECT_LT(box("qlblAir1").right(), box("qlblFlight1").left());
}

// Before values were fitted, the receipt of fitting-receipt.txt printed every
// character where fitting-receipt-positions.txt says; it still does.
TEST(FitToBox, ValuesThatFitKeepEveryCharacterWhereItWas)
{
    QFile file(QStringLiteral(KESTRANO_FIXTURES "/print/fitting-receipt-positions.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList expected;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (!line.isEmpty() && !line.startsWith(u'#'))
            expected.append(line);
    }

    const TempFolder folder;
    ItineraryFields fields;
    loadReceipt(fields, QStringLiteral("fitting-receipt.txt"));
    ReceiptReport rep;
    fillReport(rep, fields, folder.path());
    QStringList printed;
    for (const auto &label : rep.reportPage().labels()) {
        if (rep.label(label->name()) == label.get())
            continue;
        EXPECT_EQ(label->stretch(), 100) << label->name().toStdString();
        printed.append(QStringLiteral("%1 %2 %3 %4 %5")
                           .arg(label->name(), label->text())
                           .arg(label->left(), 0, 'g', 17)
                           .arg(label->top(), 0, 'g', 17)
                           .arg(label->pointSize(), 0, 'g', 17));
    }
    EXPECT_EQ(printed, expected);
}

// With every Latin character 11 and every Chinese one 24 pixels wide at full
// size, condensing scales the characters and the gaps of the placement rule
// alike, down to half; below that the size steps down.
TEST(FitToBox, CondensedThenSmaller)
{
    const struct
    {
        const char *label;
        const char *field;
        const char *text;
        int stretch;     // the widest that fits, in percent
        qreal pointSize; // of the first character
    } cases[] = {
        // City 86..141: 杭州 ends at 86+24+2+24 = 136, as it always did.
        {"qlblFrom2", "edtFrom2", "杭州", 100, 18},
        // 北京首都 is 24+3*26 = 102 wide; 55 pixels of room: 53 %.
        {"qlblFrom2", "edtFrom2", "北京首都", 53, 18},
        // Eight Chinese characters need more than half: 50 % and smaller.
        // Nine need 108 * size / 18 + 8 * (1.5 - 0.5) <= 55 at 50 %: 7.5 pt.
        {"qlblFrom2", "edtFrom2", "乌鲁木齐地窝堡机场", 50, 7.5},
        // Flight 217..283: 6 characters end at 217+6*10+1 = 278.
        {"qlblFlight1", "edtFlight1", "MU5132", 100, 16},
        // 7 need 7*11-6 = 71 for 66 pixels: 92 %; 8 need 81: 81 %.
        {"qlblFlight1", "edtFlight1", "MU51320", 92, 16},
        {"qlblFlight1", "edtFlight1", "MU513200", 81, 16},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const TempFolder folder;
        ItineraryFields fields;
        fields.setText(QString::fromLatin1(c.field), u8s(c.text));
        ReceiptReport rep(TextMeasure([](const QFont &font, const QString &text) {
            // Fixed widths at the default sizes, scaled with size and stretch.
            const bool chinese = hasChineseChar(text);
            const qreal full = chinese ? 24.0 / 18 : 11.0 / 16;
            const int stretch = font.stretch() ? font.stretch() : 100;
            return full * font.pointSizeF() * stretch / 100 * text.size();
        }));
        fillReport(rep, fields, folder.path());
        const auto printed = printedAt(rep, QString::fromLatin1(c.label));
        ASSERT_FALSE(printed.empty());
        EXPECT_EQ(printed.front()->stretch(), c.stretch);
        EXPECT_NEAR(printed.front()->pointSize(), c.pointSize, 1e-9);
        const PrintLabel &last = *printed.back();
        EXPECT_LE(last.left() + last.width(),
                  designRightLimit(QString::fromLatin1(c.label)) + 1e-6);
    }
}

// The carrier moves 28 pixels left only while the city code to its left
// prints nothing; no value starts inside the box of the value to its left.
TEST(FitToBox, CarrierShiftOnlyBesideAnEmptyCityCode)
{
    const struct
    {
        const char *cityCode;
        const char *carrier;
        qreal left;
    } cases[] = {{"", "东航", 150},  {"PEK", "东航", 178}, {"", "MU", 178},
                 {"PEK", "MU", 178}, {"", "VOID", 150},    {"SHA", "VOID", 178}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.cityCode) + "/" + c.carrier);
        const TempFolder folder;
        store(folder, {{Setting::hpos.key, QStringLiteral("7")}});
        ItineraryFields fields;
        fields.setText(QStringLiteral("edtFromCode4"), QString::fromLatin1(c.cityCode));
        fields.setText(QStringLiteral("cboAir4"), u8s(c.carrier));
        ReceiptReport rep(fixedWidths());
        fillReport(rep, fields, folder.path());
        const auto carrier = printedAt(rep, QStringLiteral("qlblAir4"));
        ASSERT_FALSE(carrier.empty());
        EXPECT_EQ(carrier.front()->left(), c.left + 7);
    }

    // Insurance in a large size starts left of its column, but never inside
    // the information's box while the information prints.
    const TempFolder folder;
    store(folder, {{Setting::fontensize.key, QStringLiteral("60")}});
    for (const bool information : {false, true}) {
        ItineraryFields fields;
        fields.setText(QStringLiteral("edtInformation"),
                       information ? QStringLiteral("X") : QString());
        fields.setText(QStringLiteral("edtIssue"), QStringLiteral("20"));
        ReceiptReport rep;
        fillReport(rep, fields, folder.path());
        const qreal left = printedAt(rep, QStringLiteral("qlblIssue")).front()->left();
        if (information)
            EXPECT_EQ(left, 695);
        else
            EXPECT_LT(left, 695);
    }
}

// The issuing office takes 17 characters on its first line, breaks after the
// last blank or "/" among them, and never splits a character in two.
TEST(FitToBox, IssuingOfficeSplitsByCharacters)
{
    const QString extB = QString::fromUcs4(U"\U00020BB7"); // 𠮷, two UTF-16 units
    const QString sixteen = u8s("北京某某航空服务有限公司朝阳区分");
    ASSERT_EQ(sixteen.size(), 16);
    const struct
    {
        QString office;
        QString first;
        QString second;
    } cases[] = {
        {sixteen + u8s("公"), sixteen + u8s("公"), QString()},
        {sixteen + u8s("公司"), sixteen + u8s("公"), u8s("司")},
        // 17 characters, 18 UTF-16 units: one line, the last character whole.
        {sixteen + extB, sixteen + extB, QString()},
        {sixteen + extB + u8s("司"), sixteen + extB, u8s("司")},
        {u8s("BEIJING CAPITAL AIRPORT"), u8s("BEIJING CAPITAL "), u8s("AIRPORT")},
        {u8s("CAAC/BEIJINGSALESOFFICE"), u8s("CAAC/"), u8s("BEIJINGSALESOFFICE")},
        {u8s(" ABCDEFGHIJKLMNOPQRS"), u8s(" ABCDEFGHIJKLMNOP"), u8s("QRS")},
        {QString(), QString(), QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.office.toStdString());
        const auto [first, second] = splitIssuingOffice(c.office);
        EXPECT_EQ(first, c.first);
        EXPECT_EQ(second, c.second);

        const TempFolder folder;
        ItineraryFields fields;
        fields.setText(QStringLiteral("cboIssueBy"), c.office);
        ReceiptReport rep;
        fillReport(rep, fields, folder.path());
        EXPECT_EQ(printedText(rep, QStringLiteral("qlblIssueBy")), c.first);
        EXPECT_EQ(printedText(rep, QStringLiteral("qlblIssueBy2")), c.second);
        // Both lines inside their box, short of the date of issue.
        for (const char *line : {"qlblIssueBy", "qlblIssueBy2"}) {
            const auto printed = printedAt(rep, QString::fromLatin1(line));
            if (!printed.empty()) {
                EXPECT_LE(printed.back()->left() + printed.back()->width(), 638 + 1e-6);
            }
        }
    }
}

// The preview's boxes: one per printed value, from its anchor to its limit,
// with the field's caption; the page as printed has none of them.
TEST(FitToBox, ValueBoxesOnlyUnderThePreview)
{
    const TempFolder folder;
    ItineraryFields fields;
    loadSampleReceipt(fields);
    ReceiptReport rep;
    fillReport(rep, fields, folder.path());

    QHash<QString, ValueBox> boxes;
    for (const ValueBox &value : rep.reportPage().valueBoxes())
        boxes.insert(value.label, value);
    const ValueBox city = boxes.value(QStringLiteral("qlblFrom1"));
    EXPECT_EQ(city.caption, u8s("自"));
    EXPECT_EQ(city.box.left(), 86);
    EXPECT_EQ(city.box.right(), 141);
    EXPECT_LT(city.stretch, 100); // 北京首都 is condensed
    EXPECT_EQ(boxes.value(QStringLiteral("qlblFlight1")).caption, u8s("航班号"));
    EXPECT_EQ(boxes.value(QStringLiteral("qlblPassenger")).stretch, 100); // 张三 fits
    EXPECT_FALSE(boxes.contains(QStringLiteral("qlblTax")));

    const auto render = [&](Backdrop backdrop) {
        QImage image(794, 1123, QImage::Format_RGB32);
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        image.fill(Qt::white);
        QPainter painter(&image);
        renderPage(rep.reportPage(), painter, backdrop);
        return image;
    };
    // Inside the passenger's box, right of 张三: grey under the preview only.
    const QPoint inside(190, 75);
    EXPECT_EQ(render(Backdrop::None).pixel(inside), QColor(Qt::white).rgb());
    EXPECT_LT(qGray(render(Backdrop::ValueBoxes).pixel(inside)), 250);

    const QString pdf = folder.file(QStringLiteral("receipt.pdf"));
    writePdf(rep.reportPage(), pdf);
    EXPECT_FALSE(toolOutput(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")})
                     .contains(u8s("航班号")));
}
