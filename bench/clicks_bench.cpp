// The "Вычислить" buttons pressed in the main window on the offscreen platform. Each press
// starts from the group's results at "0", as a key-down in one of its fields leaves them, and is
// followed by the event loop until the window is redrawn: the new results, and on the
// loudspeaker page the chart emptied and refilled with its 2×100 points. Inputs are the field
// defaults, and for Variant 2 also the inputs on which Newton's method uses all ten attempts.

#include "bench_inputs.h"
#include "bench_window.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

TForm1 *window = nullptr;

// The given texts, or the defaults, into the group's fields.
void typeInto(FieldGroup group, std::span<const char *const> texts) {
    const auto fields = groupFields(group);
    for (std::size_t i = 0; i < fields.size(); ++i)
        window->Edit[static_cast<std::size_t>(fields[i].edit)]->setText(
            texts.empty() ? fields[i].defaultText : texts[i]);
}

void click(benchmark::State &state, QPushButton *TForm1::*button, int page, FieldGroup group) {
    std::vector<QLabel *> results;
    for (const int n : resetLabels(group))
        results.push_back(window->findChild<QLabel *>(QString("Label%1").arg(n)));
    window->PageControl1->setCurrentIndex(page); // in view, so that the results are painted
    (window->*button)->click();
    QApplication::processEvents();
    require(!results.empty() && results.front()->text() != "0", "the click shows its results");
    for (auto _ : state) {
        for (QLabel *label : results)
            label->setText("0");
        (window->*button)->click();
        QApplication::processEvents(); // the deferred layout and repaint
    }
}
BENCHMARK_CAPTURE(click, Button1, &TForm1::Button1, 1, FieldGroup::InvertingVariant1);
BENCHMARK_CAPTURE(click, Button2, &TForm1::Button2, 1, FieldGroup::InvertingVariant2);
BENCHMARK_CAPTURE(click, Button3, &TForm1::Button3, 1, FieldGroup::InvertingVariant3);
BENCHMARK_CAPTURE(click, Button4, &TForm1::Button4, 0, FieldGroup::NonInvertingVariant1);
BENCHMARK_CAPTURE(click, Button5, &TForm1::Button5, 0, FieldGroup::NonInvertingVariant2);
BENCHMARK_CAPTURE(click, Button6, &TForm1::Button6, 0, FieldGroup::NonInvertingVariant3);
BENCHMARK_CAPTURE(click, Button7, &TForm1::Button7, 2, FieldGroup::Speaker);

// Variant 2 with all ten Newton attempts used up, the longest click of an amplifier page; it
// ends with a message ("Решения нет") where no positive pair exists, else with the pair found on
// the line of Rвых.
void clickNewtonWorst(benchmark::State &state, QPushButton *TForm1::*button, int page,
                      FieldGroup group, std::span<const char *const> texts,
                      QLabel *TForm1::*message, bool withMessage) {
    typeInto(group, texts);
    window->PageControl1->setCurrentIndex(page);
    (window->*button)->click();
    require((window->*message)->isVisible() == withMessage, "Variant 2 ends as expected");
    click(state, button, page, group);
    typeInto(group, {});
}
BENCHMARK_CAPTURE(clickNewtonWorst, Button2TenAttempts, &TForm1::Button2, 1,
                  FieldGroup::InvertingVariant2, invertingNewtonWorst, &TForm1::Label84, false);
BENCHMARK_CAPTURE(clickNewtonWorst, Button5TenAttempts, &TForm1::Button5, 0,
                  FieldGroup::NonInvertingVariant2, nonInvertingNewtonWorst, &TForm1::Label81,
                  true);

} // namespace

int main(int argc, char *argv[]) {
    return runWithMainWindow(argc, argv, [](TForm1 &form) { window = &form; });
}
