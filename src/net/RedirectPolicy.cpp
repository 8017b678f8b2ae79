#include "net/RedirectPolicy.h"

#include "common/Messages.h"

#include <QStringList>

namespace {

const QString http = QStringLiteral("http");
const QString https = QStringLiteral("https");

int portOf(const QUrl &url)
{
    return url.port(url.scheme() == https ? 443 : 80);
}

bool isPrivateIpv4(const QString &host)
{
    const QStringList parts = host.split(u'.');
    if (parts.size() != 4)
        return false;
    int octets[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool isNumber = false;
        octets[i] = parts[i].toInt(&isNumber);
        if (!isNumber || octets[i] < 0 || octets[i] > 255)
            return false;
    }
    return octets[0] == 0 || octets[0] == 10 || octets[0] == 127 ||
           (octets[0] == 172 && octets[1] >= 16 && octets[1] <= 31) ||
           (octets[0] == 192 && octets[1] == 168) || (octets[0] == 169 && octets[1] == 254) ||
           (octets[0] == 100 && octets[1] >= 64 && octets[1] <= 127); // carrier-grade NAT
}

// QUrl gives an IPv6 host without brackets, in lower case and compressed.
bool isPrivateIpv6(const QString &host)
{
    if (!host.contains(u':'))
        return false;
    if (host == QStringLiteral("::") || host == QStringLiteral("::1"))
        return true;
    const QString mapped = QStringLiteral("::ffff:");
    if (host.startsWith(mapped))
        return isPrivateIpv4(host.mid(mapped.size()));
    const QString first = host.section(u':', 0, 0);
    bool isNumber = false;
    const uint group = first.toUInt(&isNumber, 16);
    return isNumber && ((group & 0xFE00) == 0xFC00 || (group & 0xFFC0) == 0xFE80);
}

} // namespace

bool isLoopbackOrPrivateHost(const QString &host)
{
    const QString name = host.toLower();
    return name == QStringLiteral("localhost") || name.endsWith(QStringLiteral(".localhost")) ||
           isPrivateIpv4(name) || isPrivateIpv6(name);
}

RedirectPolicy::RedirectPolicy(const QUrl &server) : m_server(server), m_scheme(server.scheme()) {}

QString RedirectPolicy::refusal(const QUrl &target)
{
    const QString where = target.toString(QUrl::RemoveUserInfo);
    const QString scheme = target.scheme();
    if (scheme != http && scheme != https)
        return Messages::redirectNotHttp(where);
    if (m_scheme == https && scheme == http)
        return Messages::redirectToPlainHttp(where);
    if (target.host().compare(m_server.host(), Qt::CaseInsensitive) != 0) {
        if (isLoopbackOrPrivateHost(target.host()))
            return Messages::redirectToPrivateAddress(where);
        return Messages::redirectToAnotherHost(where);
    }
    const bool upgrade = m_server.scheme() == http && scheme == https;
    const int allowedPort = upgrade ? 443 : portOf(m_server);
    // A port the server was not asked on may be another service of its machine.
    if (portOf(target) != allowedPort && !(upgrade && portOf(target) == portOf(m_server)))
        return Messages::redirectToAnotherPort(where);
    m_scheme = scheme;
    return {};
}
