// Start-up: from spawning the process to its first window shown and drawn, for the calculator
// (main window with the loudspeaker page computed and on top) and for the floor, Qt's default
// QChartView in a plain window of the same size, with none of the program's code, so that the
// floor stays where it is whatever the program shares. Each run is a fresh process on the
// offscreen platform; the child reports on its standard output the moment its window is drawn
// and ends there.
//
//   startup_bench [runs]        the median and quartiles of both times, their peak memory, ratios
//   startup_bench --child app|floor     one start, e.g. under valgrind --tool=callgrind

#include "app/unit1.h"
#include "help/widgets/unit2.h"
#include "speaker/widgets/response_chart.h"
#include "speaker/widgets/speaker_page.h"
#include "ui/classic_look.h"
#include "ui/qt_translations.h"

#include <QApplication>
#include <QChartView>
#include <QLineSeries>
#include <QTabWidget>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

// Shows the window, waits until the platform has exposed it and reports whether it shows what it
// should. Qt paints the whole window into its backing store while it handles the expose event, so
// the first frame is drawn when the wait ends.
int showAndReport(QApplication &app, QWidget &window, const std::function<bool()> &complete) {
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        app.processEvents(QEventLoop::WaitForMoreEvents);
    std::fputs(complete() ? "shown\n" : "incomplete\n", stdout);
    std::fflush(stdout);
    std::_Exit(0); // the time of tearing down is not part of starting
}

int runChild(const std::string &variant, int argc, char *argv[]) {
    QApplication app(argc, argv);
    if (variant == "app") {
        applyClassicLook(app);
        useRussianQtTexts(app);
        TForm1 form;
        TForm2 help;
        form.setHelpWindow(&help);
        form.PageControl1->setCurrentIndex(2); // the page with the chart in view
        const ResponseChart &chart = *form.TabSheet3->chart();
        return showAndReport(app, form, [&chart] {
            return chart.series(0)->count() + chart.series(1)->count() == 200;
        });
    }
    QWidget window;
    window.setFixedSize(744, 502);
    QChartView chart(&window);
    chart.setGeometry(0, 0, 409, 393); // where Chart1 sits
    return showAndReport(app, window, [&chart] { return chart.isVisible(); });
}

struct Start {
    double milliseconds;
    double peakMiB; // the child's largest resident set
};

// From spawning the child until it reports its window shown.
Start timeOneStart(const char *self, const char *variant) {
    int out[2];
    if (pipe(out) != 0)
        std::abort();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char *args[] = {const_cast<char *>(self), const_cast<char *>("--child"),
                    const_cast<char *>(variant), nullptr};

    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, self, &actions, nullptr, args, environ) != 0)
        std::abort();
    close(out[1]);
    std::string received;
    char buffer[64];
    ssize_t n = 0;
    while (received.find("shown\n") == std::string::npos &&
           (n = read(out[0], buffer, sizeof buffer)) > 0)
        received.append(buffer, static_cast<std::size_t>(n));
    const auto end = std::chrono::steady_clock::now();
    close(out[0]);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (received.find("shown\n") == std::string::npos) {
        std::fprintf(stderr, "the %s child never showed its window\n", variant);
        std::exit(1);
    }
    return {std::chrono::duration<double, std::milli>(end - start).count(),
            static_cast<double>(usage.ru_maxrss) / 1024};
}

struct Summary {
    double q1, median, q3;
};

Summary summarise(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double fraction) {
        return samples[static_cast<std::size_t>(fraction * (samples.size() - 1) + 0.5)];
    };
    return {at(0.25), at(0.5), at(0.75)};
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0)
        return runChild(argv[2], argc, argv);

    const int runs = argc >= 2 ? std::max(3, std::atoi(argv[1])) : 21;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string self = "/proc/self/exe";
    char path[4096];
    const ssize_t length = readlink(self.c_str(), path, sizeof path - 1);
    if (length <= 0)
        return 1;
    path[length] = '\0';

    timeOneStart(path, "app"); // warm the file cache and the font cache once
    timeOneStart(path, "floor");
    std::vector<double> appTimes, floorTimes, appPeaks, floorPeaks;
    for (int i = 0; i < runs; ++i) { // interleaved, so drifts of the machine hit both alike
        const Start app = timeOneStart(path, "app");
        const Start floor = timeOneStart(path, "floor");
        appTimes.push_back(app.milliseconds);
        floorTimes.push_back(floor.milliseconds);
        appPeaks.push_back(app.peakMiB);
        floorPeaks.push_back(floor.peakMiB);
    }
    const Summary a = summarise(appTimes);
    const Summary f = summarise(floorTimes);
    const double appPeak = summarise(appPeaks).median;
    const double floorPeak = summarise(floorPeaks).median;
    std::printf("runs per variant: %d (ms from spawn to window drawn: median [quartiles]; "
                "peak memory: median)\n",
                runs);
    std::printf("main window, page 3 computed:  %7.1f ms [%.1f … %.1f]  %6.1f MiB\n", a.median,
                a.q1, a.q3, appPeak);
    std::printf("floor, Qt's default chart view: %6.1f ms [%.1f … %.1f]  %6.1f MiB\n", f.median,
                f.q1, f.q3, floorPeak);
    std::printf("ratio to the floor:            %7.2f                 %6.2f\n", a.median / f.median,
                appPeak / floorPeak);
    return 0;
}
