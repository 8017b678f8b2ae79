#pragma once

#include "pnr/PnrRecord.h"

#include <QDate>

// Reads the display of a booking record, as copied out of the TravelSky
// reservation terminal or passed on through a web platform, a chat or a log
// (pnrItems() finds its items however it was copied), into a record,
// touching nothing else:
//
// - an item 0 such as "0.15BJTUAN NM15 KQ7X2M" heads a group: no passenger,
//   its last word the record locator;
// - the name items before the first segment give the passengers ("1.张三
//   2.李四 HX7QJ2"); they end at the first item that is clearly no name (a
//   segment, ARNK or OPEN included, an element such as SSR, OSI, RMK, TL/,
//   FN/, EI/, TN/, XN/, an office line, a booking reply). The last name
//   gives up the record locator of five or six characters that ends it,
//   also with a carrier after it ("MZ4K7R/HU"); a locator on a line of its
//   own right after the names counts as well;
// - each infant ("XN/IN/刘小宝INF(MAR25)/P1") is a passenger of its own,
//   right after the adult who carries it, named without the birth month;
// - each passenger ("/P1" counts the names from the first) gets the number
//   of their NI, PP or ID document, else of their SSR DOCS passport, and the
//   first ticket number of their SSR TKNE items, else of their TN item; an
//   infant gets the passport of its own SSR DOCS (sex MI or FI) and the
//   ticket after "INF" in SSR TKNE, else of TN/IN;
// - a child is named "...CHD" or has an SSR CHLD item;
// - the flight segments in order, each with its action code; a year printed
//   after the date ("TH09APR20") gives the year, else today and the day of
//   the week decide it;
// - the fare lines and the price quotes, and from them every passenger's
//   own amounts (PnrRecord::amountsOf), when the display gives any;
// - the endorsement of the first EI item: from each "/"-separated piece
//   that holds Chinese, the piece from its first Chinese character on, the
//   pieces joined by "/"; without any Chinese, the item as written.
//
// Linear in the length of the text; a search that reaches its bound ends
// that part of the reading with what it found.
PnrRecord readPnrRecord(const QString &text, const QDate &today = QDate::currentDate());
