// One press of "Сохранить" after an amplifier and a loudspeaker calculation: the chart as a
// bitmap and a metafile, the schematic and the 63-line report, written into a temporary
// directory. Goal: well under 50 ms.

#include "app/classic_look.h"
#include "app/unit1.h"
#include "help/unit2.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

TForm1 *window = nullptr;

void saveAllFourFiles(benchmark::State &state) {
    for (auto _ : state)
        window->Button10Click();
}
BENCHMARK(saveAllFourFiles)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    applyClassicLook(application);
    QTemporaryDir directory;
    QDir::setCurrent(directory.path());

    TForm1 form;
    TForm2 help;
    form.setHelpWindow(&help);
    form.show();
    form.Button6->click();
    form.Button7->click();
    window = &form;

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    QDir::setCurrent(QDir::homePath());
    return 0;
}
