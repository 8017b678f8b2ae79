#include "print/ReportFiller.h"

#include "common/FileEncoding.h"
#include "common/Pattern.h"
#include "common/TextRules.h"
#include "itinerary/ItineraryFields.h"
#include "print/PrintLimits.h"
#include "print/ReceiptReport.h"

#include <algorithm>
#include <cmath>

namespace {

// The serial number matches the digits on the stock, whatever the print
// settings say.
const QString serialNumberLabel = findField(Field::SerialNumber)->printLabel();
const QString serialNumberFont = QStringLiteral("Segoe MDL2 Assets");
constexpr int serialNumberPointSize = 16;
constexpr qreal serialNumberGap = 4;

// A Chinese character after the first stands clear of its predecessor.
constexpr qreal chineseGap = 3;
// Consecutive characters overlap by one pixel.
constexpr qreal overlap = 1;

// A carrier name longer than a two-letter code would run into the flight
// number's column; it moves left by this much.
constexpr qreal carrierShift = 28;
constexpr int carrierCodeBytes = 3;

// The issuing office's first line holds this many characters.
constexpr int issueByLineLength = 17;

// A value that does not fit is condensed down to this width in percent, and
// then set smaller in these steps, never below the smallest size.
constexpr int narrowestStretch = 50;
constexpr qreal shrinkStep = 0.5;
constexpr qreal smallestPointSize = 1;
// Widths are sums of fractions; a value that ends on its limit fits.
constexpr qreal fitTolerance = 1e-6;

bool isBreakAfter(QChar c)
{
    return c == u' ' || c == QChar(0x3000) || c == u'/';
}

} // namespace

bool hasChineseChar(const QString &text)
{
    return hasChineseCharacter(text);
}

std::pair<QString, QString> splitIssuingOffice(const QString &office)
{
    qsizetype end = 0;
    qsizetype breakAfter = 0;
    for (int characters = 0; characters < issueByLineLength && end < office.size(); ++characters) {
        const QChar c = office.at(end);
        end += c.isHighSurrogate() && end + 1 < office.size() && office.at(end + 1).isLowSurrogate()
                   ? 2
                   : 1;
        if (isBreakAfter(c) && !office.left(end - 1).trimmed().isEmpty())
            breakAfter = end;
    }
    if (end >= office.size())
        return {office, QString()};
    const qsizetype cut = breakAfter > 0 ? breakAfter : end;
    return {office.left(cut), office.mid(cut)};
}

void fillReport(ReceiptReport &rep, const ItineraryFields &fields, const QString &settingsFolder)
{
    ReportFiller filler(rep, PrintSettings::read(settingsFolder));
    filler.restyleLayout();
    filler.writeFields(fields);
}

ReportFiller::ReportFiller(ReceiptReport &rep, const PrintSettings &settings)
    : m_rep(rep), m_settings(settings)
{}

void ReportFiller::restyleLayout()
{
    for (PrintLabel *label : m_rep.layoutLabels()) {
        // In this order: the right-aligned insurance label keeps its right
        // edge through each font change and only then moves by the offset.
        label->setFontFamily(m_settings.fontName);
        label->setPointSize(m_settings.cnSize);
        if (label->sizeClass() == SizeClass::English)
            label->setPointSize(m_settings.enSize);
        label->setTop(label->top() + m_settings.vpos);
        label->setLeft(label->left() + m_settings.hpos);
    }
}

void ReportFiller::writeFields(const ItineraryFields &fields)
{
    const auto putField = [&](FieldKey key) {
        put(findField(key)->printLabel(), fields.text(key));
    };

    if (fields.international())
        putField(Field::InternationalMark);
    else if (PrintLabel *mark = m_rep.label(findField(Field::InternationalMark)->printLabel()))
        mark->setText(QString());

    for (Field field :
         {Field::SerialNumber, Field::Passenger, Field::IdNumber, Field::Endorsement, Field::Pnr})
        putField(field);

    for (int row = 1; row <= 4; ++row) {
        for (Field field : {Field::Terminal, Field::FromCode, Field::Carrier, Field::Flight,
                            Field::Seat, Field::Date, Field::Time, Field::FareBasis,
                            Field::NotValidBefore, Field::NotValidAfter, Field::Allowance}) {
            if (field == Field::Carrier) {
                // Byte length in the Chinese ANSI code page: two per Chinese
                // character, one per ASCII character.
                PrintLabel *carrier = m_rep.label(findField({field, row})->printLabel());
                if (carrier && encodeFileText(fields.text({field, row})).size() > carrierCodeBytes)
                    carrier->setLeft(carrier->left() - carrierShift);
            }
            putField({field, row});
        }
    }
    for (int row = 1; row <= lastRow(Field::From); ++row)
        putField({Field::From, row});

    for (FieldKey key :
         {FieldKey(Field::FareCurrency), FieldKey(Field::Fare), FieldKey(Field::AirportTaxCode),
          FieldKey(Field::AirportTax), FieldKey(Field::FuelSurchargeCode),
          FieldKey(Field::FuelSurcharge), FieldKey(Field::OtherTaxCode), FieldKey(Field::OtherTax),
          FieldKey(Field::TotalCurrency), FieldKey(Field::Total), FieldKey(Field::TicketNumber),
          FieldKey(Field::CheckCode), FieldKey(Field::Information), FieldKey(Field::Insurance),
          FieldKey(Field::AgentCode, 1), FieldKey(Field::AgentCode, 2)})
        putField(key);

    const auto [firstLine, secondLine] = splitIssuingOffice(fields.text(Field::IssuedBy));
    put(QStringLiteral("qlblIssueBy"), firstLine);
    if (!secondLine.isEmpty())
        put(QStringLiteral("qlblIssueBy2"), secondLine);

    putField(Field::DateOfIssue);
}

void ReportFiller::put(const QString &labelName, const QString &text)
{
    if (PrintLabel *label = m_rep.label(labelName))
        putLabelText(*label, text);
}

struct ReportFiller::Placed
{
    QString c;
    QFont font;
    qreal left;
    qreal width;
};

qreal ReportFiller::rightLimit(const QString &labelName) const
{
    return designRightLimit(labelName) + m_settings.hpos;
}

std::vector<ReportFiller::Placed> ReportFiller::placeCharacters(const QString &text,
                                                                bool serialNumber, qreal anchorLeft,
                                                                int stretch, qreal shrink) const
{
    const TextMeasure &measure = m_rep.reportPage().measure();
    // The gaps of the placement rule condense with the characters.
    const qreal scale = stretch / 100.0;
    const auto size = [shrink](qreal points) {
        return std::max(points - shrink, smallestPointSize);
    };

    std::vector<Placed> placed;
    qreal cursor = anchorLeft;
    for (qsizetype i = 0; i < text.size();) {
        // A character outside the Basic Multilingual Plane stays one label.
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString c = text.mid(i, length);
        i += length;

        const bool first = placed.empty();
        qreal left = cursor;
        QFont font;
        if (serialNumber) {
            font = TextMeasure::labelFont(serialNumberFont, size(serialNumberPointSize), stretch);
            if (!first)
                left = cursor + serialNumberGap * scale;
        } else if (hasChineseChar(c)) {
            font = TextMeasure::labelFont(m_settings.fontName, size(m_settings.cnSize), stretch);
            if (!first)
                left = cursor + chineseGap * scale;
        } else {
            font = TextMeasure::labelFont(m_settings.fontName, size(m_settings.enSize), stretch);
        }
        const qreal width = measure.width(font, c);
        placed.push_back({c, font, left, width});
        cursor = left + width - overlap * scale;
    }
    return placed;
}

void ReportFiller::putLabelText(PrintLabel &label, const QString &text)
{
    // The anchor includes the offsets, the carrier shift and the insurance
    // label's right-edge rule, all applied before.
    qreal anchorLeft = label.left();
    const qreal anchorTop = label.top();
    label.setText(QString());
    if (text.isEmpty())
        return;

    // A value to the left on the same line keeps its box: this one starts no
    // further left than its own column (so the carrier moves left only while
    // the city code prints nothing).
    for (const QString &neighbour : leftNeighbours(label.name())) {
        if (m_printed.contains(neighbour))
            anchorLeft = std::max(anchorLeft, rightLimit(neighbour) + columnClearance);
    }

    const bool serialNumber = label.name().compare(serialNumberLabel, Qt::CaseInsensitive) == 0;
    const qreal limit = rightLimit(label.name());
    const auto place = [&](int stretch, qreal shrink) {
        return placeCharacters(text, serialNumber, anchorLeft, stretch, shrink);
    };
    const auto end = [](const std::vector<Placed> &placed) {
        return placed.back().left + placed.back().width;
    };
    const auto fits = [&](const std::vector<Placed> &placed) {
        return end(placed) <= limit + fitTolerance;
    };

    int stretch = 100;
    qreal shrink = 0;
    std::vector<Placed> placed = place(stretch, shrink);
    if (!fits(placed)) {
        // The width scales with the stretch: start from the proportion and
        // settle on the widest stretch that fits.
        const qreal room = std::max<qreal>(limit - anchorLeft, 0);
        stretch = std::clamp(int(std::floor(100 * room / (end(placed) - anchorLeft))),
                             narrowestStretch, 99);
        placed = place(stretch, shrink);
        while (!fits(placed) && stretch > narrowestStretch)
            placed = place(--stretch, shrink);
        while (fits(placed) && stretch < 99) {
            std::vector<Placed> wider = place(stretch + 1, shrink);
            if (!fits(wider))
                break;
            placed = std::move(wider);
            ++stretch;
        }
        const qreal largest = std::max(
            {qreal(m_settings.cnSize), qreal(m_settings.enSize), qreal(serialNumberPointSize)});
        while (!fits(placed) && largest - shrink > smallestPointSize) {
            shrink += shrinkStep;
            placed = place(stretch, shrink);
        }
    }

    ReportPage &page = m_rep.reportPage();
    const TextMeasure &measure = page.measure();
    qreal lineHeight = 0;
    for (const Placed &p : placed) {
        // Each character label bears the name of its anchor.
        PrintLabel &character = page.addLabel(label.name());
        // Transparent: a white box would erase ink printed there before.
        character.setTransparent(true);
        character.setColour(serialNumber ? QColor(Qt::black) : m_settings.colour);
        character.setTop(anchorTop);
        character.setFontFamily(p.font.family());
        character.setPointSize(p.font.pointSizeF());
        if (stretch != 100)
            character.setStretch(stretch);
        character.setText(p.c);
        character.setLeft(p.left);
        lineHeight = std::max(lineHeight, measure.lineHeight(p.font));
    }

    const QRectF box(anchorLeft, anchorTop, std::max<qreal>(limit - anchorLeft, 0), lineHeight);
    m_printed.insert(label.name(), box);
    page.addValueBox({label.name(), valueCaption(label.name()), box, stretch, shrink});
}
