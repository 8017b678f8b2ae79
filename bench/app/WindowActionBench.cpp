#include "WholeReceipt.h"
#include "app/MainWindow.h"
#include "app/SamplePnr.h"
#include "itinerary/ClearItinerary.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>

// The user's actions on the shown window, each up to the repaint that shows
// its result: the window binds every control to the model, so a typed
// character or a cleared receipt also updates every control that a rule
// touched.

namespace {

// The main window shown in a program folder of its own, on a receipt with
// every field filled.
struct ShownWindow
{
    ShownWindow()
    {
        for (const QString &list : {QStringLiteral("city.txt"), QStringLiteral("air.txt")})
            QFile::copy(QStringLiteral(KESTRANO_DATA "/") + list,
                        QDir(folder.path()).filePath(list));
        window = std::make_unique<MainWindow>(folder.path());
        fillWholeReceipt(window->fields());
        window->show();
        QApplication::processEvents();
    }

    QTemporaryDir folder;
    std::unique_ptr<MainWindow> window;
};

// One key typed into a text box, then taken back with Backspace: every
// iteration is one key press and its repaint. The fare's rule adds up the
// total, the serial number's computes the check code, the seat's writes the
// fare basis; the passenger's name has no rule.
void typeOneCharacter(benchmark::State &state, const char *field)
{
    const ShownWindow shown;
    auto *box = shown.window->findChild<QLineEdit *>(QString::fromLatin1(field));
    if (!box) {
        state.SkipWithError("no such text box");
        return;
    }
    box->setFocus();
    box->end(false);
    bool typed = false;
    for (auto _ : state) {
        if (typed)
            QTest::keyClick(box, Qt::Key_Backspace);
        else
            QTest::keyClick(box, Qt::Key_1);
        typed = !typed;
        QApplication::processEvents();
    }
}
BENCHMARK_CAPTURE(typeOneCharacter, edtFare, "edtFare")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(typeOneCharacter, edtSerNo, "edtSerNo")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(typeOneCharacter, edtSeat1, "edtSeat1")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(typeOneCharacter, edtPassenger, "edtPassenger")->Unit(benchmark::kMicrosecond);

// clearItinerary on the whole receipt, as "PNR信息转" and "提取信息" begin.
void clearWholeReceipt(benchmark::State &state)
{
    const ShownWindow shown;
    for (auto _ : state) {
        state.PauseTiming();
        fillWholeReceipt(shown.window->fields());
        QApplication::processEvents();
        state.ResumeTiming();
        clearItinerary(shown.window->fields());
        QApplication::processEvents();
    }
}
BENCHMARK(clearWholeReceipt)->Unit(benchmark::kMicrosecond);

// "PNR信息转" on the sample display of "示例", in the window.
void convertSamplePnr(benchmark::State &state)
{
    const ShownWindow shown;
    shown.window->fields().setText(QStringLiteral("Memo1"), samplePnrText());
    QApplication::processEvents();
    for (auto _ : state) {
        shown.window->convertPnr();
        QApplication::processEvents();
    }
}
BENCHMARK(convertSamplePnr)->Unit(benchmark::kMicrosecond);

} // namespace
