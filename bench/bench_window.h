#pragma once

// The main window as the program shows it, for benchmarks of what its buttons do.

#include "app/unit1.h"
#include "help/widgets/unit2.h"
#include "ui/classic_look.h"
#include "ui/qt_translations.h"

#include <QApplication>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <functional>

// Shows the main window (on the offscreen platform unless another is set), lets `prepare` ready
// it, and runs the registered benchmarks while it is up.
inline int runWithMainWindow(int argc, char *argv[], const std::function<void(TForm1 &)> &prepare) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    applyClassicLook(application);
    useRussianQtTexts(application);

    TForm1 form;
    TForm2 help;
    form.setHelpWindow(&help);
    form.show();
    while (!form.windowHandle() || !form.windowHandle()->isExposed())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    prepare(form);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
