#include "common/KestranoError.h"
#include "html/HtmlParser.h"
#include "html/PageLimits.h"
#include "itinerary/ItineraryFields.h"
#include "online/ResultPage.h"

#include <QFile>
#include <QStringDecoder>
#include <benchmark/benchmark.h>
#include <string>

// What the extraction costs on a result page of about 100 KB: the four-segment
// sample page with the service's notices, scripts and links around it, the
// size that its real answers come in.

namespace {

QString resultPage()
{
    QFile file(QStringLiteral(KESTRANO_FIXTURES "/online/four-segments-gbk.html"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("four-segments-gbk.html is missing");
    QString page = QStringDecoder("GB18030").decode(file.readAll());

    QString notices = QStringLiteral(
        "<script type=\"text/javascript\">\nfunction toggle(id) {\n"
        "  var e = document.getElementById(id);\n"
        "  e.style.display = e.style.display == 'none' ? '' : 'none';\n}\n</script>\n"
        "<table class=\"notices\" width=\"980\" align=\"center\">\n");
    qsizetype bytes = page.toUtf8().size() + notices.toUtf8().size();
    for (int row = 1; bytes < 100 * 1024; ++row) {
        const QString notice =
            QStringLiteral(
                "<tr><td class=\"no\">%1</td><td><span class=\"notice\">旅客须知：电子客票"
                "行程单是旅客购买国内航空运输电子客票的付款凭证和报销凭证，不作为机场"
                "办理乘机手续和安全检查的必要凭证使用。</span></td><td><a href=\"/tsky/help"
                "?item=%1\" onclick=\"toggle('n%1'); return false;\">详情</a>"
                "<div id=\"n%1\" style=\"display:none\">请妥善保管&nbsp;遗失不补</div></td>"
                "</tr>\n")
                .arg(row);
        notices += notice;
        bytes += notice.toUtf8().size();
    }
    notices += QStringLiteral("</table>\n");
    page.insert(page.indexOf(QStringLiteral("</body>")), notices);
    return page;
}

void extractResultPage(benchmark::State &state)
{
    const QString page = resultPage();
    ItineraryFields fields;
    for (auto _ : state) {
        benchmark::DoNotOptimize(parseResultPage(fields, page, QDate(2016, 12, 20)));
        benchmark::DoNotOptimize(fields.text(QStringLiteral("edtFlight4")));
    }
    state.counters["page_bytes"] = double(page.toUtf8().size());
}
BENCHMARK(extractResultPage)->Unit(benchmark::kMillisecond)->Repetitions(9);

void readResultPage(benchmark::State &state)
{
    const QString page = resultPage();
    for (auto _ : state) {
        HtmlParser parser;
        parser.setHTML(page);
        benchmark::DoNotOptimize(parser.webElements().elementCount());
    }
}
BENCHMARK(readResultPage)->Unit(benchmark::kMillisecond)->Repetitions(9);

void checkResultPageLimits(benchmark::State &state)
{
    const QByteArray page = resultPage().toUtf8();
    for (auto _ : state)
        benchmark::DoNotOptimize(PageLimits::checkedPage(page));
}
BENCHMARK(checkResultPageLimits)->Unit(benchmark::kMicrosecond)->Repetitions(9);

// Pages built to stall a parser, each read (its nesting cut where libxml2
// stops nesting) or refused, whole: from the text to the element list.
QString hostilePage(const std::string &kind)
{
    if (kind == "nested100000")
        return QStringLiteral("<div>").repeated(100000);
    if (kind == "attributes100000") {
        QString page = QStringLiteral("<div ");
        for (int i = 0; i < 100000; ++i)
            page += QStringLiteral("a%1=1 ").arg(i);
        return page + QStringLiteral(">x</div>");
    }
    if (kind == "bold4MiB")
        return QStringLiteral("<b>").repeated(4 * 1024 * 1024 / 3);
    if (kind == "commentEndThenDivs")
        return QStringLiteral("<!-- --!>") + QStringLiteral("<div>").repeated(100000);
    qFatal("no such page");
}

void readHostilePage(benchmark::State &state, const std::string &kind)
{
    const QString page = hostilePage(kind);
    int elements = 0;
    bool refused = false;
    for (auto _ : state) {
        HtmlParser parser;
        try {
            parser.setHTML(page);
            elements = parser.webElements().elementCount();
        } catch (const KestranoError &) {
            refused = true;
        }
    }
    state.counters["page_bytes"] = double(page.toUtf8().size());
    state.counters["elements"] = elements;
    state.counters["refused"] = refused ? 1 : 0;
}
BENCHMARK_CAPTURE(readHostilePage, nested100000, std::string("nested100000"))
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9);
BENCHMARK_CAPTURE(readHostilePage, attributes100000, std::string("attributes100000"))
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9);
BENCHMARK_CAPTURE(readHostilePage, bold4MiB, std::string("bold4MiB"))
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9);
BENCHMARK_CAPTURE(readHostilePage, commentEndThenDivs, std::string("commentEndThenDivs"))
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9);

} // namespace

BENCHMARK_MAIN();
