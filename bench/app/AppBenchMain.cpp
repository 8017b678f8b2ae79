#include "common/FontStandIns.h"
#include "app/MessageBox.h"

#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerFontStandIns();
    // No action measured here asks anything: a box would be a fault, and a
    // modal one would stop the run for good.
    MessageBox::setResponder([](const MessageBox::Shown &box) -> bool {
        qFatal("a message box came up: %s", qPrintable(box.text));
    });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
