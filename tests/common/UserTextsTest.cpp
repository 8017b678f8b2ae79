#include "common/Messages.h"
#include "Strings.h"
#include "common/TextRules.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <cerrno>
#include <gtest/gtest.h>

// The window is Chinese, so is every sentence the agent reads in a box.
// English stays only for names (files, hosts, libraries, codes) and for
// texts that are no sentences (patterns, SQL, HTTP, PNR commands).

namespace {

// Three or more English words in a row, separated by single blanks: a
// sentence, as "Unable to read" or "it is not a regular file" are.
const QRegularExpression englishProse(QStringLiteral("[A-Za-z][a-z]+ [a-z]{2,} [a-z]{2,}"));
const QRegularExpression stringLiteral(QStringLiteral(R"re("((?:[^"\\\n]|\\.)*)")re"));

TEST(UserTexts, NoStringOfTheProgramIsEnglishProse)
{
    QStringList found;
    QDirIterator files(QStringLiteral(KESTRANO_SOURCE), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                       QDir::Files, QDirIterator::Subdirectories);
    int read = 0;
    while (files.hasNext()) {
        QFile file(files.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        ++read;
        int number = 0;
        for (const QByteArray &bytes : file.readAll().split('\n')) {
            ++number;
            const QString line = QString::fromUtf8(bytes);
            // Comments say why in English; they are no text of the program.
            if (trimmed(line).startsWith(u"//") || trimmed(line).startsWith(u'*'))
                continue;
            for (const QRegularExpressionMatch &literal : stringLiteral.globalMatch(line)) {
                if (englishProse.match(literal.captured(1)).hasMatch())
                    found.append(QStringLiteral("%1:%2: %3")
                                     .arg(file.fileName())
                                     .arg(number)
                                     .arg(literal.captured(1)));
            }
        }
    }
    EXPECT_GT(read, 100);
    EXPECT_EQ(found, QStringList());
}

// The reasons the system gives in English reach the agent in Chinese, and
// an unknown one still names its code.
TEST(UserTexts, SystemReasonsAreToldInChinese)
{
    for (int error : {ENOENT, EACCES, ENOSPC, EROFS, EISDIR, EIO, ELOOP, EMFILE, 9999}) {
        const QString reason = Messages::systemReason(error);
        EXPECT_TRUE(hasChineseCharacter(reason)) << error;
    }
    EXPECT_TRUE(Messages::systemReason(9999).contains(QStringLiteral("9999")));
    for (int code : {5, 8, 13, 26, 1}) {
        EXPECT_TRUE(hasChineseCharacter(Messages::databaseReason(code))) << code;
    }
}

// A server's error code is shown only as the five characters of 0-9 and
// A-Z that PostgreSQL's codes are; anything else it sends is not shown.
TEST(UserTexts, ServerCodesAreShownOnlyWhenWellFormed)
{
    EXPECT_EQ(Messages::postgresReason(QStringLiteral("XX000"), QString()),
              u8s("数据库错误（代码 XX000）"));
    for (const QString &code :
         {QStringLiteral("\x1b[2J"), QStringLiteral("42p01"), QStringLiteral("4200"),
          QStringLiteral("XX0000"), QStringLiteral("<b>1</b>")})
        EXPECT_EQ(Messages::postgresReason(code, QString()), u8s("数据库错误")) << code.toStdString();
}

} // namespace
