#include "register/RegisterAddress.h"

#include "common/KestranoError.h"
#include "common/Messages.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QUrl>
#include <QUrlQuery>

std::optional<RegisterAddress> RegisterAddress::parse(const QString &uri)
{
    const QUrl url(uri.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != QLatin1String("postgresql") &&
                           url.scheme() != QLatin1String("postgres")))
        return std::nullopt;
    RegisterAddress address;
    address.host = url.host();
    address.port = url.port(5432);
    address.user = url.userName();
    address.password = url.password();
    address.database = url.path().mid(1);
    address.sslMode = QUrlQuery(url).queryItemValue(QStringLiteral("sslmode"));
    if (address.host.isEmpty() || address.database.isEmpty() ||
        address.database.contains(u'/') || address.port <= 0 ||
        !QRegularExpression(QStringLiteral("^[a-z-]*$")).match(address.sslMode).hasMatch())
        return std::nullopt;
    return address;
}

QString RegisterAddress::shown() const
{
    return QStringLiteral("%1:%2/%3").arg(host).arg(port).arg(database);
}

QString RegisterAddress::withoutUserInfo(const QString &uri)
{
    const qsizetype scheme = uri.indexOf(QLatin1String("://"));
    const qsizetype at = uri.lastIndexOf(u'@');
    const qsizetype from = scheme < 0 ? 0 : scheme + 3;
    if (at < from)
        return uri;
    return uri.left(from) + uri.mid(at + 1);
}

QSqlDatabase RegisterAddress::addConnection(const QString &name, int connectSeconds) const
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        throw KestranoError(Messages::registerDriverMissing(shown()));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    db.setHostName(host);
    db.setPort(port);
    db.setUserName(user);
    db.setPassword(password);
    db.setDatabaseName(database);
    // Notices ("already exists, skipping") are no news to anybody; a
    // statement the server does not answer in time ends with an error.
    QString options = QStringLiteral("connect_timeout=%1;application_name=kestrano;"
                                     "options='-c client_min_messages=warning"
                                     " -c statement_timeout=15000'")
                          .arg(connectSeconds);
    if (!sslMode.isEmpty())
        options += QStringLiteral(";sslmode=") + sslMode;
    db.setConnectOptions(options);
    return db;
}

void RegisterAddress::open(QSqlDatabase &db) const
{
    if (db.open())
        return;
    const QSqlError error = db.lastError();
    throw KestranoError(Messages::registerUnreachable(
        shown(), Messages::postgresReason(error.nativeErrorCode(), error.text())));
}
