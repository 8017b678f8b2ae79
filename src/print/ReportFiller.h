#pragma once

#include "print/PrintSettings.h"

#include <QString>

class TItineraryFields;
class TPrintLabel;
class TfrmRep;

// True when the text holds at least one Chinese character: a CJK ideograph of
// any block (isChineseCharacter).
// Chinese punctuation and full-width forms are not Chinese characters here.
bool HasChineseChar(const QString &text);

// Reads the print settings afresh from the settings file in settingsFolder,
// restyles every layout label of the new page rep and writes every field of
// the receipt onto it, one character label per character.
void FillReport(TfrmRep &rep, const TItineraryFields &fields, const QString &settingsFolder);

// Fills one page with given print settings.
class TReportFiller
{
public:
    TReportFiller(TfrmRep &rep, const TPrintSettings &settings);

    // Every layout label takes the print font and the print size of its
    // class, then moves by the offsets. Done once, on a new page.
    void restyleLayout();

    // Writes the fields in a fixed order; the carrier shift and the issuing
    // office's second line happen on the way.
    void writeFields(const TItineraryFields &fields);

    // Writes text onto the page anchored at the layout label, one character
    // label per character running rightwards without wrapping, and empties
    // the label's own text, so its design sample never prints. The character
    // labels bear the layout label's name.
    void PutLabelText(TPrintLabel &label, const QString &text);

private:
    void put(const QString &labelName, const QString &text);

    TfrmRep &FRep;
    TPrintSettings FSettings;
};
