#pragma once

class QWidget;

// Qt never hands the window system an empty caption: it puts the application
// name there instead. A box whose caption is to be empty (the restore
// question of the settings dialog) has its native caption cleared here, on
// X11 and on Windows; elsewhere it keeps Qt's.
void clearNativeCaption(QWidget &window);
