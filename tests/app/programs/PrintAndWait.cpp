// Starts the main window on a program folder, presses "直接打印" with the
// given printer as the default one, says "queued <job id>" once the journal
// holds the job, and then runs until it is killed.
//
//   print_and_wait FOLDER PRINTER SERIAL-NUMBER

#include "app/MainWindow.h"
#include "app/MessageBox.h"
#include "common/FontStandIns.h"
#include "print/PrintJournal.h"

#include <QApplication>
#include <QPushButton>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s FOLDER PRINTER SERIAL-NUMBER\n", argv[0]);
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerFontStandIns();
    MessageBox::setResponder([](const MessageBox::Shown &box) {
        std::fprintf(stderr, "box: %s\n", box.text.toUtf8().constData());
        return true;
    });

    const QString printer = QString::fromLocal8Bit(argv[2]);
    MainWindow window(QString::fromLocal8Bit(argv[1]));
    window.printing().setPrinterLookup([printer] { return printer; });
    window.fields().setText(QStringLiteral("edtSerNo"), QString::fromLocal8Bit(argv[3]));
    bool told = false;
    QObject::connect(&window.printing(), &PrintService::journalChanged, &window, [&] {
        for (const PrintJournal::Row &row : window.printing().journal().unfinished()) {
            if (row.jobId != 0 && !told) {
                told = true;
                std::printf("queued %d\n", row.jobId);
                std::fflush(stdout);
            }
        }
    });
    window.findChild<QPushButton *>(QStringLiteral("btnPrint"))->click();
    return QApplication::exec();
}
