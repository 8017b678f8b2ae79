#include "register/Register.h"

#include "common/KestranoError.h"
#include "common/Messages.h"
#include "common/TextRules.h"
#include "itinerary/SerialNumber.h"
#include "print/PrintJournal.h"
#include "register/RegisterSync.h"

#include <QAtomicInteger>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace {

QString newConnectionName()
{
    static QAtomicInteger<int> count;
    return QStringLiteral("register-window-%1").arg(count.fetchAndAddRelaxed(1));
}

} // namespace

Register::Register(JournalAccess journal, const QString &settingsFolder, const QString &desk,
                   const QString &registerUri, QObject *parent)
    : QObject(parent), m_journal(std::move(journal)), m_desk(desk), m_uri(registerUri.trimmed()),
      m_windowConnection(newConnectionName())
{
    if (!shared())
        return;
    m_address = RegisterAddress::parse(m_uri);
    if (!m_address) {
        m_reason = Messages::registerAddressInvalid(RegisterAddress::withoutUserInfo(m_uri));
        return;
    }
    m_thread = new QThread(this);
    m_thread->setObjectName(QStringLiteral("register"));
    m_sync = new RegisterSync(*m_address, settingsFolder, m_desk);
    m_sync->moveToThread(m_thread);
    connect(m_thread, &QThread::started, m_sync, &RegisterSync::start);
    connect(m_sync, &RegisterSync::stateChanged, this,
            [this](bool available, qint64 pending, const QString &reason) {
                const QString before = statusText();
                m_reported = true;
                m_available = available;
                m_pending = pending;
                m_reason = reason;
                if (statusText() != before)
                    Q_EMIT statusChanged(statusText());
                if (available && pending == 0)
                    Q_EMIT allSent();
            });
    connect(m_sync, &RegisterSync::claimAnswered, this,
            [this](quint64 ticket, int claim, const QString &serialNumber, const QString &time,
                   const QString &desk, bool voided) {
                std::optional<NumberUse> use;
                if (Claim(claim) == Claim::Taken)
                    use = NumberUse{serialNumber, time, desk, voided};
                answerClaim(ticket, Claim(claim), use);
            });
    connect(m_sync, &RegisterSync::rangesRead, this, [this](const RegisterStore::Bounds &bounds) {
        m_ranges = bounds;
        m_rangesKnown = true;
    });
    m_thread->start();
}

Register::~Register()
{
    if (m_thread) {
        // The connections are the thread's: closed there, then it ends.
        QMetaObject::invokeMethod(m_sync, &RegisterSync::stop, Qt::BlockingQueuedConnection);
        m_thread->quit();
        m_thread->wait();
        delete m_sync;
    }
    if (QSqlDatabase::contains(m_windowConnection)) {
        QSqlDatabase::database(m_windowConnection, false).close();
        QSqlDatabase::removeDatabase(m_windowConnection);
    }
}

QString Register::usedNumberQuestion(const NumberUse &use)
{
    // The time and the desk come from another desk, through the server.
    return QStringLiteral("印刷序列 %1 已于 %2 在 %3 %4。仍要打印吗？")
        .arg(foreignText(use.serialNumber, 16), foreignText(use.time, 32),
             foreignText(use.desk, 64),
             use.voided ? QStringLiteral("作废") : QStringLiteral("打印"));
}

QString Register::outsideStockQuestion(const QString &serialNumber, const StockGap &gap)
{
    QString where;
    if (gap.after >= 0 && gap.before >= 0)
        where = QStringLiteral("（它在号段 …%1 之后、%2… 之前）")
                    .arg(serialDigits(gap.after), serialDigits(gap.before));
    else if (gap.after >= 0)
        where = QStringLiteral("（它在最后一个号段 …%1 之后）").arg(serialDigits(gap.after));
    else
        where = QStringLiteral("（它在第一个号段 %1… 之前）").arg(serialDigits(gap.before));
    return QStringLiteral("印刷序列 %1 不在任何已领用的号段内%2。仍要打印吗？"
                          "（本次运行中，这一段号码不再提醒）")
        .arg(serialNumber, where);
}

QString Register::withoutNumberQuestion()
{
    return QStringLiteral("印刷序列为空，仍要打印吗？");
}

QString Register::name() const
{
    if (!shared())
        return m_journal().path();
    return m_address ? m_address->shown() : RegisterAddress::withoutUserInfo(m_uri);
}

RegisterStore Register::localStore()
{
    PrintJournal &journal = m_journal();
    RegisterStore store(journal.database(), RegisterStore::Kind::Local, journal.path());
    if (!m_localPrepared) {
        store.prepare();
        m_localPrepared = true;
    }
    return store;
}

RegisterStore Register::store()
{
    if (!shared())
        return localStore();
    if (!m_address)
        throw KestranoError(m_reason);
    QSqlDatabase db = QSqlDatabase::contains(m_windowConnection)
                          ? QSqlDatabase::database(m_windowConnection, false)
                          : m_address->addConnection(m_windowConnection, windowConnectSeconds);
    // A connection the server dropped (a restart) is made again.
    if (db.isOpen() && !QSqlQuery(db).exec(QStringLiteral("SELECT 1")))
        db.close();
    if (!db.isOpen()) {
        m_address->open(db);
        RegisterStore(db, RegisterStore::Kind::Shared, m_address->shown()).prepare();
    }
    return RegisterStore(db, RegisterStore::Kind::Shared, m_address->shown());
}

void Register::rangesChanged()
{
    if (shared()) {
        if (m_sync)
            QMetaObject::invokeMethod(m_sync, &RegisterSync::sendNow, Qt::QueuedConnection);
        // Read here too, so that the next print knows them at once.
        try {
            m_ranges = store().rangeBounds();
            m_rangesKnown = true;
        } catch (const KestranoError &) {
            // The thread reads them once the server answers.
        }
        return;
    }
    m_rangesKnown = false;
}

QString Register::statusText() const
{
    if (!shared() || (m_address && (!m_reported || m_available)))
        return QString();
    return QStringLiteral("登记服务器不可用，%1 条待上传").arg(m_pending);
}

std::optional<NumberUse> Register::knownUse(qint64 number)
{
    return localStore().lastUse(number);
}

const RegisterStore::Bounds &Register::rangeBounds()
{
    if (!shared() && !m_rangesKnown) {
        m_ranges = localStore().rangeBounds();
        m_rangesKnown = true;
    }
    return m_ranges;
}

bool Register::stockRecorded()
{
    return !rangeBounds().empty();
}

std::optional<StockGap> Register::outsideStock(qint64 number)
{
    // No range received at all: the agency does not keep its stock here.
    if (rangeBounds().empty())
        return std::nullopt;
    const auto above = std::upper_bound(
        m_ranges.begin(), m_ranges.end(), number,
        [](qint64 value, const std::pair<qint64, qint64> &range) { return value < range.first; });
    if (above != m_ranges.begin() && std::prev(above)->second >= number)
        return std::nullopt;
    StockGap gap;
    gap.after = above == m_ranges.begin() ? -1 : std::prev(above)->second;
    gap.before = above == m_ranges.end() ? -1 : above->first;
    return gap;
}

void Register::claim(qint64 number, const QString &serialNumber, const QString &documentName,
                     ClaimAnswer answer)
{
    if (!shared()) {
        answer(Claim::Granted, std::nullopt);
        return;
    }
    if (!m_sync) {
        answer(Claim::Unavailable, std::nullopt);
        return;
    }
    const quint64 ticket = m_nextTicket++;
    m_claims.emplace(ticket, std::move(answer));
    QMetaObject::invokeMethod(m_sync, [sync = m_sync, ticket, number, serialNumber, documentName] {
        sync->claim(ticket, number, serialNumber, documentName);
    }, Qt::QueuedConnection);
    // A server that does not answer in time is away for this print.
    QTimer::singleShot(m_claimTimeLimit, this,
                       [this, ticket] { answerClaim(ticket, Claim::Unavailable, std::nullopt); });
}

void Register::answerClaim(quint64 ticket, Claim claim, const std::optional<NumberUse> &use)
{
    const auto waiting = m_claims.find(ticket);
    if (waiting == m_claims.end())
        return; // answered already, or given up on
    ClaimAnswer answer = std::move(waiting->second);
    m_claims.erase(waiting);
    answer(claim, use);
}

void Register::journalChanged()
{
    if (m_sync)
        QMetaObject::invokeMethod(m_sync, &RegisterSync::sendNow, Qt::QueuedConnection);
}
