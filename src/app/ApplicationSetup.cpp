#include "app/ApplicationSetup.h"

#include "common/AppTitle.h"
#include "common/FontStandIns.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

void setUpApplication(QCoreApplication &app)
{
    QCoreApplication::setApplicationName(appTitle());
    registerFontStandIns();
    installChineseTranslations(app);
}

bool installChineseTranslations(QCoreApplication &app)
{
    // A package for Windows carries them in "translations" beside the
    // executable; on Debian they come with qt6-translations-l10n.
    const QStringList folders = {
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations")),
        QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
    for (const QString &folder : folders) {
        auto *translator = new QTranslator(&app);
        if (translator->load(QStringLiteral("qtbase_zh_CN"), folder) &&
            QCoreApplication::installTranslator(translator))
            return true;
        delete translator;
    }
    return false;
}
