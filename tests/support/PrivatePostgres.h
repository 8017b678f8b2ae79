#pragma once

#include "register/RegisterAddress.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
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

// "stop" or "start" the private server; true when done.
inline bool controlRegisterServer(const QString &action)
{
    return QProcess::execute(qEnvironmentVariable("KESTRANO_TEST_REGISTER_CONTROL"), {action}) == 0;
}

// A connection of the test's own to a database of the private server, to
// look into it, as the program connects.
class RegisterDatabase
{
public:
    explicit RegisterDatabase(const QString &uri)
        : m_name(QStringLiteral("test-look-") + QUuid::createUuid().toString(QUuid::Id128))
    {
        const std::optional<RegisterAddress> address = RegisterAddress::parse(uri);
        if (!address) {
            ADD_FAILURE() << "not a register address: " << uri.toStdString();
            return;
        }
        QSqlDatabase db = address->addConnection(m_name, 10);
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

// A database of its own on the private server for one test; its URI.
inline QString newRegisterDatabase()
{
    const QString base = qEnvironmentVariable("KESTRANO_TEST_REGISTER");
    const QString name =
        QStringLiteral("test_") + QUuid::createUuid().toString(QUuid::Id128).left(16);
    RegisterDatabase(base).column(QStringLiteral("CREATE DATABASE ") + name);
    return base.left(base.lastIndexOf(u'/') + 1) + name;
}
