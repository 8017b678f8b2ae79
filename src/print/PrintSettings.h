#pragma once

#include <QColor>
#include <QString>

// The print font, sizes, colour and offsets, read afresh from the settings
// file for every filling so that a change saved in the settings dialog
// applies to the next preview or print.
struct TPrintSettings
{
    QString fontName; // every printed character but the serial number's
    int cnSize = 0;   // points, Chinese characters and Chinese-class labels
    int enSize = 0;   // points, every other character and label
    QColor colour;
    int vpos = 0; // print-layout pixels, positive moves the print down
    int hpos = 0; // positive moves the print right

    // An absent key reads as 0 or empty, so 0 or empty take the defaults: a
    // stored colour 0 (black) prints grey. A size below 1 point cannot be
    // printed and takes the default as well.
    static TPrintSettings read(const QString &settingsFolder);
    static TPrintSettings defaults();

    // A stored colour 0x00BBGGRR, red in the lowest byte.
    static QColor colourOf(int bgr);
};
