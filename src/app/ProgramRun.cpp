#include "app/ProgramRun.h"

#include "app/ApplicationSetup.h"
#include "app/MainWindow.h"
#include "app/TerminationSignals.h"
#include "app/WindowFont.h"
#include "common/KestranoError.h"
#include "register/RegisterExport.h"
#include "settings/Settings.h"
#include "settings/SettingsLocation.h"

#include <QApplication>
#include <cstdio>

int runProgram(QApplication &app, const QString &programFolder)
{
    setUpApplication(app);
    // Menus, pop-ups and message boxes in the main window's face too, as on
    // the Chinese Windows desktop; no second face is loaded for them.
    QApplication::setFont(windowFont());

    const TerminationSignals orderlyQuit;
    MainWindow frmMain(programFolder, SettingsLocation::forProgram(programFolder));
    if (TerminationSignals::requested())
        return 0;
    frmMain.show();
    return app.exec();
}

int runRegisterExport(const QStringList &arguments, const QString &programFolder)
{
    const auto say = [](FILE *stream, const QString &text) {
        std::fputs((text + u'\n').toUtf8().constData(), stream);
    };
    if (arguments.size() != 3 || arguments.at(2).isEmpty()) {
        say(stderr, QStringLiteral("用法：kestrano --export-register 文件.csv"));
        return 1;
    }
    const QString path = arguments.at(2);
    try {
        const SettingsLocation location = SettingsLocation::forProgram(programFolder);
        const QString notice = location.prepare();
        if (!notice.isEmpty())
            say(stderr, notice);
        const qint64 rows = exportRegister(Settings::read(location), location.folder, path);
        say(stdout, QStringLiteral("已导出 %1 条记录到 %2").arg(rows).arg(path));
    } catch (const KestranoError &error) {
        say(stderr, error.message());
        return 1;
    }
    return 0;
}
