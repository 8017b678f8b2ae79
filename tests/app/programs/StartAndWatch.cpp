// Runs the program as its entry does, on a program folder of the test's,
// and says on standard output what the user would see: "box: TEXT" for a
// message box, "dialog: NAME" for another modal window, "window" once the
// main window shows. With "settings", it types a passenger's name into the
// receipt once the window shows and opens "设置".
//
//   start_and_watch FOLDER [settings]

#include "app/MainWindow.h"
#include "app/ProgramRun.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <cstdio>

namespace {

void say(const QString &line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [settings]\n", argv[0]);
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool openSettings = argc > 2 && qstrcmp(argv[2], "settings") == 0;

    QSet<QWidget *> told;
    bool windowShown = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &app, [&] {
        if (QWidget *modal = QApplication::activeModalWidget(); modal && !told.contains(modal)) {
            told.insert(modal);
            if (auto *box = qobject_cast<QMessageBox *>(modal))
                say(QStringLiteral("box: ") + box->text());
            else
                say(QStringLiteral("dialog: ") + modal->objectName());
        }
        if (windowShown)
            return;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *window = qobject_cast<MainWindow *>(widget);
            if (!window || !window->isVisible())
                continue;
            windowShown = true;
            say(QStringLiteral("window"));
            if (openSettings) {
                window->fields().setText(QStringLiteral("edtPassenger"), QStringLiteral("王五"));
                // From the event loop: the dialog runs a loop of its own.
                QPointer<QPushButton> button =
                    window->findChild<QPushButton *>(QStringLiteral("Button6"));
                QMetaObject::invokeMethod(
                    &app,
                    [button] {
                        if (button)
                            button->click();
                    },
                    Qt::QueuedConnection);
            }
        }
    });
    watch.start(20);
    return runProgram(app, QString::fromLocal8Bit(argv[1]));
}
