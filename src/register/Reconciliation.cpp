#include "register/Reconciliation.h"

#include "common/CsvText.h"
#include "itinerary/SerialNumber.h"

#include <algorithm>

Reconciliation Reconciliation::ofRange(qint64 first, qint64 last, const std::vector<Use> &uses)
{
    Reconciliation account;
    account.scope = QStringLiteral("号段 %1–%2").arg(serialDigits(first), serialDigits(last));
    account.isRange = true;
    qint64 next = first; // the lowest number not yet accounted for
    for (const Use &use : uses) {
        if (use.number < next || use.number > last)
            continue;
        if (next < use.number)
            account.missing.push_back({next, use.number - 1});
        next = use.number + 1;
        (use.voided ? account.voided : account.printed).push_back(use.number);
    }
    account.unused = last - next + 1;
    return account;
}

const UsedNumber *Reconciliation::find(const std::vector<UsedNumber> &details, qint64 number)
{
    const auto found = std::lower_bound(
        details.begin(), details.end(), number,
        [](const UsedNumber &use, qint64 value) { return use.number < value; });
    return found != details.end() && found->number == number ? &*found : nullptr;
}

qint64 Reconciliation::missingCount() const
{
    qint64 count = 0;
    for (const Run &run : missing)
        count += run.count();
    return count;
}

QString Reconciliation::runNumbers(const Run &run)
{
    return run.first == run.last ? serialDigits(run.first)
                                 : serialDigits(run.first) + u'–' + serialDigits(run.last);
}

QString Reconciliation::runText(const Run &run)
{
    return run.first == run.last
               ? runNumbers(run)
               : QStringLiteral("%1（%2 张）").arg(runNumbers(run)).arg(run.count());
}

QString Reconciliation::missingState(const Run &run)
{
    return run.first == run.last ? QStringLiteral("缺号")
                                 : QStringLiteral("缺号（%1 张）").arg(run.count());
}

QStringList Reconciliation::runs(const std::vector<qint64> &numbers)
{
    std::vector<Run> consecutive;
    for (qint64 number : numbers) {
        if (!consecutive.empty() && consecutive.back().last + 1 == number)
            consecutive.back().last = number;
        else
            consecutive.push_back({number, number});
    }
    return runs(consecutive);
}

QStringList Reconciliation::runs(const std::vector<Run> &numbers)
{
    QStringList shown;
    for (const Run &run : numbers)
        shown.append(runText(run));
    return shown;
}

QByteArray Reconciliation::csv(const std::vector<UsedNumber> &details) const
{
    std::vector<QStringList> lines;
    lines.push_back({QStringLiteral("核销表"), scope});
    lines.push_back({QStringLiteral("已打印"), QString::number(printed.size())});
    lines.push_back({QStringLiteral("已作废"), QString::number(voided.size())});
    lines.push_back({QStringLiteral("缺号"), QString::number(missingCount())});
    lines.push_back({QStringLiteral("未用"), QString::number(unused)});
    lines.push_back({});
    lines.push_back({QStringLiteral("印刷序列"), QStringLiteral("状态"), QStringLiteral("时间"),
                     QStringLiteral("柜台"), QStringLiteral("旅客"), QStringLiteral("票号"),
                     QStringLiteral("合计"), QStringLiteral("作废原因")});
    for (const auto *numbers : {&printed, &voided}) {
        const QString state =
            numbers == &voided ? QStringLiteral("已作废") : QStringLiteral("已打印");
        for (qint64 number : *numbers) {
            const UsedNumber *use = find(details, number);
            if (!use) {
                lines.push_back({serialDigits(number), state});
                continue;
            }
            lines.push_back({serialDigits(number), state, use->time, use->desk, use->passenger,
                             use->ticketNumber, use->total, use->voidReason});
        }
    }
    for (const Run &run : missing)
        lines.push_back({runNumbers(run), missingState(run)});
    return csvFile(lines);
}
