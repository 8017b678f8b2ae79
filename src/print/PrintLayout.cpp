#include "print/PrintLayout.h"

namespace {

constexpr SizeClass en = SizeClass::English;
constexpr SizeClass cn = SizeClass::Chinese;

class LayoutBuilder
{
public:
    void add(const char *name, SizeClass sizeClass, int left, int top, int width, int height,
             const QString &sample, int designPointSize, Qt::Alignment alignment = Qt::AlignLeft)
    {
        m_table.push_back({QString::fromLatin1(name), sizeClass, left, top, width, height, sample,
                           designPointSize, alignment});
    }

    // One flight segment row; the city code of row 4 sits one pixel further
    // left than the other three, as on the stock.
    void segmentRow(int row, int top, int fromCodeLeft)
    {
        const auto name = [row](const char *stem) {
            return QString::fromLatin1(stem) + QString::number(row);
        };
        const auto cell = [&](const char *stem, SizeClass sizeClass, int left, int width,
                              int height, const QString &sample, int pointSize) {
            m_table.push_back({name(stem), sizeClass, left, top, width, height, sample, pointSize,
                               Qt::AlignLeft});
        };
        cell("qlblT", en, 46, 25, 30, QStringLiteral("T2"), 16);
        cell("qlblFrom", cn, 86, 49, 30, QStringLiteral("深圳"), 18);
        cell("qlblFromCode", en, fromCodeLeft, 43, 25, QStringLiteral("PEK"), 16);
        cell("qlblAir", cn, 178, 53, 30, QStringLiteral("国航"), 19);
        cell("qlblFlight", en, 217, 77, 25, QStringLiteral("CA1306"), 16);
        cell("qlblSeat", en, 285, 15, 25, QStringLiteral("Y"), 16);
        cell("qlblDate", en, 317, 111, 25, QStringLiteral("2012-12-12"), 16);
        cell("qlblTime", en, 426, 55, 25, QStringLiteral("07:55"), 16);
        cell("qlblBasts", en, 484, 15, 25, QStringLiteral("Y"), 16);
        cell("qlblNotValidBefore", en, 580, 68, 25, QStringLiteral("11NOV"), 16);
        cell("qlblNotValidAfter", en, 643, 68, 25, QStringLiteral("11NOV"), 16);
        cell("qlblAllow", en, 707, 39, 25, QStringLiteral("20K"), 16);
    }

    std::vector<LayoutLabelSpec> take() { return std::move(m_table); }

private:
    std::vector<LayoutLabelSpec> m_table;
};

std::vector<LayoutLabelSpec> buildTable()
{
    LayoutBuilder t;
    // clang-format off
    //     label                 class left top width height sample                        pt
    t.add("qlblSerNo",           en,  604,  19,  61, 25, QStringLiteral("55555"),           16);
    t.add("qlblGuowai",          cn,  143,  32,  75, 29, QStringLiteral("国际(I)"),         19);
    t.add("qlblPassenger",       cn,   72,  65,  53, 29, QStringLiteral("测试"),            19);
    t.add("qlblId",              en,  210,  66, 217, 25, QStringLiteral("123455677889577858"), 16);
    t.add("qlblEndorsement",     cn,  447,  65, 261, 29, QStringLiteral("不得签转变更退票收费"), 19);
    t.add("qlblPnr",             cn,   70,  96,  73, 25, QStringLiteral("HYHTIU"),          18);
    // The segment rows step 33, 31 and 33 pixels down the stock.
    t.segmentRow(1, 127, 143);
    t.segmentRow(2, 160, 143);
    t.segmentRow(3, 191, 143);
    t.segmentRow(4, 224, 142);
    // The final destination, one pixel below the amount line.
    t.add("qlblFrom5",           cn,   86, 251,  58, 30, QStringLiteral("VOID"),            18);
    t.add("qlblFarePer",         en,  165, 250,  44, 25, QStringLiteral("CNY"),             16);
    t.add("qlblFare",            en,  205, 250,  79, 25, QStringLiteral("1700.00"),         16);
    t.add("qlblCAACPer",         en,  278, 250,  30, 25, QStringLiteral("CN"),              16);
    t.add("qlblCAAC",            en,  309, 250,  55, 25, QStringLiteral("50.00"),           16);
    t.add("qlblYQPer",           en,  374, 250,  31, 25, QStringLiteral("YQ"),              16);
    t.add("qlblYQ",              en,  403, 250,  67, 25, QStringLiteral("130.00"),          16);
    t.add("qlblTaxPer",          en,  484, 250,  29, 25, QStringLiteral("OT"),              16);
    t.add("qlblTax",             en,  512, 250,  67, 25, QStringLiteral("130.00"),          16);
    t.add("qlblTotalPer",        en,  604, 250,  44, 25, QStringLiteral("CNY"),             16);
    t.add("qlblTotal",           en,  642, 250,  79, 25, QStringLiteral("1930.00"),         16);
    t.add("qlblTicketNo",        en,   80, 279, 157, 25, QStringLiteral("7845966747051"),   16);
    t.add("qlblCk",              en,  263, 280,  49, 25, QStringLiteral("7890"),            16);
    t.add("qlblInformation",     cn,  403, 279, 144, 29, QStringLiteral("CA1306乘机"),      19);
    // Insurance is right-aligned: its right edge stays at 738 whatever font
    // the filling gives it.
    t.add("qlblIssue",           en,  695, 273,  43, 25, QStringLiteral("XXX"),             16,
          Qt::AlignRight);
    t.add("qlblAgentCode1",      en,   80, 300,  78, 25, QStringLiteral("CTU123"),          16);
    t.add("qlblAgentCode2",      en,   80, 317, 109, 25, QStringLiteral("293847203"),       16);
    // The issuing office takes two lines; the second is empty as designed.
    t.add("qlblIssueBy",         cn,  277, 310, 105, 29, QStringLiteral("国际航空"),        19);
    t.add("qlblIssueBy2",        cn,  277, 342,   1, 29, QString(),                         19);
    t.add("qlblDateOfInsue",     en,  640, 305, 111, 25, QStringLiteral("2015-08-02"),      16);
    // clang-format on
    return t.take();
}

} // namespace

const std::vector<LayoutLabelSpec> &printLayoutTable()
{
    static const std::vector<LayoutLabelSpec> table = buildTable();
    return table;
}
