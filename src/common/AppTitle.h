#pragma once

#include <QString>

// The application title: the main window's caption and the caption of every
// message box except the settings dialog's restore question.
inline QString appTitle()
{
    return QStringLiteral("Kestrano");
}
