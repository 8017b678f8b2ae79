#pragma once

#include <QString>
#include <QUrl>

// Where a redirect may take a request: only back to the server it was sent
// to, by the same host and port. A page of that server could otherwise send
// the form with the passenger's name on to another host, to a service on the
// agent's own machine or network, or in clear text over plain HTTP. The one
// change allowed is the move from http to https on the same host.
class RedirectPolicy
{
public:
    // server: the address the request was sent to.
    explicit RedirectPolicy(const QUrl &server);

    // Empty when the request may go on to target; otherwise why it may not,
    // as a message for the agent. A hop allowed becomes the request's current
    // scheme, so that an https hop cannot be followed by an http one.
    QString refusal(const QUrl &target);

private:
    QUrl m_server;
    QString m_scheme; // of the hop last followed
};

// Whether a host names the agent's own machine or a private network:
// "localhost" and its subdomains, loopback, private, link-local and
// unspecified IPv4 and IPv6 addresses.
bool isLoopbackOrPrivateHost(const QString &host);
