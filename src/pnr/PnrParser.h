#pragma once

#include <QDate>
#include <QString>

#include "pnr/ConversionReport.h"

class ItineraryFields;
class PassengerChooser;
class ReferenceList;
struct PnrRecord;

// Converts the display of a booking record, as copied out of the TravelSky
// reservation terminal (any line breaks), into the receipt: reads it into a
// record (readPnrRecord) and writes the record (writePnrRecord). Nothing is
// reported: what the display does not hold stays as it was, which is why
// the window empties the receipt with clearItinerary first. today decides
// the years of segment dates that print none.
void parsePnrText(const QString &text, ItineraryFields &fields, PassengerChooser &passengers,
                  const ReferenceList &airNames, const ReferenceList &cityNames,
                  const QDate &today = QDate::currentDate());

// "PNR信息转": empties the receipt but for its serial number and check code
// (clearItinerary), converts the text (parsePnrText) and marks and reports
// what it read and what a receipt normally holds that the display did not
// give.
ConversionReport convertPnrText(const QString &text, ItineraryFields &fields,
                                PassengerChooser &passengers, const ReferenceList &airNames,
                                const ReferenceList &cityNames,
                                const QDate &today = QDate::currentDate());

// Writes a record into the receipt through the model, so the field rules
// run in between as for typing: the adults' amounts (writeAmounts: every
// amount box anew, empty when the display gives none); up to four rows of
// the segments that are flown (all of them when none is) with carrier
// (named from airNames), flight, class, date, departure time, fare basis,
// allowance, the cities (named from cityNames) and their terminals, the row
// after the last one marked void; the record locator; the endorsement; and
// the passengers into the chooser, the first one shown with their own
// amounts.
void writePnrRecord(const PnrRecord &record, ItineraryFields &fields, PassengerChooser &passengers,
                    const ReferenceList &airNames, const ReferenceList &cityNames);
