#include "TempFolder.h"
#include "common/FileEncoding.h"
#include "settings/PrivateConfig.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QString payloadOf(int round)
{
    return QStringLiteral("%1:").arg(round) + QString(200 + round % 97, QChar(u'甲' + round % 50));
}

// Kills a process that writes the settings file without pause, after a
// random number of completed writes, so that it dies somewhere inside a
// write; then the file must be whole: either before or after that write.
TEST(CrashSafeSaving, AProcessKilledWhileWritingLeavesAWholeFile)
{
    QRandomGenerator random(20261210);
    for (int round = 0; round < 40; ++round) {
        TempFolder folder;
        QProcess writer;
        writer.start(QStringLiteral(KESTRANO_SETTINGS_WRITER), {folder.path()});
        ASSERT_TRUE(writer.waitForStarted());
        const int completed = 5 + int(random.bounded(60));
        int seen = 0;
        while (seen < completed && writer.waitForReadyRead(10000)) {
            while (writer.canReadLine() && seen < completed) {
                writer.readLine();
                ++seen;
            }
        }
        writer.kill();
        writer.waitForFinished();
        ASSERT_EQ(seen, completed);

        const QString text = decodeFileText(folder.read(QStringLiteral("vantrel_cof.ini")));
        const QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
        ASSERT_FALSE(lines.isEmpty()) << "round " << round;
        EXPECT_EQ(lines.front(), QStringLiteral("[COF]"));
        static const QRegularExpression keyLine(QStringLiteral("^[A-Za-z]+=.*$"));
        for (const QString &line : lines.mid(1))
            EXPECT_TRUE(keyLine.match(line).hasMatch()) << line.toStdString();

        const PrivateConfig config(false, folder.path());
        for (const char *key : {"vpos", "hpos", "fontname", "MakeText", "Storage"}) {
            EXPECT_EQ(config.getStr(QString::fromLatin1(key)),
                      QStringLiteral("fixed ") + QString::fromLatin1(key))
                << key << " round " << round;
        }
        // The counter and its payload are two writes: the payload is the
        // counter's own or, between the two, the one before.
        const int counter = config.getInt(QStringLiteral("counter"));
        const QString payload = config.getStr(QStringLiteral("payload"));
        if (counter > 0) {
            EXPECT_TRUE(payload == payloadOf(counter) ||
                        (counter > 1 && payload == payloadOf(counter - 1)) ||
                        (counter == 1 && payload.isEmpty()))
                << "round " << round << " counter " << counter;
        }
    }
}

} // namespace
