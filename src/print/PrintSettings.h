#pragma once

#include <QColor>
#include <QString>

class Settings;

// The print font, sizes, colour and offsets, read afresh from the settings
// file for every filling so that a change saved in the settings dialog
// applies to the next preview or print.
struct PrintSettings
{
    QString fontName; // every printed character but the serial number's
    int cnSize = 0;   // points, Chinese characters and Chinese-class labels
    int enSize = 0;   // points, every other character and label
    QColor colour;
    int vpos = 0; // print-layout pixels, positive moves the print down
    int hpos = 0; // positive moves the print right

    // An absent or empty font name, a size that is absent, not a number or
    // below 1 point take the defaults. An absent, empty or unreadable colour
    // is the default grey; a stored 0 is black.
    static PrintSettings from(const Settings &settings);
    // The same from one reading of the settings file in settingsFolder.
    static PrintSettings read(const QString &settingsFolder);
    static PrintSettings defaults();

    // A stored colour 0x00BBGGRR, red in the lowest byte.
    static QColor colourOf(int bgr);
};
