#include "print/ReportFiller.h"

#include "common/FileEncoding.h"
#include "itinerary/ItineraryFields.h"
#include "common/Pattern.h"
#include "common/TextRules.h"
#include "print/RepFrm.h"

namespace {

// The serial number matches the digits on the stock, whatever the print
// settings say.
const QString serialNumberLabel = QStringLiteral("qlblSerNo");
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

QString fieldLabelName(const QString &fieldName)
{
    // edtFare -> qlblFare, cboAir1 -> qlblAir1: every field prefix has three letters.
    return QStringLiteral("qlbl") + fieldName.mid(3);
}

} // namespace

bool HasChineseChar(const QString &text)
{
    return hasChineseCharacter(text);
}

void FillReport(TfrmRep &rep, const TItineraryFields &fields, const QString &settingsFolder)
{
    TReportFiller filler(rep, TPrintSettings::read(settingsFolder));
    filler.restyleLayout();
    filler.writeFields(fields);
}

TReportFiller::TReportFiller(TfrmRep &rep, const TPrintSettings &settings)
    : FRep(rep), FSettings(settings)
{}

void TReportFiller::restyleLayout()
{
    for (TPrintLabel *label : FRep.layoutLabels()) {
        // In this order: the right-aligned insurance label keeps its right
        // edge through each font change and only then moves by the offset.
        label->setFontFamily(FSettings.fontName);
        label->setPointSize(FSettings.cnSize);
        if (label->sizeClass() == TSizeClass::English)
            label->setPointSize(FSettings.enSize);
        label->setTop(label->top() + FSettings.vpos);
        label->setLeft(label->left() + FSettings.hpos);
    }
}

void TReportFiller::writeFields(const TItineraryFields &fields)
{
    const auto field = [&](const QString &name) { return fields.text(name); };
    const auto putField = [&](const QString &name) { put(fieldLabelName(name), field(name)); };

    if (fields.international())
        putField(QStringLiteral("edtGuowai"));
    else if (TPrintLabel *mark = FRep.label(QStringLiteral("qlblGuowai")))
        mark->setText(QString());

    putField(QStringLiteral("edtSerNo"));
    for (const char *name : {"edtPassenger", "edtId", "cboEndorsement", "edtPnr"})
        putField(QString::fromLatin1(name));

    for (int row = 1; row <= 4; ++row) {
        for (const char *stem :
             {"edtT", "edtFromCode", "cboAir", "edtFlight", "edtSeat", "edtDate", "edtTime",
              "edtBasts", "edtNotValidBefore", "edtNotValidAfter", "edtAllow"}) {
            const QString name = QString::fromLatin1(stem) + QString::number(row);
            if (name.startsWith(QLatin1String("cboAir"))) {
                // Byte length in the Chinese ANSI code page: two per Chinese
                // character, one per ASCII character.
                TPrintLabel *carrier = FRep.label(fieldLabelName(name));
                if (carrier && encodeFileText(field(name)).size() > carrierCodeBytes)
                    carrier->setLeft(carrier->left() - carrierShift);
            }
            putField(name);
        }
    }
    for (int row = 1; row <= 5; ++row)
        putField(QStringLiteral("edtFrom") + QString::number(row));

    for (const char *name :
         {"edtFarePer", "edtFare", "edtCAACPer", "edtCAAC", "edtYQPer", "edtYQ", "edtTaxPer",
          "edtTax", "edtTotalPer", "edtTotal", "edtTicketNo", "edtCk", "edtInformation", "edtIssue",
          "cboAgentCode1", "cboAgentCode2"})
        putField(QString::fromLatin1(name));

    const QString issueBy = field(QStringLiteral("cboIssueBy"));
    if (issueBy.size() > issueByLineLength) {
        put(QStringLiteral("qlblIssueBy"), issueBy.left(issueByLineLength));
        put(QStringLiteral("qlblIssueBy2"), issueBy.mid(issueByLineLength));
    } else {
        put(QStringLiteral("qlblIssueBy"), issueBy);
    }

    putField(QStringLiteral("edtDateOfInsue"));
}

void TReportFiller::put(const QString &labelName, const QString &text)
{
    if (TPrintLabel *label = FRep.label(labelName))
        PutLabelText(*label, text);
}

void TReportFiller::PutLabelText(TPrintLabel &label, const QString &text)
{
    // The anchor includes the offsets, the carrier shift and the insurance
    // label's right-edge rule, all applied before.
    const qreal anchorLeft = label.left();
    const qreal anchorTop = label.top();
    label.setText(QString());
    if (text.isEmpty())
        return;

    TReportPage &page = FRep.ReportPage();
    const bool serialNumber = label.name().compare(serialNumberLabel, Qt::CaseInsensitive) == 0;
    qreal cursor = anchorLeft;
    int k = 0;
    for (qsizetype i = 0; i < text.size(); ++k) {
        // A character outside the Basic Multilingual Plane stays one label.
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString c = text.mid(i, length);
        i += length;

        // Each character label bears the name of its anchor.
        TPrintLabel &character = page.addLabel(label.name());
        // Transparent: the boxes of neighbouring values overlap (the agent
        // codes are 17 pixels apart, a long carrier reaches into the city), and
        // a white box would erase the ink printed there before.
        character.setTransparent(true);
        character.setColour(FSettings.colour);
        character.setTop(anchorTop);
        qreal left = cursor;
        if (serialNumber) {
            character.setFontFamily(serialNumberFont);
            character.setPointSize(serialNumberPointSize);
            character.setColour(Qt::black);
            if (k > 0)
                left = cursor + serialNumberGap;
        } else {
            character.setFontFamily(FSettings.fontName);
            if (HasChineseChar(c)) {
                character.setPointSize(FSettings.cnSize);
                if (k > 0)
                    left = cursor + chineseGap;
            } else {
                character.setPointSize(FSettings.enSize);
            }
        }
        character.setText(c);
        character.setLeft(left);
        cursor = left + character.width() - overlap;
    }
}
