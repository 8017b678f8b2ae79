#pragma once

#include <QDate>
#include <QString>

class ItineraryFields;

// Fills the receipt from the answer page of the verification query, given
// as decoded text. Reads the page first (a page beyond the limits of the
// HTML document access raises a KestranoError before anything changes) and
// looks for the table of class "journey-detail". Without one the page is
// the service's error page: nothing of the receipt changes but the captcha
// box (edtCode), which is emptied, and the result is false (the window then
// tells the agent "提取失败！" and fetches a new captcha). With one, empties
// the receipt with clearItinerary but for the serial number and check code
// (the next sheet's, kept unless the page gives its own), and writes the
// values of the page through the fields, so that every field's rule runs as
// if typed: single values from SPAN elements by their class, the flight
// segments from the first row of that table; the captcha box ends empty.
[[nodiscard]] bool parseResultPage(ItineraryFields &fields, const QString &page);
// The same with today's date given; journey dates take their year from it.
[[nodiscard]] bool parseResultPage(ItineraryFields &fields, const QString &page,
                                   const QDate &today);

// Splits the HTML of one journey cell at its line breaks ("<BR>") and writes
// the pieces, as HTML source, into the fields of one family by row: family
// "edtFrom" (any case) fills edtFrom1 to edtFrom5, the others their rows 1
// to 4. Pieces beyond the last row are dropped, rows beyond the last piece
// left alone; an empty date is not written, any other gets its year (see
// JourneyDate.h). A cell without a DIV that holds its values on one line
// writes nothing.
void fillJourneyColumn(ItineraryFields &fields, const QString &family, const QString &cellHtml,
                       const QDate &today);
