#pragma once

#include <QObject>

// Turns SIGTERM, SIGINT and SIGHUP (a logout, a shutdown, Ctrl+C in a
// terminal) into an orderly quit of the event loop, so that the main window is
// closed as usual and the receipt on screen is remembered instead of lost.
// Does nothing where there are no such signals.
class TTerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TTerminationSignals(QObject *parent = nullptr);
    ~TTerminationSignals() override;
};
