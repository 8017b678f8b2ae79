#include "TempFolder.h"
#include "settings/PrivateConfig.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

// Two programs write keys of their own into one settings file at the same
// time, each write a read-modify-write of the whole file: under the lock
// neither ever replaces the file with a copy that misses the other's keys.
TEST(ConcurrentWriters, TwoProgramsWritingAtOnceKeepEveryKey)
{
    constexpr int keysEach = 150;
    TempFolder folder;
    QProcess first;
    QProcess second;
    const QString count = QString::number(keysEach);
    first.start(QStringLiteral(KESTRANO_SETTINGS_WRITER),
                {folder.path(), QStringLiteral("keys"), QStringLiteral("first"), count});
    second.start(QStringLiteral(KESTRANO_SETTINGS_WRITER),
                 {folder.path(), QStringLiteral("keys"), QStringLiteral("second"), count});
    ASSERT_TRUE(first.waitForFinished(120000));
    ASSERT_TRUE(second.waitForFinished(120000));
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();

    const SettingsSnapshot file = PrivateConfig(false, folder.path()).snapshot();
    int kept = 0;
    for (const QString &prefix : {QStringLiteral("first"), QStringLiteral("second")}) {
        for (int index = 1; index <= keysEach; ++index) {
            const QString key = prefix + QString::number(index);
            if (file.getStr(key) == key)
                ++kept;
            else
                ADD_FAILURE() << "lost " << key.toStdString();
        }
    }
    EXPECT_EQ(kept, 2 * keysEach);
}

} // namespace
