#pragma once

#include "pnr/PnrRecord.h"

#include <QDate>

struct PnrItem;

// What kind of segment an item is.
enum class SegmentKind {
    None,     // no segment at all
    Flight,   // a flight: "3.  MU5132 Y   WE26AUG  PEKHGH RR2   1055 1315          E T2--"
    Surface,  // the gap of an open jaw, "3.    ARNK              SHAPVG"
    OpenDate, // a flight not yet booked on a day, "3.  CA OPEN Y   PEKSHA"
};

struct SegmentLine
{
    SegmentKind kind = SegmentKind::None;
    PnrSegment segment; // for a flight
};

// Reads an item as a segment line. First by the terminal's fixed columns,
// counted from the last digit of the item number: carrier 4-5, flight 6-9
// and its suffix letter, if any, in 10, class 11, day of the week 15-16, date 17-21, the year (when printed)
// 22-23, departure and arrival codes 24-26 and 27-29, action code and count
// 30-36, departure and arrival times 37-40 and 42-45, terminals 58-61 (a
// line may end anywhere after the arrival time: a copy often cuts the
// blanks at the end). Where the columns do not fit, as in a copy that
// collapsed or lost blanks, by its words in their order: carrier and
// flight, class, date with optional day and year, the two codes, action
// code with count, times ("+1" after the arrival), "E" and the terminals;
// a segment that the row does not hold whole is read on into the lines that
// continue the item.
// today decides the year of a date that prints none.
SegmentLine readSegmentLine(const PnrItem &item, const QDate &today);
