#include "print/PrintJournal.h"
#include "FileMode.h"
#include "TempFolder.h"
#include "common/KestranoError.h"
#include "itinerary/ItineraryFields.h"
#include "print/JournalFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using Outcome = PrintJournal::Outcome;

ReceiptRecord receipt(const QString &serial, const QString &passenger)
{
    ItineraryFields fields;
    fields.setText(QStringLiteral("edtSerNo"), serial);
    fields.setText(QStringLiteral("edtPassenger"), passenger);
    fields.setText(QStringLiteral("edtFlight1"), QStringLiteral("MU5101"));
    fields.setText(QStringLiteral("edtDate1"), QStringLiteral("2026-12-22"));
    fields.setText(QStringLiteral("edtFlight3"), QStringLiteral("MU5102"));
    fields.setText(QStringLiteral("edtDate3"), QStringLiteral("2026-12-28"));
    fields.setText(QStringLiteral("edtFare"), QStringLiteral("1240.00"));
    fields.setText(QStringLiteral("edtCAAC"), QStringLiteral("50.00"));
    fields.setInternational(true);
    fields.setText(QStringLiteral("edtYQ"), QStringLiteral("120.00"));
    return ReceiptRecord::of(fields);
}

QString pragma(const PrintJournal &journal, const char *name)
{
    QSqlQuery query(journal.database());
    query.exec(QStringLiteral("PRAGMA ") + QString::fromLatin1(name));
    return query.next() ? query.value(0).toString() : QString();
}

} // namespace

// Written so that a completed row survives a crash or a power cut.
TEST(PrintJournal, WritesAheadWithFullSync)
{
    const TempFolder folder;
    const PrintJournal journal(folder.path());
    EXPECT_EQ(journal.path(), folder.file(QStringLiteral("vantrel_print.db")));
    EXPECT_EQ(pragma(journal, "journal_mode"), QStringLiteral("wal"));
    EXPECT_EQ(pragma(journal, "synchronous"), QStringLiteral("2")); // FULL
}

// A row is there before the job and holds the receipt as printed; it is
// completed once, and kept across openings.
TEST(PrintJournal, RowsLiveFromHandOverToTheirEnd)
{
    const TempFolder folder;
    qint64 first = 0;
    {
        PrintJournal journal(folder.path());
        first = journal.begin(receipt(QStringLiteral("1234567890 3"), QStringLiteral("张三")),
                              QStringLiteral("PDF"), QStringLiteral("行程单 first"));
        journal.setJobId(first, 41);
        // Recording the id waits for no disk, and leaves every other write synced.
        EXPECT_EQ(pragma(journal, "synchronous"), QStringLiteral("2"));
        const qint64 second = journal.begin(
            receipt(QStringLiteral("1234567891 4"), QStringLiteral("李四")), QStringLiteral("PDF"));
        journal.finish(second, Outcome::Failed, QStringLiteral("作业已中止"));
        // An ended row keeps its end.
        journal.finish(second, Outcome::Printed);
        EXPECT_EQ(journal.row(second).outcome, Outcome::Failed);
    }
    PrintJournal journal(folder.path());
    EXPECT_EQ(journal.rowCount(), 2);
    const std::vector<PrintJournal::Row> open = journal.unfinished();
    ASSERT_EQ(open.size(), 1u);
    const PrintJournal::Row &row = open.front();
    EXPECT_EQ(row.id, first);
    EXPECT_EQ(row.jobId, 41);
    EXPECT_EQ(row.printer, QStringLiteral("PDF"));
    EXPECT_EQ(row.documentName, QStringLiteral("行程单 first"));
    EXPECT_TRUE(row.time.isValid());
    EXPECT_EQ(row.record.serialNumber, QStringLiteral("1234567890 3"));
    EXPECT_EQ(row.record.checkCode, QStringLiteral("7890"));
    EXPECT_EQ(row.record.passenger, QStringLiteral("张三"));
    EXPECT_EQ(row.record.flights, QStringLiteral("MU5101 MU5102"));
    EXPECT_EQ(row.record.dates, QStringLiteral("2026-12-22 2026-12-28"));
    EXPECT_EQ(row.record.total, QStringLiteral("1410.00"));
    EXPECT_EQ(row.record.fuelSurcharge, QStringLiteral("120.00"));
    EXPECT_EQ(row.record.fields.value(QStringLiteral("chkGuowai")).toBool(), true);
    EXPECT_EQ(row.record.fields.value(QStringLiteral("edtFlight3")).toString(),
              QStringLiteral("MU5102"));

    journal.finish(first, Outcome::Printed);
    EXPECT_TRUE(journal.unfinished().empty());
}

TEST(PrintJournal, OnlyAPrintedRowBecomesVoid)
{
    const TempFolder folder;
    PrintJournal journal(folder.path());
    const ReceiptRecord record = receipt(QStringLiteral("1234567890 3"), QStringLiteral("张三"));
    const struct
    {
        Outcome outcome;
        bool voids;
    } cases[] = {{Outcome::Printed, true},
                 {Outcome::Failed, false},
                 {Outcome::Cancelled, false},
                 {Outcome::Printing, false}};
    for (const auto &c : cases) {
        const qint64 row = journal.begin(record, QStringLiteral("PDF"));
        if (c.outcome != Outcome::Printing)
            journal.finish(row, c.outcome);
        EXPECT_EQ(journal.voidRow(row, QStringLiteral("卡纸")), c.voids);
        EXPECT_EQ(journal.row(row).outcome, c.voids ? Outcome::Voided : c.outcome);
        EXPECT_EQ(journal.voidRow(row, QStringLiteral("again")), false);
    }
    EXPECT_EQ(journal.rowCount(), 4);
}

// Every job's document gets a name of its own, which a journal written before
// rows kept it takes in as well.
TEST(PrintJournal, KeepsTheNameThatFindsTheJob)
{
    const TempFolder folder;
    {
        PrintJournal journal(folder.path());
        QSqlQuery older(journal.database());
        ASSERT_TRUE(older.exec(QStringLiteral("ALTER TABLE journal DROP COLUMN document_name")));
    }
    PrintJournal journal(folder.path());
    const QString name = PrintJournal::newDocumentName(QStringLiteral("行程单"));
    EXPECT_TRUE(name.startsWith(QStringLiteral("行程单 ")));
    EXPECT_NE(PrintJournal::newDocumentName(QStringLiteral("行程单")), name);
    const qint64 row =
        journal.begin(receipt(QStringLiteral("1234567890 3"), QStringLiteral("张三")),
                      QStringLiteral("PDF"), name);
    EXPECT_EQ(journal.row(row).documentName, name);
}

// The receipt comes back as printed, the switch before the surcharge it would
// empty, but the serial number stays that of the next sheet.
TEST(PrintJournal, ARecordPutsTheReceiptBackButNotItsNumber)
{
    const ReceiptRecord record = ReceiptRecord::fromFieldsJson(
        receipt(QStringLiteral("1234567890 3"), QStringLiteral("张三")).fieldsJson());
    ItineraryFields fields;
    fields.setText(QStringLiteral("edtSerNo"), QStringLiteral("1234567899 5"));
    record.applyTo(fields);
    EXPECT_TRUE(fields.international());
    EXPECT_EQ(fields.text(QStringLiteral("edtYQ")), QStringLiteral("120.00"));
    EXPECT_EQ(fields.text(QStringLiteral("edtTotal")), QStringLiteral("1410.00"));
    EXPECT_EQ(fields.text(QStringLiteral("edtPassenger")), QStringLiteral("张三"));
    EXPECT_EQ(fields.text(QStringLiteral("edtSerNo")), QStringLiteral("1234567899 5"));
    EXPECT_EQ(fields.text(QStringLiteral("edtCk")), QStringLiteral("7899"));
}

// The journal holds names, IDs and ticket numbers: private to its user, as
// the settings file beside it.
TEST(PrintJournal, IsPrivateBesideTheSettingsFile)
{
    const TempFolder folder;
    {
        PrintJournal journal(folder.path());
        EXPECT_EQ(PrintJournal::pathFor(folder.path()),
                  folder.file(QStringLiteral("vantrel_print.db")));
    }
    EXPECT_EQ(QFileInfo(folder.file(QStringLiteral("vantrel_print.db"))).permissions() &
                  (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteGroup |
                   QFileDevice::WriteOther),
              QFileDevice::Permissions());
}

TEST(PrintJournal, AFolderThatCannotHoldItIsAnError)
{
    const TempFolder folder;
    folder.write(QStringLiteral("file"), "not a folder");
    try {
        PrintJournal journal(folder.file(QStringLiteral("file")));
        ADD_FAILURE() << "opened " << journal.path().toStdString();
    } catch (const KestranoError &error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("无法打开打印记录")))
            << error.message().toStdString();
    }
}

namespace {

constexpr uid_t nobody = 65534;

bool plantLink(const QString &target, const QString &link)
{
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) ==
           0;
}

} // namespace

// Whatever stands where the journal or its WAL and shared memory go: a link
// (to a file anybody may read) is never written through, another user's file
// is never used, and what refuses says which file and why, every time, until
// it is mended.
TEST(PrintJournal, NeverWritesThroughALinkNorIntoAnotherUsersFile)
{
    ASSERT_EQ(::geteuid(), 0u) << "handing a file to another user needs root";
    const struct
    {
        const char *planted;
        bool link;
        const char *reason;
    } cases[] = {{"vantrel_print.db", true, "它是一个链接"},
                 {"vantrel_print.db-wal", true, "它是一个链接"},
                 {"vantrel_print.db-shm", true, "它是一个链接"},
                 {"vantrel_print.db", false, "它属于另一个用户"},
                 {"vantrel_print.db-wal", false, "它属于另一个用户"},
                 {"vantrel_print.db-shm", false, "它属于另一个用户"}};
    for (const auto &c : cases) {
        const QString planted = QString::fromLatin1(c.planted);
        SCOPED_TRACE(c.planted + std::string(c.link ? " a link" : " another user's"));
        const TempFolder folder;
        const TempFolder elsewhere;
        const QByteArray before = "a file anybody may read";
        elsewhere.write(QStringLiteral("target"), before);
        ::chmod(QFile::encodeName(elsewhere.file(QStringLiteral("target"))).constData(), 0644);
        if (c.link) {
            ASSERT_TRUE(plantLink(elsewhere.file(QStringLiteral("target")), folder.file(planted)));
        } else {
            folder.write(planted, QByteArray());
            ASSERT_EQ(::chown(QFile::encodeName(folder.file(planted)).constData(), nobody, nobody),
                      0);
        }
        for (int attempt = 0; attempt < 2; ++attempt) {
            try {
                PrintJournal journal(folder.path());
                ADD_FAILURE() << "opened " << journal.path().toStdString();
            } catch (const KestranoError &error) {
                const QString message = error.message();
                EXPECT_TRUE(message.startsWith(QStringLiteral("打印记录文件 ") +
                                               folder.file(planted) + QStringLiteral(" 不能使用")))
                    << message.toStdString();
                EXPECT_TRUE(message.contains(QString::fromUtf8(c.reason))) << message.toStdString();
            }
        }
        EXPECT_EQ(elsewhere.read(QStringLiteral("target")), before);
        EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::Files),
                  QStringList{QStringLiteral("target")});
        EXPECT_EQ(QSqlDatabase::connectionNames(), QStringList());
    }
}

// A journal made open to others (copied with the wrong mask, say) is the
// user's own: it and its companions are closed again, and it opens.
TEST(PrintJournal, ClosesItsOwnFilesToOthers)
{
    const TempFolder folder;
    PrintJournal(folder.path())
        .begin(receipt(QStringLiteral("6660000001 0"), QStringLiteral("王一")),
               QStringLiteral("PDF"));
    for (const char *name : {"vantrel_print.db", "vantrel_print.db-wal"}) {
        const QString path = folder.file(QString::fromLatin1(name));
        if (!QFile::exists(path))
            folder.write(QString::fromLatin1(name), QByteArray());
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0644), 0);
    }
    PrintJournal journal(folder.path());
    EXPECT_EQ(journal.rowCount(), 1);
    for (const char *name : {"vantrel_print.db", "vantrel_print.db-wal", "vantrel_print.db-shm"})
        EXPECT_EQ(modeOf(folder.file(QString::fromLatin1(name))), 0600u) << name;
}

// A link put in the journal's place after it was checked is still refused
// when SQLite opens the file.
TEST(JournalFiles, SQLiteRefusesALinkAtItsOwnOpen)
{
    const TempFolder folder;
    const TempFolder elsewhere;
    {
        PrintJournal journal(folder.path());
    } // loads the driver and SQLite
    elsewhere.write(QStringLiteral("target"), QByteArray());
    const QString link = folder.file(QStringLiteral("planted.db"));
    ASSERT_TRUE(plantLink(elsewhere.file(QStringLiteral("target")), link));
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("planted"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
        db.setDatabaseName(JournalFiles::noFollowName(link));
        EXPECT_FALSE(db.open());
        EXPECT_EQ(db.lastError().nativeErrorCode(), QStringLiteral("14")); // SQLITE_CANTOPEN
        db.setDatabaseName(
            JournalFiles::noFollowName(folder.file(QStringLiteral("plain 文件?#%.db"))));
        EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
        QSqlQuery(db).exec(QStringLiteral("CREATE TABLE t (x)"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("planted"));
    EXPECT_TRUE(folder.exists(QStringLiteral("plain 文件?#%.db")));
    EXPECT_EQ(elsewhere.read(QStringLiteral("target")), QByteArray());
}
