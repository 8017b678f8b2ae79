#pragma once

#include <QObject>

// Turns SIGTERM, SIGINT and SIGHUP (a logout, a shutdown, Ctrl+C in a
// terminal) into an orderly quit, so that the main window is closed as usual
// and the receipt on screen is remembered instead of lost. The quit may not
// wait on anyone: every modal box and dialog open (a message box shown
// before the main window, the settings dialog) is closed as if cancelled,
// no further box is shown (MessageBox asks requested()), and every event loop
// running ends. Does nothing where there are no such signals.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    // Whether one of the signals has come: a start still under way (the main
    // window not yet shown, no event loop of the program's yet) ends instead
    // of running.
    static bool requested();
};
