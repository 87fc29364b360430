#include "driver_load/widgets/driver_window.h"

#include "core/decimal_text.h"
#include "driver_load/driver_load_fields.h"
#include "driver_load/widgets/driver_chart.h"
#include "driver_load/widgets/driver_window_menus.h"
#include "input/widgets/bounded_field.h"
#include "input/widgets/field_keys.h"
#include "speaker/speaker_design.h"
#include "ui/accessible_names.h"
#include "ui/chart_readout.h"
#include "ui/classic_look.h"
#include "ui/design_widgets.h"
#include "ui/error_report.h"
#include "ui/shown_text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

// The four charts in the order of driverChartLines, two by two.
struct ChartDesign {
    DriverChart::Design chart;
    const char *name;        // for screen readers
    const char *description; // what its curves are
};

const std::array<ChartDesign, driverChartCount> chartDesigns{{
    {{"LevelChart", "Уровень звукового давления", "Уровень, дБ (1 м)", nullptr, 40},
     "Уровень звукового давления от частоты",
     "Уровень в дБ на расстоянии 1 м в полупространстве при мощности P в Re: красная кривая при "
     "Rвых = 0, синяя при Rвых усилителя, зелёная пунктирная при Rвых усилителя с нагретой "
     "катушкой."},
    {{"ImpedanceChart", "Импеданс динамика", "|Z|, Ом", "Фаза, °", 0},
     "Импеданс динамика от частоты",
     "Модуль импеданса в Ом, красная кривая по оси слева, и его фаза в градусах, синяя "
     "пунктирная по оси справа."},
    {{"ExcursionChart", "Смещение диффузора", "Смещение (пик), мм", nullptr, 0},
     "Смещение диффузора от частоты",
     "Пиковое смещение диффузора в мм при Rвых усилителя, красная кривая, и Xmax, синяя "
     "пунктирная линия."},
    {{"AmplifierChart", "Что отдаёт усилитель", "Напряжение (ампл.), В", "Ток, А; мощность, Вт", 0},
     "Напряжение, ток и мощность в Rт от частоты",
     "Амплитуда напряжения на выходе ОУ в В, красная кривая по оси слева; амплитуда тока в А и "
     "мощность в Rт в Вт, синяя и зелёная пунктирные по оси справа."},
}};

const QString readoutHelp = "Подсказка под указателем мыши, а в фокусе клавиши влево и вправо, "
                            "называют частоту и значения всех кривых.";

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
                           DriverLoadInputs &inputs, const std::array<HandOver, 2> &routTargets)
    : QWidget(mainWindow, designWindowFlags), page(p), kept(inputs),
      menus(std::make_unique<DriverWindowMenus>(DriverWindowMenus::Given{
          [this] { return current(); }, [this] { return whyNone(); }, routTargets})) {
    setUpWindow(this, "DriverWindow", "Динамик и усилитель");

    // Made in keyboard order: the fields, the charts, the results, «Закрыть».
    auto *layout = new QVBoxLayout(this);
    caption = new QLabel(this);
    caption->setObjectName("RunCaption");
    layout->addWidget(caption);
    auto *middle = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    left->addWidget(buildInputs());
    status = newStatusLabel(this);
    left->addWidget(status);
    left->addStretch();
    middle->addLayout(left);
    auto *grid = new QGridLayout;
    buildCharts(grid);
    middle->addLayout(grid, 1);
    layout->addLayout(middle, 1);
    layout->addWidget(buildResults());

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *closeButton = new QPushButton("Закрыть", this);
    closeButton->setObjectName("CloseButton");
    connectHandler(closeButton, this, [this] { close(); });
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);
    follow();
}

// A field that holds the focus finishes its editing as QWidget's destructor deletes it, when
// this window is no longer one to compute anything.
DriverWindow::~DriverWindow() {
    for (QLineEdit *field : fields)
        disconnect(field, nullptr, this, nullptr);
}

// The inputs the window adds to the page's run, each field with its caption, as the table gives
// them; they start from the values kept for the page.
QWidget *DriverWindow::buildInputs() {
    auto *box = new QGroupBox("Исходные данные", this);
    auto *grid = new QGridLayout(box);
    const auto table = driverLoadFields();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const DriverLoadField &input = table[i];
        auto *label = new QLabel(input.caption, box);
        auto *field = new QLineEdit(shown(formatGeneral(kept.*input.destination)), box);
        field->setObjectName(QString("DriverField%1").arg(i + 1));
        field->setFixedWidth(60);
        nameField(field, {label});
        bounded.push_back(
            new BoundedField(field, {input.min, input.minText, input.max, input.maxText}));
        connect(field, &QLineEdit::textChanged, this,
                [this] { runHandler([this] { recompute(); }); });
        fields.push_back(field);
        const int row = static_cast<int>(i);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
    }
    return box;
}

void DriverWindow::buildCharts(QGridLayout *grid) {
    const auto frequencies = responseFrequencies();
    for (std::size_t i = 0; i < charts.size(); ++i) {
        const ChartDesign &design = chartDesigns[i];
        DriverChart *chart = charts[i] = new DriverChart(design.chart, this);
        chart->setAccessibleName(design.name);
        readouts[i] = new ChartReadout(
            chart, chart->anchor(),
            QString(design.description) + "\n" + readoutHelp + "\n" + DriverWindowMenus::hint(),
            DriverWindowMenus::hint(),
            {[this, chart] { return computed && chart->hasCurves(); },
             [this, i](double f) { return readoutAt(i, f); },
             [this, i, chart](double f) {
                 const ChartLine &anchor = lines[i].front();
                 return chart->plotted(anchor.secondAxis,
                                       anchor.values[nearestPoint(computed->load.frequency, f)]);
             },
             [this] { return computed->run.box.fc; },
             {frequencies.begin(), frequencies.end()}});
        menus->offerOn(chart);
        menus->offerOn(chart->viewport());
        grid->addWidget(chart, static_cast<int>(i / 2), static_cast<int>(i % 2));
    }
}

// The figures in two columns of caption and value, the advice where the target Qtc is out of
// reach, and a line on the menu.
QWidget *DriverWindow::buildResults() {
    auto *box = new QGroupBox("Результаты при Rвых усилителя", this);
    setTextColour(box, clNavy());
    auto *grid = new QGridLayout(box);
    for (std::size_t i = 0; i < results.size(); ++i) {
        QLabel *name = resultCaptions[i] = new QLabel(box);
        QLabel *value = results[i] = new QLabel(box);
        value->setObjectName(QString("DriverResult%1").arg(i + 1));
        value->setMinimumWidth(70);
        // Tab reaches every figure, so that the keyboard opens the menu there and screen readers
        // read it; the focused one is marked.
        value->setFocusPolicy(Qt::StrongFocus);
        value->setStyleSheet("QLabel:focus { background-color: #c8dcff; }");
        nameResult(value, {name});
        describeResult(value, [this, i] {
            return (computed ? shown(driverResults(*computed)[i].tip) : shown(whyNone())) + "\n" +
                   DriverWindowMenus::hint();
        });
        menus->offerOn(value);
        const int row = static_cast<int>(i / 2), column = 2 * static_cast<int>(i % 2);
        grid->addWidget(name, row, column);
        grid->addWidget(value, row, column + 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    const int end = static_cast<int>(results.size() / 2);
    advice = new QLabel(box);
    advice->setObjectName("TargetAdvice");
    advice->setWordWrap(true);
    advice->hide();
    grid->addWidget(advice, end, 0, 1, 4);
    auto *hint = new QLabel("Меню результатов и графиков: " + DriverWindowMenus::hint() + ".", box);
    hint->setObjectName("MenuHint");
    hint->setWordWrap(true);
    setTextColour(hint, Qt::black);
    grid->addWidget(hint, end + 1, 0, 1, 4);
    return box;
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
        recompute();
    } else {
        showStatus();
    }
}

void DriverWindow::takeSenseResistor(double ohms) {
    const auto table = driverLoadFields();
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i].destination == &DriverLoadInputs::rt) {
            setFieldColour(fields[i], clWindow());
            fields[i]->setText(shown(formatGeneral(ohms)));
        }
}

QString DriverWindow::inputText(std::size_t row) const { return fields.at(row)->text(); }

void DriverWindow::setInputText(std::size_t row, const QString &text, bool clamped) {
    setFieldColour(fields.at(row), clamped ? clYellow() : clWindow());
    fields.at(row)->setText(text);
}

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

// Each field within its range is kept for the page; the first without a value says why the
// window shows nothing.
void DriverWindow::readInputs(DriverLoadInputs &inputs) {
    fieldFault.clear();
    const auto table = driverLoadFields();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (const std::optional<double> value = bounded[i]->value())
            kept.*table[i].destination = inputs.*table[i].destination = *value;
        else if (fieldFault.empty())
            fieldFault = std::string("Поле «") + table[i].caption + "»: нужно число от " +
                         table[i].minText + " до " + table[i].maxText;
    }
}

// The new computation replaces what the window shows; where there is none, or it fails, the
// window shows no figures rather than old ones.
void DriverWindow::recompute() {
    computed.reset();
    DriverLoadInputs inputs{};
    readInputs(inputs);
    showStatus();
    if (!fieldFault.empty() || !run) {
        clearComputed();
        return;
    }
    try {
        computed = DriverLoadRun{*run, inputs, driverLoad(*run, inputs)};
    } catch (...) {
        clearComputed();
        throw;
    }
    lines = driverChartLines(*computed);
    showComputed();
}

void DriverWindow::showComputed() {
    for (std::size_t i = 0; i < charts.size(); ++i)
        charts[i]->showLines(lines[i], computed->load.frequency);
    const auto captions = driverResultCaptions(computed->inputs.targetQtc);
    const auto figures = driverResults(*computed);
    for (std::size_t i = 0; i < results.size(); ++i) {
        resultCaptions[i]->setText(shown(captions[i]) + " =");
        results[i]->setText(shown(figures[i].text));
        if (const QColor colour = figures[i].alarm ? Qt::red : Qt::black;
            results[i]->palette().color(QPalette::WindowText) != colour)
            setTextColour(results[i], colour);
    }
    const std::string said = driverAdvice(*computed);
    advice->setText(shown(said));
    advice->setVisible(!said.empty());
}

void DriverWindow::clearComputed() {
    for (std::size_t i = 0; i < charts.size(); ++i) {
        charts[i]->clear();
        readouts[i]->curvesGone();
    }
    for (QLabel *result : results)
        result->setText("—");
    advice->hide();
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
