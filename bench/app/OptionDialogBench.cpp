#include "app/SettingsDialog.h"
#include "common/FontStandIns.h"
#include "settings/DelimitedText.h"
#include "settings/PrivateConfig.h"
#include "settings/SettingDeclarations.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

// "设置": the settings dialog built, read from the settings file (the print
// fonts on offer come from the font database) and shown up to its first
// paint. Closing it is not counted.

namespace {

// A settings file as an agent's becomes: print settings changed, a handful of
// entries in each of the five pick-lists.
void writeUsedSettings(const QString &folder)
{
    PrivateConfig config(true, folder);
    config.setInt(Setting::vpos.key, 3);
    config.setInt(Setting::hpos.key, -2);
    config.setStr(Setting::fontname.key, QStringLiteral("宋体"));
    config.setBool(Setting::Storage.key, true);
    const QStringList endorsements = {
        QStringLiteral("不得签转"), QStringLiteral("不得签转/改期退票收费"),
        QStringLiteral("Q/NON-END 不得签转"), QStringLiteral("变更退票收费")};
    config.setStr(Setting::MakeText.key, toDelimitedText(endorsements));
    config.setStr(Setting::company.key,
                  toDelimitedText({QStringLiteral("北京某某航空服务有限公司"),
                                   QStringLiteral("广州白云国际机场售票处")}));
    config.setStr(Setting::OfficeNo.key,
                  toDelimitedText({QStringLiteral("BJS123"), QStringLiteral("CAN456"),
                                   QStringLiteral("SHA789")}));
    config.setStr(Setting::CompanyCode.key,
                  toDelimitedText({QStringLiteral("08312345"), QStringLiteral("08354321")}));
    config.setStr(Setting::information.key,
                  toDelimitedText({QStringLiteral("请提前90分钟到达机场"),
                                   QStringLiteral("Please check in 90 minutes early")}));
}

void openSettingsDialog(benchmark::State &state)
{
    const QTemporaryDir folder;
    writeUsedSettings(folder.path());
    for (auto _ : state) {
        auto frmOption = std::make_unique<SettingsDialog>(folder.path());
        frmOption->show();
        QApplication::processEvents();
        state.PauseTiming();
        frmOption.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(openSettingsDialog)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerFontStandIns();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
