// Writes the settings file for ever, for the test that kills it at random
// moments: five fixed keys once, then rounds of a counter and a payload that
// belongs to it. Prints a line after every completed write.
#include "settings/PrivateConfig.h"

#include <QCoreApplication>
#include <cstdio>

QString payloadOf(int round)
{
    // Long enough that a write takes a while, different in length every round.
    return QStringLiteral("%1:").arg(round) + QString(200 + round % 97, QChar(u'甲' + round % 50));
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    TPrivateConfig config(true, QString::fromLocal8Bit(argv[1]));
    for (const char *key : {"vpos", "hpos", "fontname", "MakeText", "Storage"}) {
        config.SetStr(QString::fromLatin1(key), QStringLiteral("fixed ") + QString::fromLatin1(key));
        std::puts("fixed");
        std::fflush(stdout);
    }
    for (int round = 1;; ++round) {
        config.SetStr(QStringLiteral("counter"), QString::number(round));
        std::puts("counter");
        std::fflush(stdout);
        config.SetStr(QStringLiteral("payload"), payloadOf(round));
        std::puts("payload");
        std::fflush(stdout);
    }
}
