// The settings file as anyone may have edited it: every read must end with a
// value, and a write must leave a file that reads back the written value.
#include "FuzzSupport.h"
#include "settings/PrivateConfig.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ensureApplication();
    static QTemporaryDir folder;
    {
        QFile file(folder.filePath(TPrivateConfig::fileName()));
        if (!file.open(QIODevice::WriteOnly))
            return 0;
        file.write(bytesOf(data, size));
    }
    TPrivateConfig config(true, folder.path());
    for (const char *key : {"vpos", "fontname", "MakeText", "Storage", "edtPassenger", "COF", ""}) {
        const QString name = QString::fromLatin1(key);
        const QString value = config.GetStr(name);
        if (value.size() > TPrivateConfig::maxValueLength)
            std::abort();
        config.GetInt(name);
        config.GetBool(name, true);
    }
    const QString written = QStringLiteral("张三 ZHANG/SAN \"quoted\"");
    config.SetStr(QStringLiteral("edtPassenger"), written);
    if (config.GetStr(QStringLiteral("edtPassenger")) != written)
        std::abort();
    return 0;
}
