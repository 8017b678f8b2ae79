#pragma once

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QUuid>
#include <gtest/gtest.h>

// The shared register is tested against a real server: scripts/with-private-
// postgres runs the tests with a private PostgreSQL server, its URI in
// KESTRANO_TEST_REGISTER and a script that stops and starts it in
// KESTRANO_TEST_REGISTER_CONTROL. A test without it fails: the register is
// never taken as tested when it was not.

#define REQUIRE_PRIVATE_POSTGRES()                                                                 \
    if (qEnvironmentVariableIsEmpty("KESTRANO_TEST_REGISTER"))                                     \
    FAIL() << "no private PostgreSQL server: run through scripts/with-private-postgres"

// A database of its own on the private server for one test; its URI.
inline QString newRegisterDatabase()
{
    const QString base = qEnvironmentVariable("KESTRANO_TEST_REGISTER");
    const QString name =
        QStringLiteral("test_") + QUuid::createUuid().toString(QUuid::Id128).left(16);
    const QString connection = QStringLiteral("test-admin-") + name;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
        const QUrl url(base);
        db.setHostName(url.host());
        db.setPort(url.port());
        db.setUserName(url.userName());
        db.setDatabaseName(url.path().mid(1));
        if (!db.open() || !QSqlQuery(db).exec(QStringLiteral("CREATE DATABASE ") + name))
            ADD_FAILURE() << "cannot make a test database: " << db.lastError().text().toStdString();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    QString uri = base;
    uri.truncate(uri.lastIndexOf(u'/') + 1);
    return uri + name;
}

// "stop" or "start" the private server; true when done.
inline bool controlRegisterServer(const QString &action)
{
    return QProcess::execute(qEnvironmentVariable("KESTRANO_TEST_REGISTER_CONTROL"), {action}) == 0;
}

// A connection to a test database, for the test to look into it.
class RegisterDatabase
{
public:
    explicit RegisterDatabase(const QString &uri)
        : m_name(QStringLiteral("test-look-") + QUuid::createUuid().toString(QUuid::Id128))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
        const QUrl url(uri);
        db.setHostName(url.host());
        db.setPort(url.port());
        db.setUserName(url.userName());
        db.setDatabaseName(url.path().mid(1));
        EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
    }
    ~RegisterDatabase()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

    // The first column of every row the statement gives, as text.
    QStringList column(const QString &statement) const
    {
        QSqlQuery query(db());
        QStringList values;
        if (!query.exec(statement))
            ADD_FAILURE() << query.lastError().text().toStdString();
        while (query.next())
            values.append(query.value(0).toString());
        return values;
    }

private:
    QString m_name;
};
