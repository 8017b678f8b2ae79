#include "app/TerminationSignals.h"

#include <QApplication>
#include <QWidget>

// The floor that the program's start is judged against: a Qt Widgets
// application that shows one empty window of the main window's size and
// nothing else. bench_startup starts it exactly as it starts the program. It
// closes on SIGTERM in the same orderly way, through the program's own
// TerminationSignals, and links nothing beyond Qt Widgets.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const TerminationSignals orderlyQuit;
    QWidget window;
    window.setFixedSize(911, 620);
    window.show();
    return app.exec();
}
