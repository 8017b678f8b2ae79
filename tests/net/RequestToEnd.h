#pragma once

#include "common/KestranoError.h"
#include "net/HttpClient.h"

#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

// Runs one request of a client to its end in an event loop of its own, as a
// window's loop would. start starts it with the given done. A request that
// never ends fails the test after a minute instead of hanging it.
inline HttpOutcome outcomeOf(const std::function<void(HttpClient::Done)> &start)
{
    std::optional<HttpOutcome> outcome;
    QEventLoop loop;
    start([&outcome, &loop](const HttpOutcome &ended) {
        outcome = ended;
        loop.quit();
    });
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
    bound.start(60'000);
    if (!outcome)
        loop.exec();
    if (!outcome) {
        ADD_FAILURE() << "the request did not end";
        return {false, {}, QStringLiteral("no end")};
    }
    return *outcome;
}

// The answer of one request run to its end, or KestranoError with the
// client's description of its failure.
inline HttpAnswer answerOf(const std::function<void(HttpClient::Done)> &start)
{
    const HttpOutcome outcome = outcomeOf(start);
    if (!outcome.ok)
        throw KestranoError(outcome.failure);
    return outcome.answer;
}

inline HttpAnswer getNow(HttpClient &client, const QString &url)
{
    return answerOf([&](HttpClient::Done done) { client.get(url, std::move(done)); });
}

inline HttpAnswer postNow(HttpClient &client, const QString &url, const HttpForm &form)
{
    return answerOf([&](HttpClient::Done done) { client.post(url, form, std::move(done)); });
}
