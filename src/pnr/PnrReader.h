#pragma once

#include "pnr/PnrRecord.h"

#include <QDate>

// Reads the display of a booking record, as copied out of the TravelSky
// reservation terminal, into a record, touching nothing else. Reads the
// terminal's fixed columns and its items:
//
// - an item 0 such as "0.15BJTUAN NM15 KQ7X2M" heads a group: no passenger,
//   its last word the record locator;
// - the name items before the first segment give the passengers ("1.张三
//   2.李四 HX7QJ2"); they end at the first item that is clearly no name (an
//   element such as SSR, OSI, RMK, TL/, FN/, EI/, TN/, an office line, a
//   booking reply). The last name gives up the record locator that ends it,
//   also with a carrier after it ("MZ4K7R/HU"); a locator on a line of its
//   own right after the names counts as well;
// - each passenger ("/P1" counts the names from the first) gets the number
//   of their NI, PP or ID document, else of their SSR DOCS passport, and the
//   first ticket number of their SSR TKNE items, else of their TN item;
//   an infant's document and ticket are not the adult's;
// - the segment lines in order, each with its action code; a year printed
//   after the date ("TH09APR20") gives the year, else today and the day of
//   the week decide it;
// - the amounts of the price display and of the fare line;
// - the endorsement of the EI item: its Chinese pieces joined by "/", or the
//   item as written when it has none.
//
// Linear in the length of the text; a search that reaches its bound ends
// that part of the reading with what it found.
TPnrRecord ReadPnrRecord(const QString &text, const QDate &today = QDate::currentDate());
