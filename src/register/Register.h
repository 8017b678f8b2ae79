#pragma once

#include "print/NumberRegister.h"
#include "register/RegisterAddress.h"
#include "register/RegisterStore.h"

#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <vector>

class PrintJournal;
class QThread;
class RegisterSync;

// The register of receipt numbers as the desk's windows and its prints see
// it. Without the setting "register" it is the desk's own journal; with it,
// the agency's PostgreSQL database, which every desk fills from its journal
// through a RegisterSync on a thread of its own. Asking about a number never
// waits for the server: this desk's own uses and the received ranges are
// known here, and a claim on the server is answered within claimTimeLimit.
class Register : public QObject, public NumberRegister
{
    Q_OBJECT

public:
    // The journal of the print service, opened when first needed.
    using JournalAccess = std::function<PrintJournal &()>;
    static constexpr std::chrono::milliseconds defaultClaimTimeLimit{3000};
    // Connecting from the windows (the stock window, the reconciliation).
    static constexpr int windowConnectSeconds = 3;

    // registerUri: the setting "register"; empty for the desk's own journal.
    Register(JournalAccess journal, const QString &settingsFolder, const QString &desk,
             const QString &registerUri, QObject *parent = nullptr);
    ~Register() override;

    // The questions asked before a receipt takes such a number.
    static QString usedNumberQuestion(const NumberUse &use);
    static QString outsideStockQuestion(const QString &serialNumber, const StockGap &gap);
    static QString withoutNumberQuestion();

    bool shared() const { return !m_uri.isEmpty(); }
    const QString &desk() const { return m_desk; }
    // "host:port/dbname", or the journal's file.
    QString name() const;

    // The tables the windows read and write: the server's, on a connection
    // of the window's own (opened now, giving up after a few seconds), or
    // the journal's. Raises KestranoError when they cannot be reached.
    RegisterStore store();
    // The received ranges have changed at this desk.
    void rangesChanged();

    // "登记服务器不可用，N 条待上传" while the server is away; empty otherwise.
    QString statusText() const;
    // The server took the last request.
    bool serverAvailable() const { return m_available; }
    // Why the server is away, for the status line's tip.
    const QString &unavailableReason() const { return m_reason; }
    void setClaimTimeLimit(std::chrono::milliseconds limit) { m_claimTimeLimit = limit; }

    std::optional<NumberUse> knownUse(qint64 number) override;
    std::optional<StockGap> outsideStock(qint64 number) override;
    bool stockRecorded() override;
    void claim(qint64 number, const QString &serialNumber, const QString &documentName,
               ClaimAnswer answer) override;
    void journalChanged() override;

Q_SIGNALS:
    void statusChanged(const QString &text);
    // The server has taken every row the journal had for it.
    void allSent();

private:
    RegisterStore localStore();
    // The received ranges as the print check knows them.
    const RegisterStore::Bounds &rangeBounds();
    void answerClaim(quint64 ticket, Claim claim, const std::optional<NumberUse> &use);

    JournalAccess m_journal;
    QString m_desk;
    QString m_uri;
    std::optional<RegisterAddress> m_address;
    QString m_windowConnection;
    bool m_localPrepared = false;

    QThread *m_thread = nullptr;
    RegisterSync *m_sync = nullptr;
    bool m_reported = false; // the thread has told how the server is
    bool m_available = false;
    qint64 m_pending = 0;
    QString m_reason;

    std::map<quint64, ClaimAnswer> m_claims;
    quint64 m_nextTicket = 1;
    std::chrono::milliseconds m_claimTimeLimit = defaultClaimTimeLimit;

    // Received ranges, first and last, in number order; known once read.
    RegisterStore::Bounds m_ranges;
    bool m_rangesKnown = false;
};
