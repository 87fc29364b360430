// The "Вычислить" buttons pressed in the main window on the offscreen platform. Each press
// starts from the group's results at "0", as a key-down in one of its fields leaves them, and is
// followed by the event loop until the window is redrawn: the new results, and on the
// loudspeaker page the chart emptied and refilled with its 2×100 points. Inputs are the field
// defaults, and for Variant 2 also the inputs on which Newton's method uses all ten attempts.

#include "bench_inputs.h"
#include "bench_window.h"
#include "driver_load/widgets/driver_window.h"
#include "speaker/widgets/speaker_page.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

TForm1 *window = nullptr;

template <class Control>
Control *control(const char *kind, int number) {
    return window->findChild<Control *>(QString("%1%2").arg(kind).arg(number));
}

// The given texts, or the defaults, into the group's fields.
void typeInto(FieldGroup group, std::span<const char *const> texts) {
    const auto fields = groupFields(group);
    for (std::size_t i = 0; i < fields.size(); ++i)
        control<QLineEdit>("Edit", fields[i].edit)
            ->setText(texts.empty() ? fields[i].defaultText : texts[i]);
}

// ButtonN on its page; `resultLabels` are the N of the LabelN a key-down sets to "0".
void click(benchmark::State &state, int buttonNumber, int page, std::vector<int> resultLabels) {
    QPushButton *button = control<QPushButton>("Button", buttonNumber);
    std::vector<QLabel *> results;
    for (const int n : resultLabels)
        results.push_back(control<QLabel>("Label", n));
    window->PageControl1->setCurrentIndex(page); // in view, so that the results are painted
    button->click();
    QApplication::processEvents();
    require(!results.empty() && results.front()->text() != "0", "the click shows its results");
    for (auto _ : state) {
        for (QLabel *label : results)
            label->setText("0");
        button->click();
        QApplication::processEvents(); // the deferred layout and repaint
    }
}
using Labels = std::vector<int>;
BENCHMARK_CAPTURE(click, Button1, 1, 1, Labels{8, 9});
BENCHMARK_CAPTURE(click, Button2, 2, 1, Labels{17, 18});
BENCHMARK_CAPTURE(click, Button3, 3, 1, Labels{26, 27});
BENCHMARK_CAPTURE(click, Button4, 4, 0, Labels{35, 36});
BENCHMARK_CAPTURE(click, Button5, 5, 0, Labels{44, 45});
BENCHMARK_CAPTURE(click, Button6, 6, 0, Labels{53, 54});
BENCHMARK_CAPTURE(click, Button7, 7, 2, Labels{72, 73, 76, 77, 107});

// Variant 2 with all ten Newton attempts used up, the longest click of an amplifier page; it
// ends with a message ("Решения нет") where no positive pair exists, else with the pair found on
// the line of Rвых.
void clickNewtonWorst(benchmark::State &state, int button, int page, FieldGroup group,
                      std::span<const char *const> texts, int message, bool withMessage,
                      Labels results) {
    typeInto(group, texts);
    window->PageControl1->setCurrentIndex(page);
    control<QPushButton>("Button", button)->click();
    require(control<QLabel>("Label", message)->isVisible() == withMessage,
            "Variant 2 ends as expected");
    click(state, button, page, std::move(results));
    typeInto(group, {});
}
BENCHMARK_CAPTURE(clickNewtonWorst, Button2TenAttempts, 2, 1, FieldGroup::InvertingVariant2,
                  invertingNewtonWorst, 84, false, Labels{17, 18});
BENCHMARK_CAPTURE(clickNewtonWorst, Button5TenAttempts, 5, 0, FieldGroup::NonInvertingVariant2,
                  nonInvertingNewtonWorst, 81, true, Labels{44, 45});

// The window «Динамик и усилитель», made and shown over page 3 with its default inputs.
DriverWindow *shownDriverWindow() {
    window->PageControl1->setCurrentIndex(2);
    window->openDriverWindow();
    auto *driver = window->findChild<DriverWindow *>("DriverWindow");
    QApplication::processEvents();
    require(driver && driver->current(), "the window shows the page's run");
    return driver;
}

// The window recomputed as when page 3 is computed again on the defaults: the model, its four
// charts and its figures, followed by the event loop until it is redrawn.
void driverWindowRecompute(benchmark::State &state) {
    DriverWindow *driver = shownDriverWindow();
    for (auto _ : state) {
        driver->follow();
        QApplication::processEvents(); // the deferred layout and repaint
    }
    driver->close();
}
BENCHMARK(driverWindowRecompute)->Unit(benchmark::kMillisecond);

// The power typed as 400 W and as 100 W in turn, so that the curves, all scales but the
// impedance's, and the figures change on every recomputation; 100 W again at the end.
void typePowerInTurn(benchmark::State &state, QLineEdit *power) {
    bool high = false;
    for (auto _ : state) {
        power->setText((high = !high) ? "400" : "100");
        QApplication::processEvents();
    }
    power->setText("100");
}

// The same with new values each time.
void driverWindowNewPower(benchmark::State &state) {
    DriverWindow *driver = shownDriverWindow();
    auto *power = driver->findChild<QLineEdit *>("DriverField4");
    require(power->accessibleName() == "Мощность, Вт", "the fourth field is the power");
    typePowerInTurn(state, power);
    driver->close();
}
BENCHMARK(driverWindowNewPower)->Unit(benchmark::kMillisecond);

// The second with the coil heated: every curve the coil changes drawn twice, all new each time.
void driverWindowHeatedCoil(benchmark::State &state) {
    DriverWindow *driver = shownDriverWindow();
    auto *power = driver->findChild<QLineEdit *>("DriverField4");
    auto *heating = driver->findChild<QLineEdit *>("DriverField6");
    require(heating->accessibleName() == "Нагрев катушки, °C", "the sixth field is the heating");
    heating->setText("60");
    typePowerInTurn(state, power);
    heating->setText("0");
    driver->close();
}
BENCHMARK(driverWindowHeatedCoil)->Unit(benchmark::kMillisecond);

// The vented box with the coil heated: Small's model, the port, B4 and the bisection for the
// Rвых without a rise on every recomputation, the power typed anew each time.
void driverWindowVented(benchmark::State &state) {
    DriverWindow *driver = shownDriverWindow();
    auto *box = driver->findChild<QComboBox *>("BoxChoice");
    auto *power = driver->findChild<QLineEdit *>("DriverField4");
    auto *heating = driver->findChild<QLineEdit *>("DriverField6");
    box->setCurrentIndex(1);
    heating->setText("60");
    QApplication::processEvents();
    require(driver->current() && driver->current()->load.vented, "the window shows a vented box");
    typePowerInTurn(state, power);
    heating->setText("0");
    box->setCurrentIndex(0);
    driver->close();
}
BENCHMARK(driverWindowVented)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char *argv[]) {
    return runWithMainWindow(argc, argv, [](TForm1 &form) { window = &form; });
}
