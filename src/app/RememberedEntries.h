#pragma once

#include <QString>

class ItineraryFields;
class SettingsSnapshot;

// The receipt kept across runs: every remembered field under its own name in
// the settings file, written at every exit and read back at start when
// "Storage" is on; the whole receipt is written in one replacement of the
// file. Both walk the fields in the same order, and a restore
// writes through the model, so the rules run as if the fields were typed in
// that order: stored check code, fare bases and total end up as stored. The
// international switch comes last and shows its mark without emptying the
// fuel surcharge kept with it.
void saveEntries(const ItineraryFields &fields, const QString &settingsFolder);
void restoreEntries(ItineraryFields &fields, const QString &settingsFolder);
// The same from a reading of the file already made (one parse for the start).
void restoreEntries(ItineraryFields &fields, const SettingsSnapshot &file);
