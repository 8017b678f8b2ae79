#include "PrivatePostgres.h"
#include "TempFolder.h"
#include "print/PrintJournal.h"
#include "register/RegisterStore.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

// "kestrano --export-register FILE.csv", run as the program itself from a
// program folder of the test's (its settings file beside it), without a
// display.

namespace {

struct CommandRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

class ProgramFolder
{
public:
    ProgramFolder()
    {
        m_program = m_folder.file(QStringLiteral("kestrano"));
        EXPECT_TRUE(QFile::copy(QStringLiteral(KESTRANO_PROGRAM), m_program));
    }

    void setRegister(const QString &uri)
    {
        m_folder.write(QStringLiteral("vantrel_cof.ini"),
                       "[COF]\r\nregister=" + uri.toUtf8() + "\r\ndesk=desk-1\r\n");
    }

    CommandRun exportTo(const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process.setProcessEnvironment(environment);
        process.start(m_program, QStringList{QStringLiteral("--export-register")} + arguments);
        CommandRun run;
        if (!process.waitForFinished(60000))
            return run;
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    TempFolder m_folder;
    QString m_program;
};

const QString header = QStringLiteral("印刷序列,时间,柜台,旅客,票号,合计,结果,作废原因");

QStringList linesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

TEST(ExportCommand, WritesTheJournalWhenNoServerIsSet)
{
    ProgramFolder program;
    TempFolder out;
    const QString csv = out.file(QStringLiteral("登记 表.csv"));

    // Nothing ever printed: an empty register, and no journal made for it.
    CommandRun run = program.exportTo({csv});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(linesOf(csv), QStringList{header});
    EXPECT_FALSE(program.m_folder.exists(PrintJournal::fileName()));

    {
        PrintJournal journal(program.m_folder.path());
        journal.setDesk(QStringLiteral("desk-1"));
        ReceiptRecord record;
        record.serialNumber = QStringLiteral("1234500001 5");
        record.passenger = QStringLiteral("=HYPERLINK(\"x\")");
        record.ticketNumber = QStringLiteral("781-2345678901");
        record.total = QStringLiteral("1250.00");
        journal.finish(journal.begin(record, QStringLiteral("PDF")), PrintJournal::Outcome::Printed);
        record.serialNumber = QStringLiteral("1234500002 6");
        record.passenger = QStringLiteral("李四");
        const qint64 second = journal.begin(record, QStringLiteral("PDF"));
        journal.finish(second, PrintJournal::Outcome::Printed);
        journal.voidRow(second, QStringLiteral("卡纸, 重打"));
    }
    run = program.exportTo({csv});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.trimmed(), QStringLiteral("已导出 2 条记录到 %1").arg(csv));
    const QStringList lines = linesOf(csv);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("1234500001 5,")));
    EXPECT_TRUE(lines[1].contains(QStringLiteral(",desk-1,\"'=HYPERLINK(\"\"x\"\")\",781-2345678901,1250.00,已打印,")))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral(",李四,781-2345678901,1250.00,已作废,\"卡纸, 重打\"")))
        << lines[2].toStdString();
}

TEST(ExportCommand, WritesTheServersRegisterWhenOneIsSet)
{
    REQUIRE_PRIVATE_POSTGRES();
    const QString uri = newRegisterDatabase();
    {
        RegisterDatabase server(uri);
        RegisterStore(server.db(), RegisterStore::Kind::Shared, uri).prepare();
        server.column(QStringLiteral(
            "INSERT INTO register_receipts (entry_key, serial, serial_number, printed_at, desk,"
            " passenger, outcome) VALUES ('a', 1234500001, '1234500001 5', '2026-12-01 09:00:00',"
            " '柜台A', '张三', 'printed'), ('b', 1234500002, '1234500002 6', '2026-12-01 09:05:00',"
            " '柜台B', '李四', 'failed') RETURNING 1"));
    }
    ProgramFolder program;
    program.setRegister(uri);
    TempFolder out;
    const QString csv = out.file(QStringLiteral("register.csv"));
    const CommandRun run = program.exportTo({csv});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(linesOf(csv),
              (QStringList{header,
                           QStringLiteral("1234500001 5,2026-12-01 09:00:00,柜台A,张三,,,已打印,"),
                           QStringLiteral("1234500002 6,2026-12-01 09:05:00,柜台B,李四,,,失败,")}));
}

// Every failure: exit 1, the reason in Chinese on standard error, no file.
TEST(ExportCommand, FailsWithTheReasonInChinese)
{
    TempFolder out;
    const struct
    {
        const char *what;
        QString registerUri; // empty: none set
        QStringList arguments;
        QString message;
    } cases[] = {
        {"no file named", QString(), {}, QStringLiteral("用法：kestrano --export-register 文件.csv")},
        {"a folder that is not there", QString(),
         {out.file(QStringLiteral("missing/register.csv"))},
         QStringLiteral("无法导出到 %1：").arg(out.file(QStringLiteral("missing/register.csv")))},
        {"no server on the port", QStringLiteral("postgresql://postgres@127.0.0.1:1/kestrano"),
         {out.file(QStringLiteral("a.csv"))},
         QStringLiteral("无法连接登记服务器 127.0.0.1:1/kestrano：服务器拒绝连接")},
        {"no such address", QStringLiteral("mysql://127.0.0.1/kestrano"),
         {out.file(QStringLiteral("b.csv"))},
         QStringLiteral("登记服务器地址“mysql://127.0.0.1/kestrano”不对")},
        // A password with "#" and "/" not percent-encoded: the address is
        // named without its user and password.
        {"no such address, its password never shown",
         QStringLiteral("postgresql://desk1:pa#ss/w@rd@127.0.0.1:1/kestrano"),
         {out.file(QStringLiteral("b.csv"))},
         QStringLiteral("登记服务器地址“postgresql://127.0.0.1:1/kestrano”不对")},
        // A device (or a folder, or a pipe) is never replaced by a file.
        {"a device", QString(), {QStringLiteral("/dev/null")},
         QStringLiteral("无法导出到 /dev/null：它不是普通文件")},
        {"a folder", QString(), {out.path()},
         QStringLiteral("无法导出到 %1：它不是普通文件").arg(out.path())},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ProgramFolder program;
        if (!c.registerUri.isEmpty())
            program.setRegister(c.registerUri);
        const CommandRun run = program.exportTo(c.arguments);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.startsWith(c.message)) << run.err.toStdString();
        EXPECT_FALSE(run.err.contains(QStringLiteral("pa#ss"))) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_FALSE(out.exists(QStringLiteral("a.csv")));
        EXPECT_FALSE(out.exists(QStringLiteral("b.csv")));
    }
}
