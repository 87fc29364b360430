// Start-up time: from spawning the process to its first window shown and drawn, for the
// calculator (main window with the loudspeaker page computed and on top) and for a bare window
// holding one empty response chart built the same way. Each run is a fresh process on the
// offscreen platform; the child reports on its standard output the moment its window is drawn.
//
//   startup_bench [runs]        prints the median and the quartiles of both, and their ratio

#include "app/unit1.h"
#include "help/unit2.h"
#include "speaker/response_chart.h"
#include "speaker/speaker_page.h"
#include "ui/classic_look.h"

#include <QApplication>
#include <QLineSeries>
#include <QTabWidget>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

// Shows the window, waits until the platform has exposed it, paints it completely and reports;
// `chartPoints` curve points are expected on the chart by then.
int showAndReport(QApplication &app, QWidget &window, const ResponseChart &chart, int chartPoints) {
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        app.processEvents(QEventLoop::WaitForMoreEvents);
    window.repaint();
    const bool filled = chart.series(0)->count() + chart.series(1)->count() == chartPoints;
    std::fputs(filled ? "shown\n" : "unfilled\n", stdout);
    std::fflush(stdout);
    std::_Exit(0); // the time of tearing down is not part of starting
}

int runChild(const std::string &variant, int argc, char *argv[]) {
    QApplication app(argc, argv);
    applyClassicLook(app);
    if (variant == "app") {
        TForm1 form;
        TForm2 help;
        form.setHelpWindow(&help);
        form.PageControl1->setCurrentIndex(2); // the page with the chart in view
        return showAndReport(app, form, *form.TabSheet3->Chart1, 200);
    }
    QWidget window;
    window.setFixedSize(744, 502);
    ResponseChart chart(&window);
    chart.setGeometry(0, 0, 409, 393);
    return showAndReport(app, window, chart, 0);
}

// Milliseconds from spawning the child until it reports its window shown.
double timeOneStart(const char *self, const char *variant) {
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
    waitpid(child, &status, 0);
    if (received.find("shown\n") == std::string::npos) {
        std::fprintf(stderr, "the %s child never showed its window\n", variant);
        std::exit(1);
    }
    return std::chrono::duration<double, std::milli>(end - start).count();
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
    timeOneStart(path, "bare");
    std::vector<double> app, bare;
    for (int i = 0; i < runs; ++i) { // interleaved, so drifts of the machine hit both alike
        app.push_back(timeOneStart(path, "app"));
        bare.push_back(timeOneStart(path, "bare"));
    }
    const Summary a = summarise(app);
    const Summary b = summarise(bare);
    std::printf("runs per variant: %d (median, quartiles; ms from spawn to window drawn)\n", runs);
    std::printf("main window, page 3 computed: %8.1f  [%.1f … %.1f]\n", a.median, a.q1, a.q3);
    std::printf("bare window, empty chart:     %8.1f  [%.1f … %.1f]\n", b.median, b.q1, b.q3);
    std::printf("ratio of the medians:         %8.2f\n", a.median / b.median);
    return 0;
}
