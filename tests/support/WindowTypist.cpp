// The program's window on a given program folder, typed into and then left
// running, for the test that kills it as a crash or a power cut would: types
// a name and a fare, prints "typed", and waits in the event loop for ever.
#include "app/MainWindow.h"
#include "common/FontStandIns.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <cstdio>

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    registerFontStandIns();
    MainWindow window(QString::fromLocal8Bit(argv[1]));
    window.show();
    for (const auto &[name, text] :
         {std::pair{"edtPassenger", "ZHANG/SAN"}, std::pair{"edtFare", "1860.00"}}) {
        auto *box = window.findChild<QLineEdit *>(QString::fromLatin1(name));
        if (!box)
            return 3;
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QString::fromLatin1(text));
    }
    std::puts("typed");
    std::fflush(stdout);
    return app.exec();
}
