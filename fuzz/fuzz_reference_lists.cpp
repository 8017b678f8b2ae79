// city.txt and air.txt as anyone may have edited them: loading ends with at
// most one entry a line, and every lookup ends.
#include "FuzzSupport.h"
#include "reference/ReferenceList.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ensureApplication();
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("list.txt"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 0;
        file.write(bytesOf(data, size));
    }
    ReferenceList cities;
    cities.loadCityFile(path);
    ReferenceList airlines;
    airlines.loadAirFile(path);
    if (cities.entries().size() != airlines.entries().size() ||
        cities.entries().size() > qsizetype(size))
        std::abort();
    for (const QString &entry : cities.entries()) {
        cities.lookup(entry.left(3));
        airlines.lookup(entry.left(3));
    }
    return 0;
}
