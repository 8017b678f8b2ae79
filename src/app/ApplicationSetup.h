#pragma once

class QCoreApplication;

// The program's name and language, set once before any window is made.
// Only the application name is set, no display name: the window system would
// add a display name to every caption ("设置 — Kestrano"), and the captions
// are the program's own.
void setUpApplication(QCoreApplication &app);

// Qt's own dialogs, buttons and menus (the colour dialog, OK and Cancel, the
// edit menu of a text box) in Chinese, whatever the system locale: the
// translations beside the program, else Qt's installed ones. False when
// neither is found; the program then runs with Qt's English texts.
bool installChineseTranslations(QCoreApplication &app);
