// Writes the settings file from a process of its own, for the tests that need
// a second program at the file.
//
//   settings_writer FOLDER
//       writes for ever, for the test that kills it at random moments: five
//       fixed keys once, then rounds of a counter and a payload that belongs
//       to it. Prints a line after every completed write.
//   settings_writer FOLDER keys PREFIX COUNT
//       writes the keys PREFIX1 .. PREFIXCOUNT, one write each (value: the
//       key's name), for the test of two programs writing at once.
#include "common/KestranoError.h"
#include "settings/PrivateConfig.h"

#include <QCoreApplication>
#include <cstdio>

QString payloadOf(int round)
{
    // Long enough that a write takes a while, different in length every round.
    return QStringLiteral("%1:").arg(round) + QString(200 + round % 97, QChar(u'甲' + round % 50));
}

int writeKeys(PrivateConfig &config, const QString &prefix, int count)
{
    try {
        for (int index = 1; index <= count; ++index) {
            const QString key = prefix + QString::number(index);
            config.setStr(key, key);
        }
    } catch (const KestranoError &error) {
        std::fprintf(stderr, "%s\n", error.message().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    PrivateConfig config(true, QString::fromLocal8Bit(argv[1]));
    if (argc == 5 && qstrcmp(argv[2], "keys") == 0)
        return writeKeys(config, QString::fromLocal8Bit(argv[3]), QByteArray(argv[4]).toInt());

    for (const char *key : {"vpos", "hpos", "fontname", "MakeText", "Storage"}) {
        config.setStr(QString::fromLatin1(key),
                      QStringLiteral("fixed ") + QString::fromLatin1(key));
        std::puts("fixed");
        std::fflush(stdout);
    }
    for (int round = 1;; ++round) {
        config.setStr(QStringLiteral("counter"), QString::number(round));
        std::puts("counter");
        std::fflush(stdout);
        config.setStr(QStringLiteral("payload"), payloadOf(round));
        std::puts("payload");
        std::fflush(stdout);
    }
}
