// One press of "Сохранить" after an amplifier and a loudspeaker calculation: the chart as a
// bitmap and a metafile, the schematic and the 63-line report, written into a temporary
// directory. Goal: well under 50 ms.

#include "bench_window.h"

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
    QTemporaryDir directory;
    QDir::setCurrent(directory.path());
    const int status = runWithMainWindow(argc, argv, [](TForm1 &form) {
        form.findChild<QPushButton *>("Button6")->click();
        form.findChild<QPushButton *>("Button7")->click();
        window = &form;
    });
    QDir::setCurrent(QDir::homePath()); // leave the directory so that it can be removed
    return status;
}
