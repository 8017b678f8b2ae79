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
        QFile file(folder.filePath(PrivateConfig::fileName()));
        if (!file.open(QIODevice::WriteOnly))
            return 0;
        file.write(bytesOf(data, size));
    }
    PrivateConfig config(true, folder.path());
    for (const char *key : {"vpos", "fontname", "MakeText", "Storage", "edtPassenger", "COF", ""}) {
        const QString name = QString::fromLatin1(key);
        const QString value = config.getStr(name);
        if (value.size() > PrivateConfig::maxValueLength)
            std::abort();
        config.getInt(name);
        config.getBool(name, true);
    }
    const QString written = QStringLiteral("张三 ZHANG/SAN \"quoted\"");
    config.setStr(QStringLiteral("edtPassenger"), written);
    if (config.getStr(QStringLiteral("edtPassenger")) != written)
        std::abort();
    return 0;
}
