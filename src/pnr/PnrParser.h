#pragma once

#include <QDate>
#include <QString>

class TItineraryFields;
class TPassengerChooser;
class TReferenceList;

// Converts the display of a booking record, as copied out of the TravelSky
// reservation terminal (any line breaks), into the receipt. Reads the fixed
// columns of the terminal: the price and fare lines give the fare, airport
// tax and total; the segment lines give up to four segment rows with carrier
// (named from airNames), flight, class, date, departure time, fare basis,
// allowance, the cities (named from cityNames) and their terminals; the
// names before the first segment become the passengers, each with the
// document and ticket numbers found for them, and the last name gives up the
// record locator. The first passenger is shown.
//
// Every value is written through the model in the order of the display, so
// the field rules run in between as for typing. Nothing is reported: what the
// display does not hold stays as it was, which is why the window empties the
// receipt with ClearItinerary first. today decides the years of the segment
// dates.
void ParsePnrText(const QString &text, TItineraryFields &fields, TPassengerChooser &passengers,
                  const TReferenceList &airNames, const TReferenceList &cityNames,
                  const QDate &today = QDate::currentDate());
