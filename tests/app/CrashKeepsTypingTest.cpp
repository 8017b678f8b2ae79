#include "AnsweredBoxes.h"
#include "TempFolder.h"
#include "app/MainWindow.h"
#include "common/FileEncoding.h"
#include "settings/PrivateConfig.h"

#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A receipt typed and then lost to a crash comes back: the fields are saved
// once they have been still for a second, without waiting for the exit.
TEST(AutoSave, TypedValuesSurviveAKillAtTheNextStart)
{
    TempFolder folder;
    folder.copyDeliveredLists();
    PrivateConfig(true, folder.path()).setBool(QStringLiteral("Storage"), true);

    QProcess typist;
    typist.setProgram(QStringLiteral(KESTRANO_WINDOW_TYPIST));
    typist.setArguments({folder.path()});
    typist.start();
    ASSERT_TRUE(typist.waitForStarted());
    ASSERT_TRUE(typist.waitForReadyRead(30000));
    ASSERT_EQ(typist.readLine().trimmed(), QByteArray("typed"));

    // The save comes on its own a second after the last key; the bound is
    // only there so that a missing save fails instead of hanging.
    const auto saved = [&folder] {
        const QString text = decodeFileText(folder.read(QStringLiteral("vantrel_cof.ini")));
        return text.contains(QStringLiteral("edtPassenger=ZHANG/SAN")) &&
               text.contains(QStringLiteral("edtFare=1860.00"));
    };
    QTRY_VERIFY_WITH_TIMEOUT(saved(), 20000);
    typist.kill(); // SIGKILL: no exit save
    ASSERT_TRUE(typist.waitForFinished());

    AnsweredBoxes boxes;
    MainWindow window(folder.path());
    EXPECT_EQ(window.fields().text(QStringLiteral("edtPassenger")), QStringLiteral("ZHANG/SAN"));
    EXPECT_EQ(window.fields().text(QStringLiteral("edtFare")), QStringLiteral("1860.00"));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

// Typing in the window itself starts the quiet second; nothing is written
// while the agent keeps typing.
TEST(AutoSave, WaitsForTheFieldsToBeStill)
{
    TempFolder folder;
    folder.copyDeliveredLists();
    AnsweredBoxes boxes;
    MainWindow window(folder.path());
    const QByteArray before = folder.read(QStringLiteral("vantrel_cof.ini"));
    window.fields().setText(QStringLiteral("edtPassenger"), QStringLiteral("LI/SI"));
    EXPECT_EQ(folder.read(QStringLiteral("vantrel_cof.ini")), before);
    QTRY_VERIFY_WITH_TIMEOUT(decodeFileText(folder.read(QStringLiteral("vantrel_cof.ini")))
                                 .contains(QStringLiteral("edtPassenger=LI/SI")),
                             20000);
}

} // namespace
