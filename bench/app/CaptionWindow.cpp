#include "app/TerminationSignals.h"
#include "app/WindowFont.h"
#include "common/FontStandIns.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

// Beside the empty window: the same window with one line of Chinese in the
// main window's font, the least that any window of the program shows. The
// difference between the two is what drawing any Chinese text at all costs a
// start (fontconfig's set-up, the font database, one CJK face mapped and its
// glyphs drawn), which the empty window never pays.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const TerminationSignals orderlyQuit;
    registerFontStandIns();
    QWidget window;
    window.setFixedSize(911, 620);
    window.setFont(windowFont());
    QLabel caption(QStringLiteral("航空运输电子客票行程单"), &window);
    caption.move(20, 20);
    window.show();
    return app.exec();
}
