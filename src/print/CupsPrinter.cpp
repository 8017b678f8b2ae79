#include "print/CupsPrinter.h"

#include "common/KestranoError.h"
#include "common/Messages.h"
#include "print/CupsLibrary.h"

#include <memory>

namespace {

// Loaded at the first print, not at start.
const CupsLibrary &cups()
{
    return CupsLibrary::instance();
}

struct IppDeleter
{
    void operator()(ipp_t *ipp) const { cups().ippDelete(ipp); }
};
using IppMessage = std::unique_ptr<ipp_t, IppDeleter>;

// The last request's failure in the user's words: CUPS's own descriptions
// are English.
QString lastError()
{
    switch (const ipp_status_t status = cups().cupsLastError()) {
    case IPP_STATUS_ERROR_NOT_FOUND:
    case IPP_STATUS_ERROR_GONE:
        return Messages::printerOrJobNotFound();
    case IPP_STATUS_ERROR_FORBIDDEN:
    case IPP_STATUS_ERROR_NOT_AUTHENTICATED:
    case IPP_STATUS_ERROR_NOT_AUTHORIZED:
    case IPP_STATUS_ERROR_NOT_POSSIBLE:
        return Messages::printingNotAllowed();
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
    case IPP_STATUS_ERROR_INTERNAL:
        return Messages::printSystemUnreachable();
    default:
        return Messages::printSystemError(int(status));
    }
}

bool answered()
{
    return cups().cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE;
}

QString text(ipp_t *answer, const char *name)
{
    ipp_attribute_t *attribute = cups().ippFindAttribute(answer, name, IPP_TAG_ZERO);
    return attribute ? QString::fromUtf8(cups().ippGetString(attribute, 0, nullptr)) : QString();
}

int enumValue(ipp_t *answer, const char *name)
{
    ipp_attribute_t *attribute = cups().ippFindAttribute(answer, name, IPP_TAG_ENUM);
    return attribute ? cups().ippGetInteger(attribute, 0) : 0;
}

// "reason" alone, or "reason（detail）" when the print system says more.
QString withDetail(const QString &reason, const QString &detail)
{
    const QString more = detail.trimmed();
    return more.isEmpty() ? reason : reason + QStringLiteral("（") + more + QStringLiteral("）");
}

IppMessage request(ipp_op_t operation, const char *uriName, const QByteArray &resource)
{
    const CupsLibrary &lib = cups();
    IppMessage message(lib.ippNewRequest(operation));
    char uri[HTTP_MAX_URI];
    lib.httpAssembleURI(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost",
                        lib.ippPort(), resource.constData());
    lib.ippAddString(message.get(), IPP_TAG_OPERATION, IPP_TAG_URI, uriName, nullptr, uri);
    lib.ippAddString(message.get(), IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name",
                     nullptr, lib.cupsUser());
    return message;
}

struct PrinterState
{
    bool known = false;
    bool stopped = false;
    bool accepting = true;
    QString message;
};

PrinterState printerState(const QString &name)
{
    IppMessage ask = request(IPP_OP_GET_PRINTER_ATTRIBUTES, "printer-uri",
                             QByteArrayLiteral("/printers/") + name.toUtf8());
    static const char *const wanted[] = {"printer-state", "printer-state-message",
                                         "printer-is-accepting-jobs"};
    cups().ippAddStrings(ask.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                         int(std::size(wanted)), nullptr, wanted);
    const IppMessage answer(cups().cupsDoRequest(CUPS_HTTP_DEFAULT, ask.release(), "/"));
    PrinterState state;
    if (!answer || !answered())
        return state;
    state.known = true;
    state.stopped = enumValue(answer.get(), "printer-state") == IPP_PSTATE_STOPPED;
    if (ipp_attribute_t *accepting =
            cups().ippFindAttribute(answer.get(), "printer-is-accepting-jobs", IPP_TAG_BOOLEAN))
        state.accepting = cups().ippGetBoolean(accepting, 0);
    state.message = text(answer.get(), "printer-state-message");
    return state;
}

QString stoppedReason(const PrinterState &printer)
{
    return withDetail(QStringLiteral("打印机已暂停"), printer.message);
}

} // namespace

QString CupsPrinter::defaultPrinter()
{
    const CupsLibrary &lib = cups();
    cups_dest_t *destination = lib.cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr);
    if (!destination)
        return QString();
    const QString name = QString::fromUtf8(destination->name);
    lib.cupsFreeDests(1, destination);
    return name;
}

int CupsPrinter::submitPdf(const QByteArray &pdf, const QString &title,
                           const QString &documentName) const
{
    const PrinterState printer = printerState(m_name);
    if (!printer.known)
        throw KestranoError(lastError());
    if (printer.stopped)
        throw KestranoError(stoppedReason(printer));
    if (!printer.accepting)
        throw KestranoError(withDetail(QStringLiteral("打印机不接受作业"), printer.message));

    // One Print-Job request carries the job and its document: cupsCreateJob
    // would first look the destination up and copy every attribute the
    // printer has (the largest answer the scheduler gives), then take two
    // more requests to create the job and send the document.
    const QByteArray resource = QByteArrayLiteral("/printers/") + m_name.toUtf8();
    IppMessage job = request(IPP_OP_PRINT_JOB, "printer-uri", resource);
    const QByteArray jobTitle = title.toUtf8();
    const QByteArray document = documentName.isEmpty() ? jobTitle : documentName.toUtf8();
    cups().ippAddString(job.get(), IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr,
                        jobTitle.constData());
    cups().ippAddString(job.get(), IPP_TAG_OPERATION, IPP_TAG_NAME, "document-name", nullptr,
                        document.constData());
    cups().ippAddString(job.get(), IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr,
                        CUPS_FORMAT_PDF);
    cups_option_t *options = nullptr;
    int optionCount = 0;
    // The page is drawn at its true size: any scaling or fitting moves every
    // value off its box on the stock.
    for (const auto &[option, value] :
         {std::pair{"print-scaling", "none"}, std::pair{"fit-to-page", "false"},
          std::pair{"copies", "1"}, std::pair{"sides", "one-sided"}})
        optionCount = cups().cupsAddOption(option, value, optionCount, &options);
    cups().cupsEncodeOptions2(job.get(), optionCount, options, IPP_TAG_JOB);
    cups().cupsFreeOptions(optionCount, options);

    // The length is the whole body: the request, then the document.
    http_status_t sending =
        cups().cupsSendRequest(CUPS_HTTP_DEFAULT, job.get(), resource.constData(),
                               cups().ippLength(job.get()) + size_t(pdf.size()));
    constexpr qsizetype chunk = 64 * 1024;
    for (qsizetype at = 0; sending == HTTP_STATUS_CONTINUE && at < pdf.size(); at += chunk)
        sending = cups().cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.constData() + at,
                                              size_t(std::min(chunk, pdf.size() - at)));
    // The scheduler answers even a request it stopped reading: its answer
    // says why. It makes the job only once the whole request is in, so a
    // request that fails leaves no job to withdraw.
    const IppMessage answer(cups().cupsGetResponse(CUPS_HTTP_DEFAULT, resource.constData()));
    ipp_attribute_t *jobId =
        answer ? cups().ippFindAttribute(answer.get(), "job-id", IPP_TAG_INTEGER) : nullptr;
    if (!answered())
        throw KestranoError(lastError());
    if (!answer) // the last status is an earlier request's: the transfer's own says more
        throw KestranoError(Messages::printSystemHttpError(int(sending)));
    if (!jobId || cups().ippGetInteger(jobId, 0) <= 0)
        throw KestranoError(Messages::noJobNumber());
    return cups().ippGetInteger(jobId, 0);
}

CupsPrinter::FoundJob CupsPrinter::findJob(const QString &documentName) const
{
    using Match = FoundJob::Match;
    IppMessage ask =
        request(IPP_OP_GET_JOBS, "printer-uri", QByteArrayLiteral("/printers/") + m_name.toUtf8());
    cups().ippAddString(ask.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr,
                        "all");
    cups().ippAddBoolean(ask.get(), IPP_TAG_OPERATION, "my-jobs", 1);
    static const char *const wanted[] = {"job-id", "document-name-supplied",
                                         "job-originating-user-name"};
    cups().ippAddStrings(ask.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                         int(std::size(wanted)), nullptr, wanted);
    const IppMessage answer(cups().cupsDoRequest(CUPS_HTTP_DEFAULT, ask.release(), "/"));
    if (cups().cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND)
        return {Match::None, 0}; // no such printer, or no job at all
    if (!answer || !answered())
        return {Match::NoAnswer, 0};
    const QByteArray wantedName = documentName.toUtf8();
    // The scheduler keeps to "my-jobs" only as its policy says: every job's
    // owner is compared all the same.
    const QByteArray user = cups().cupsUser();
    FoundJob found{Match::None, 0};
    int jobId = 0;
    bool named = false;
    bool ours = false;
    // One group of attributes per job; a group ends where the next begins.
    const auto endOfJob = [&] {
        if (named && ours && jobId > 0)
            found = {found.match == Match::None ? Match::One : Match::Several, jobId};
        jobId = 0;
        named = false;
        ours = false;
    };
    for (ipp_attribute_t *attribute = cups().ippFirstAttribute(answer.get()); attribute;
         attribute = cups().ippNextAttribute(answer.get())) {
        const char *name = cups().ippGetName(attribute);
        if (!name) {
            endOfJob();
            continue;
        }
        if (cups().ippGetGroupTag(attribute) != IPP_TAG_JOB)
            continue;
        if (qstrcmp(name, "job-id") == 0)
            jobId = cups().ippGetInteger(attribute, 0);
        else if (qstrcmp(name, "document-name-supplied") == 0)
            named = wantedName == cups().ippGetString(attribute, 0, nullptr);
        else if (qstrcmp(name, "job-originating-user-name") == 0)
            ours = user == cups().ippGetString(attribute, 0, nullptr);
    }
    endOfJob();
    if (found.match == Match::Several)
        found.jobId = 0;
    return found;
}

JobStatus CupsPrinter::status(int jobId) const
{
    using State = JobStatus::State;
    IppMessage ask = request(IPP_OP_GET_JOB_ATTRIBUTES, "job-uri",
                             QByteArrayLiteral("/jobs/") + QByteArray::number(jobId));
    static const char *const wanted[] = {"job-state", "job-state-reasons",
                                         "job-printer-state-message"};
    cups().ippAddStrings(ask.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                         int(std::size(wanted)), nullptr, wanted);
    const IppMessage answer(cups().cupsDoRequest(CUPS_HTTP_DEFAULT, ask.release(), "/"));
    if (cups().cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND)
        return {State::Failed, QStringLiteral("打印系统中没有这个作业")};
    if (!answer || !answered())
        return {State::Unreachable, lastError()};

    const QString detail = text(answer.get(), "job-printer-state-message");
    switch (enumValue(answer.get(), "job-state")) {
    case IPP_JSTATE_COMPLETED:
        return {State::Printed, QString()};
    case IPP_JSTATE_CANCELED:
        return {State::Cancelled, QStringLiteral("作业已被取消")};
    case IPP_JSTATE_ABORTED:
        return {State::Failed, withDetail(QStringLiteral("作业已中止"), detail)};
    case IPP_JSTATE_STOPPED:
        return {State::Failed, withDetail(QStringLiteral("作业已停止"), detail)};
    default:
        break;
    }
    const PrinterState printer = printerState(m_name);
    if (printer.known && printer.stopped)
        return {State::Failed, stoppedReason(printer)};
    return {State::Waiting, QString()};
}

void CupsPrinter::cancel(int jobId) const
{
    cups().cupsCancelJob2(CUPS_HTTP_DEFAULT, m_name.toUtf8().constData(), jobId, 0);
}
