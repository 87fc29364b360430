#include "driver_load/widgets/driver_window.h"

#include "core/decimal_text.h"
#include "driver_load/widgets/driver_chart.h"
#include "driver_load/widgets/driver_chart_designs.h"
#include "driver_load/widgets/driver_figures.h"
#include "driver_load/widgets/driver_inputs.h"
#include "driver_load/widgets/driver_window_menus.h"
#include "speaker/speaker_design.h"
#include "ui/chart_readout.h"
#include "ui/design_widgets.h"
#include "ui/error_report.h"
#include "ui/shown_text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

// The page's run as the caption over the charts: «Fs = 19 Гц, Re = 3,4 Ом, …».
QString runCaption(const SpeakerRun &run) {
    const Driver &d = run.driver;
    const std::array<double, 7> values{d.fs, d.re, d.qms, d.qes, d.vas, run.vb, run.rout};
    QStringList parts;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const SpeakerInputRow &row = speakerInputRows[i];
        const QString unit = *row.unit ? QString(" ") + row.unit : QString();
        parts << QString("%1 = %2%3")
                     .arg(i + 1 == values.size() ? "Rвых" : row.name,
                          shown(formatGeneral(values[i])), unit);
    }
    return "Пример применения: " + parts.join(", ");
}

// The grid point whose frequency lies nearest to f, on the logarithmic axis.
std::size_t nearestPoint(const ChartCurve &frequency, double f) {
    const auto nearest = std::ranges::min_element(frequency, [f](double a, double b) {
        return std::fabs(std::log(a / f)) < std::fabs(std::log(b / f));
    });
    return static_cast<std::size_t>(nearest - frequency.begin());
}

} // namespace

DriverWindow::DriverWindow(QWidget *mainWindow, const LastValidRun<SpeakerRun> &p,
                           DriverLoadInputs &inputs,
                           const std::array<Variant2Target, 2> &routTargets)
    : QWidget(mainWindow, designWindowFlags), page(p), kept(inputs),
      menus(std::make_unique<DriverWindowMenus>(
          DriverWindowMenus::Given{[this] { return current(); }, [this] { return whyNone(); },
                                   routTargets, [this] { return kept.box; }})) {
    setUpWindow(this, "DriverWindow", "Динамик и усилитель");

    // Made in keyboard order: the fields, the charts, the figures, «Закрыть». The charts keep
    // their size; the status line appears under the fields, in the room the charts leave there.
    auto *layout = new QVBoxLayout(this);
    caption = new QLabel(this);
    caption->setObjectName("RunCaption");
    layout->addWidget(caption);
    auto *middle = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    inputBox =
        std::make_unique<DriverInputs>(this, kept, [this] { runHandler([this] { recompute(); }); });
    left->addWidget(inputBox->box());
    status = newStatusLabel(this);
    left->addWidget(status);
    left->addStretch();
    middle->addLayout(left);
    auto *grid = new QGridLayout;
    buildCharts(grid);
    figures = std::make_unique<DriverFigures>(this, *menus, [this](std::size_t i) {
        return (computed ? shown(driverResults(*computed)[i].tip) : shown(whyNone())) + "\n" +
               DriverWindowMenus::hint();
    });
    figures->nameFigures(kept.targetQtc);
    grid->addWidget(figures->limits(), 1, 2);
    middle->addLayout(grid);
    layout->addLayout(middle);
    layout->addWidget(figures->results());

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *closeButton = new QPushButton("Закрыть", this);
    closeButton->setObjectName("CloseButton");
    connectHandler(closeButton, this, [this] { close(); });
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);
    follow();
}

DriverWindow::~DriverWindow() = default;

// Three by two, the last place the limits' box's.
void DriverWindow::buildCharts(QGridLayout *grid) {
    const auto frequencies = responseFrequencies();
    for (std::size_t i = 0; i < charts.size(); ++i) {
        const DriverChartDesign &design = driverChartDesigns[i];
        DriverChart *chart = charts[i] = new DriverChart(design.chart, this);
        chart->setAccessibleName(design.name);
        readouts[i] = new ChartReadout(chart, chart->anchor(), restingDescription(design, nullptr),
                                       DriverWindowMenus::hint(),
                                       {[this, chart] { return computed && chart->hasCurves(); },
                                        [this, i](double f) { return readoutAt(i, f); },
                                        [this] { return readoutStart(); },
                                        {frequencies.begin(), frequencies.end()}});
        menus->offerOn(chart);
        menus->offerOn(chart->viewport());
        grid->addWidget(chart, static_cast<int>(i / 3), static_cast<int>(i % 3));
    }
}

void DriverWindow::showOver() {
    // First as large as it asks within its screen (adjustSize would stop at two thirds of it),
    // over the middle of the main window; afterwards where the user leaves it.
    if (!testAttribute(Qt::WA_Moved)) {
        const QScreen *screen = parentWidget()->screen();
        const QSize frame(16, 40); // the window manager's border and title bar, about
        resize(screen ? sizeHint().boundedTo(screen->availableGeometry().size() - frame)
                      : sizeHint());
        QRect place = rect();
        place.moveCenter(parentWidget()->geometry().center());
        if (screen) {
            const QRect area = screen->availableGeometry();
            place.moveLeft(std::clamp(place.left(), area.left(),
                                      std::max(area.left(), area.right() - place.width())));
            place.moveTop(std::clamp(place.top(), area.top(),
                                     std::max(area.top(), area.bottom() - place.height())));
        }
        move(place.topLeft());
    }
    show();
    raise();
    activateWindow();
}

void DriverWindow::follow() {
    if (const SpeakerRun *current = page.valid()) {
        run = *current;
        caption->setText(runCaption(*run));
        inputBox->follow(*run);
        recompute();
    } else {
        showStatus();
    }
}

void DriverWindow::takeSenseResistor(double ohms) { inputBox->takeSenseResistor(ohms); }

QString DriverWindow::inputText(std::size_t row) const { return inputBox->text(row); }

void DriverWindow::setInputText(std::size_t row, const QString &text, bool clamped) {
    inputBox->setText(row, text, clamped);
}

BoxKind DriverWindow::box() const { return inputBox->chosenBox(); }

void DriverWindow::setBox(BoxKind box) { inputBox->chooseBox(box); }

const DriverLoadRun *DriverWindow::current() const {
    return computed && page.valid() ? &*computed : nullptr;
}

std::string DriverWindow::whyNone() const {
    if (!page.valid())
        return "Пример применения: " + page.whyNone();
    if (!fieldFault.empty())
        return fieldFault;
    return computed ? std::string() : "Нет результата: расчёт прервала ошибка";
}

// The new computation replaces what the window shows; where there is none, or it fails, the
// window shows no figures rather than old ones.
void DriverWindow::recompute() {
    computed.reset();
    DriverLoadInputs read{};
    fieldFault = inputBox->read(read, run ? &*run : nullptr);
    showBox(read.box);
    showStatus();
    if (!fieldFault.empty() || !run) {
        clearComputed();
        return;
    }
    try {
        computed = DriverLoadRun{*run, read, driverLoad(*run, read)};
    } catch (...) {
        clearComputed();
        throw;
    }
    lines = driverChartLines(*computed);
    showComputed();
}

// The charts' designs and the figures for the box chosen, whether or not it is computed.
void DriverWindow::showBox(BoxKind box) {
    if (box == shownBox)
        return;
    shownBox = box;
    for (std::size_t i = 0; i < charts.size(); ++i) {
        const DriverChartDesign &design = driverChartDesign(i, box);
        charts[i]->setDesign(design.chart);
        charts[i]->setAccessibleName(design.name);
    }
    figures->showVented(box == BoxKind::Vented);
}

void DriverWindow::showComputed() {
    for (std::size_t i = 0; i < charts.size(); ++i) {
        charts[i]->showLines(lines[i], computed->load.frequency);
        readouts[i]->curvesChanged(restingDescription(driverChartDesign(i, shownBox), &lines[i]));
    }
    figures->show(*computed);
}

void DriverWindow::clearComputed() {
    for (std::size_t i = 0; i < charts.size(); ++i) {
        charts[i]->clear();
        readouts[i]->curvesGone();
    }
    figures->clear();
}

void DriverWindow::showStatus() {
    QStringList said;
    if (!fieldFault.empty())
        said << shown(fieldFault);
    if (!page.valid())
        said << shown("Пример применения: " + page.whyNone()) +
                    (run ? "\nГрафики и результаты — по прежнему расчёту; меню недоступно до "
                           "нового расчёта."
                         : "");
    status->setText(said.join("\n"));
    status->setVisible(!said.isEmpty());
}

// Where a readout starts: at the box's resonance, fc of the closed box, Fb of the vented one.
double DriverWindow::readoutStart() const {
    const std::optional<VentedFigures> &vented = computed->load.vented;
    return vented ? vented->box.fb : computed->run.box.fc;
}

QString DriverWindow::readoutAt(std::size_t chart, double f) const {
    return shown(chartReadout(lines[chart], computed->load.frequency,
                              nearestPoint(computed->load.frequency, f)));
}

// Escape closes the window wherever the focus is: the keys a field leaves come up to here.
void DriverWindow::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}
