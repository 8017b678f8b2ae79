#pragma once

#include "print/PrintSettings.h"

#include <QHash>
#include <QRectF>
#include <QString>
#include <utility>
#include <vector>

class ItineraryFields;
class PrintLabel;
class ReceiptReport;

// True when the text holds at least one Chinese character: a CJK ideograph of
// any block (isChineseCharacter).
// Chinese punctuation and full-width forms are not Chinese characters here.
bool hasChineseChar(const QString &text);

// The issuing office on its two lines: up to 17 characters on the first
// (a character outside the Basic Multilingual Plane counts once and is never
// cut), broken after the last blank or "/" among them when there is one; the
// rest on the second line.
std::pair<QString, QString> splitIssuingOffice(const QString &office);

// Reads the print settings afresh from the settings file in settingsFolder,
// restyles every layout label of the new page rep and writes every field of
// the receipt onto it, one character label per character.
void fillReport(ReceiptReport &rep, const ItineraryFields &fields, const QString &settingsFolder);

// Fills one page with given print settings.
class ReportFiller
{
public:
    ReportFiller(ReceiptReport &rep, const PrintSettings &settings);

    // Every layout label takes the print font and the print size of its
    // class, then moves by the offsets. Done once, on a new page.
    void restyleLayout();

    // Writes the fields in a fixed order; the carrier shift and the issuing
    // office's second line happen on the way.
    void writeFields(const ItineraryFields &fields);

    // Writes text onto the page anchored at the layout label, one character
    // label per character running rightwards without wrapping, and empties
    // the label's own text, so its design sample never prints. The character
    // labels bear the layout label's name.
    //
    // A value that fits its box on the stock is placed exactly by the
    // placement rule. One that would pass its right limit is condensed
    // horizontally, the rule's gaps with it, down to half its width, and then
    // set in steps of half a point smaller until it fits. A value never starts
    // inside the box of a value printed to its left on its line.
    void putLabelText(PrintLabel &label, const QString &text);

    // The right limit of the value at that layout label on this page: the
    // designed limit moved by the horizontal offset.
    qreal rightLimit(const QString &labelName) const;

private:
    struct Placed;
    void put(const QString &labelName, const QString &text);
    std::vector<Placed> placeCharacters(const QString &text, bool serialNumber, qreal anchorLeft,
                                        int stretch, qreal shrink) const;

    ReceiptReport &m_rep;
    PrintSettings m_settings;
    // The boxes of the values printed so far, by layout label.
    QHash<QString, QRectF> m_printed;
};
