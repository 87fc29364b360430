// The loudspeaker page: the closed box fed from an ideal source and through the amplifier's
// output resistance, run by "Вычислить" and once before the window first appears.

#include "speaker/speaker_page.h"

#include "core/arithmetic_fault.h"
#include "core/decimal_text.h"
#include "core/whole_file.h"
#include "input/numeric_fields.h"
#include "speaker/closed_box.h"
#include "speaker/qtc_advice.h"
#include "speaker/response_chart.h"
#include "speaker/response_export.h"
#include "ui/accessible_names.h"
#include "ui/announcement.h"
#include "ui/classic_look.h"
#include "ui/design_widgets.h"
#include "ui/error_report.h"
#include "ui/result_menu.h"

#include <QApplication>
#include <QChart>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolTip>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace {

QString shown(const std::string &text) { return QString::fromStdString(text); }

QList<QPointF> responseCurve(const std::array<double, responsePoints> &frequencies, double fc,
                             double q) {
    QList<QPointF> points;
    points.reserve(responsePoints);
    for (const double f : frequencies)
        points.append(QPointF(f, responseLevel(f, fc, q)));
    return points;
}

// A level as the chart readout shows it: two decimals and a true minus sign.
QString decibels(double level) {
    std::string text = displayRounded(level, 2);
    if (text.starts_with('-'))
        text.replace(0, 1, "−");
    return shown(text) + " дБ";
}

// How the chart's menu opens and what it offers, under every readout.
const QString chartMenuHint =
    "Правая кнопка мыши или Shift+F10: экспорт АЧХ в FRD, копировать таблицу АЧХ";

// What the chart says to a screen reader at rest; a keyboard readout takes its place.
const QString chartDescription =
    "Уровень в дБ от частоты в Гц: красная кривая при Rвых = 0, синяя при Rвых усилителя из "
    "поля ввода. Подсказка под указателем мыши, а в фокусе клавиши влево и вправо, называют "
    "частоту и оба уровня.\n" +
    chartMenuHint;

// The volume that gives Qtc = 0,7 at Rвых = 0, where the volume field takes it.
std::optional<double> volumeForTarget(const SpeakerRun &run) {
    const std::optional<double> volume = qtcAdvice(run).volume;
    if (volume && fieldTakes(fieldSpec(36), formatGeneral(*volume)))
        return volume;
    return std::nullopt;
}

bool offersVolume(const SpeakerRun &run) { return volumeForTarget(run).has_value(); }

} // namespace

const std::array<SpeakerPage::ResultAction, 3> SpeakerPage::resultActions{{
    {"Rвых → Вариант 2", nullptr, &SpeakerPage::addRoutToAmplifiers},
    {"Vb → поле Vb", offersVolume, &SpeakerPage::addVolumeForTarget},
    {"копировать", nullptr, &SpeakerPage::addCopy},
}};

SpeakerPage::SpeakerPage(NumericFields &f, LastResults &l, QWidget *parent)
    : QWidget(parent), fields(f), last(l) {
    setObjectName("TabSheet3");
    setAutoFillBackground(true); // button face, as the rest of the window

    Chart1 = new ResponseChart(this);
    Chart1->setObjectName("Chart1");
    Chart1->setGeometry(0, 0, 409, 393);
    Chart1->setAccessibleName("АЧХ закрытого ящика на низких частотах");
    Chart1->setAccessibleDescription(chartDescription);
    // The readout follows the pointer, or the arrow keys, as a tooltip, a window of its own:
    // nothing is drawn into the chart, so its saved pictures stay as they were.
    Chart1->viewport()->setMouseTracking(true);
    Chart1->viewport()->installEventFilter(this);
    Chart1->installEventFilter(this);
    // The curves leave the program from its menu: by a right-click into the plot, or from the
    // keyboard while the chart has the focus.
    for (QWidget *widget : {static_cast<QWidget *>(Chart1), Chart1->viewport()})
        offerMenu(widget, [this](QMenu &menu) { fillChartMenu(menu); });

    struct InputRow {
        int captionLabel;
        const char *caption;
        int symbolLabel;
        const char *symbol;
        int edit;
    };
    // A description at the left, the symbol right-aligned before the field.
    const auto addInputRow = [this](QGroupBox *box, const InputRow &row, int y) {
        QLabel *caption =
            row.caption ? newLabel(box, row.captionLabel, row.caption, 8, y + 4) : nullptr;
        QLabel *symbol = newFixedLabel(box, row.symbolLabel, row.symbol, QRect(160, y + 4, 84, 13));
        symbol->setAlignment(Qt::AlignRight | Qt::AlignTop);
        edits.push_back(
            newEdit(box, row.edit, fieldSpec(row.edit).defaultText, QRect(248, y, 41, 21)));
        nameField(edits.back(), {caption, symbol});
    };

    QGroupBox *driver = newGroupBox(this, 7, "Параметры динамика", QRect(416, 0, 313, 145));
    driver->setAccessibleDescription("Параметры Тиля — Смолла динамика");
    constexpr std::array<InputRow, 5> driverRows{{
        {56, "Резонансная частота, Гц", 61, "Fs =", 31},
        {57, "Сопротивление звуковой катушки, Ом", 62, "Re =", 32},
        {58, "Механическая добротность", 63, "Qms =", 33},
        {59, "Электрическая добротность", 64, "Qes =", 34},
        {60, "Эквивалентный объем, л", 65, "Vas =", 35},
    }};
    for (std::size_t i = 0; i < driverRows.size(); ++i)
        addInputRow(driver, driverRows[i], 16 + 24 * static_cast<int>(i));

    QGroupBox *enclosure = newGroupBox(this, 8, "Параметры крпуса колонки (\"закрытый ящик\")",
                                       QRect(416, 152, 313, 105));
    enclosure->setAccessibleDescription(
        "Объём закрытого ящика и выходное сопротивление усилителя, которое его питает");
    addInputRow(enclosure, {66, "Внутренний объем корпуса, л", 67, "Vb =", 36}, 16);
    QLabel *routCaption =
        newLabel(enclosure, 105, "Требуемое Rвых для получения Qtc = 0,7 (Ом)", 8, 50);
    Label107 = newFixedLabel(enclosure, 107, "5,996", QRect(248, 50, 57, 13));
    nameResult(Label107, {routCaption});
    Label107->setIndent(3); // digits in line with the text of the fields below
    addInputRow(enclosure, {0, nullptr, 80, "Rвых усилителя (Ом) =", 37}, 72);
    findChild<QLabel *>("Label80")->setGeometry(8, 76, 236, 13);

    // Results, in navy like the frame's caption.
    QGroupBox *results = newGroupBox(this, 9, "Результаты", QRect(416, 260, 313, 93));
    setTextColour(results, clNavy());
    results->setAccessibleDescription(
        "Добротность и частота среза колонки при Rвых = 0 (исходные) и при Rвых усилителя (новые)");
    struct ResultRow {
        int captionLabel;
        const char *caption;
        int symbolLabel;
        const char *symbol;
        QLabel *SpeakerPage::*value;
        int valueLabel;
        const char *designText;
    };
    using S = SpeakerPage;
    const std::array<ResultRow, 4> resultRows{{
        {74, "Исходная добротность колонки", 78, "Qtc =", &S::Label76, 76, "0,238"},
        {75, "Исходная частота среза на низких (Гц)", 79, "F3 =", &S::Label77, 77, "103,9"},
        {68, "Новая добротность колонки", 70, "Qtc' =", &S::Label72, 72, "0,7"},
        {69, "Новая частота среза на низких, Гц", 71, "F3' =", &S::Label73, 73, "32,1"},
    }};
    for (std::size_t i = 0; i < resultRows.size(); ++i) {
        const ResultRow &row = resultRows[i];
        const int y = 18 + 18 * static_cast<int>(i);
        QLabel *caption = newLabel(results, row.captionLabel, row.caption, 8, y);
        QLabel *symbol = newFixedLabel(results, row.symbolLabel, row.symbol, QRect(200, y, 44, 13));
        symbol->setAlignment(Qt::AlignRight | Qt::AlignTop);
        this->*row.value =
            newFixedLabel(results, row.valueLabel, row.designText, QRect(248, y, 57, 13));
        nameResult(this->*row.value, {caption, symbol});
    }

    // Keyboard order: the fields, the chart, then the button.
    Chart1->setFocusPolicy(Qt::StrongFocus);
    Button7 = newButton(this, 7, "Вычислить", QRect(416, 360, 313, 33), true);
    Button7->setDefault(true);
    QWidget::setTabOrder(edits.back(), Chart1);
    QWidget::setTabOrder(Chart1, Button7);
    connect(Button7, &QPushButton::clicked, this,
            [this] { runHandler([this] { Button7Click(); }); });

    // The results' menu opens on every result, on the caption of the required Rвых and, for the
    // keyboard, on the button.
    const auto fill = [this](QMenu &menu) { fillResultMenu(menu); };
    for (QWidget *widget : std::initializer_list<QWidget *>{routCaption, Button7})
        offerMenu(widget, fill);
    describeMenuButton(Button7, offeredActions(nullptr));
    for (QLabel *result : {Label76, Label77, Label72, Label73, Label107}) {
        describeResult(result, [this, result] { return resultTip(result); });
        offerMenu(result, fill);
        offerCopy(result, [this] { copyResults(); });
    }

    fields.addGroup(FieldGroup::Speaker, edits, {Label72, Label73, Label76, Label77, Label107},
                    [this] {
                        run.markStale();
                        emptyChart();
                    });
    fields.setDefaultButton(Button7);
}

void SpeakerPage::FormShow() {
    // Nothing calculated by the user yet: the report stays empty and "Сохранить" disabled.
    last.schemeKind = SchemeKind::None;
    last.speakerDone = 0;
    run.clear();
    Chart1->emptySeries();
    fields.beginRun(FieldGroup::Speaker, false);
    if (fields.checkFields(FieldGroup::Speaker, false))
        computeClosedBox();
}

void SpeakerPage::Button7Click() {
    last.speakerDone = 1;
    run.clear();
    emptyChart();
    fields.beginRun(FieldGroup::Speaker, true);
    // A range fault here leaves "Сохранить" enabled, unlike on the amplifier pages.
    if (fields.checkFields(FieldGroup::Speaker, false))
        computeClosedBox();
}

// Also takes down a readout of the old curves that a resting pointer would leave up.
void SpeakerPage::emptyChart() {
    Chart1->emptySeries();
    QToolTip::hideText();
    Chart1->setAccessibleDescription(chartDescription);
}

void SpeakerPage::computeClosedBox() {
    const ResponseChart::AxesHold refill(*Chart1); // both curves in, then one fit of the axes
    const Driver driver{last.fs, last.re, last.qms, last.qes, last.vas};
    const ClosedBox box = closedBox(driver, last.vb, last.speakerRout);
    const auto frequencies = responseFrequencies();

    Label76->setText(shown(displayRounded(box.qtc, 3)));
    Label77->setText(shown(displayRounded(box.f3, 2)));
    last.qtc = box.qtc;
    last.f3 = box.f3;
    Chart1->setPoints(0, responseCurve(frequencies, box.fc, box.qtc));

    Label72->setText(shown(displayRounded(box.qtcNew, 3)));
    Label73->setText(shown(displayRounded(box.f3New, 2)));
    last.qtcNew = box.qtcNew;
    last.f3New = box.f3New;

    // When Qms alone brings the box to Qtc = 0,7, only an infinite output resistance (pure
    // current drive) would do. The label then shows a dash instead of a number, the record holds
    // 0 rather than the previous run's value, the rest of the page is completed (none of it
    // depends on this figure), and the fault is reported at the end.
    std::optional<ArithmeticFault> fault;
    std::optional<double> routRequired;
    try {
        routRequired = requiredOutputResistance(driver, box.s);
        last.routRequired = *routRequired;
        Label107->setText(shown(formatGeneral(last.routRequired)));
    } catch (const ArithmeticFault &error) {
        fault = error;
        last.routRequired = 0;
        Label107->setText("—");
    }

    Chart1->setPoints(1, responseCurve(frequencies, box.fc, box.qtcNew));
    Chart1->series(1)->setName("АЧХ при Rвых = " + shown(formatGeneral(last.speakerRout)) + "  Ом");
    run.keep({driver, last.vb, last.speakerRout, box, routRequired});
    if (fault)
        throw *fault;
}

// Whether the menu offers an action for a run; without one, the actions of every run.
bool SpeakerPage::offers(const ResultAction &action, const SpeakerRun *forRun) {
    return !action.offered || (forRun && action.offered(*forRun));
}

QStringList SpeakerPage::offeredActions(const SpeakerRun *forRun) {
    QStringList offered;
    for (const ResultAction &action : resultActions)
        if (offers(action, forRun))
            offered << action.hint;
    return offered;
}

// A result's tooltip: the value behind its text (for the required Rвых, what it means for the
// box), or why there is none; then its menu.
QString SpeakerPage::resultTip(const QLabel *result) const {
    const SpeakerRun *shownRun = run.valid();
    const QString hint = "\n" + menuHint(offeredActions(shownRun));
    if (!shownRun)
        return shown(run.whyNone()) + hint;
    if (result == Label107)
        return shown(qtcAdvice(*shownRun).text) + hint;
    struct Value {
        const QLabel *label;
        const char *name;
        double ClosedBox::*value;
        const char *unit;
    };
    const std::array<Value, 4> values{{
        {Label76, "Qtc", &ClosedBox::qtc, ""},
        {Label77, "F3", &ClosedBox::f3, " Гц"},
        {Label72, "Qtc'", &ClosedBox::qtcNew, ""},
        {Label73, "F3'", &ClosedBox::f3New, " Гц"},
    }};
    const Value &v = *std::find_if(values.begin(), values.end(),
                                   [result](const Value &v) { return v.label == result; });
    return QString("%1 = %2%3")
               .arg(v.name, shown(formatSignificant(shownRun->box.*v.value, 4)), v.unit) +
           hint;
}

void SpeakerPage::fillResultMenu(QMenu &menu) {
    ResultMenu items(menu, shown(run.whyNone()));
    for (const ResultAction &action : resultActions)
        if (offers(action, run.valid())) {
            items.startSection();
            (this->*action.add)(items);
        }
}

// The required Rвых, as shown, into the Rвых field of either amplifier's Variant 2.
void SpeakerPage::addRoutToAmplifiers(ResultMenu &menu) {
    struct Target {
        SchemeKind kind;
        const char *item;
        int edit;
    };
    constexpr std::array<Target, 2> targets{{
        {SchemeKind::NonInverting, "Rвых → Неинвертирующий, Вариант 2", 25},
        {SchemeKind::Inverting, "Rвых → Инвертирующий, Вариант 2", 10},
    }};
    const SpeakerRun *shownRun = run.valid();
    for (const Target &target : targets) {
        std::string rout;
        QString whyNot;
        if (shownRun && !shownRun->routRequired) {
            whyNot = "Нет Rвых для Qtc = 0,7: её дало бы лишь бесконечное Rвых";
        } else if (shownRun) {
            rout = formatGeneral(*shownRun->routRequired);
            const FieldSpec &field = fieldSpec(target.edit);
            if (!fieldTakes(field, rout))
                whyNot = shown("Rвых = " + rout + " Ом вне диапазона " + rangeText(field, "Ом"));
        }
        menu.addItem(target.item, whyNot, [this, kind = target.kind, rout] {
            emit routForAmplifier(kind, shown(rout));
        });
    }
}

// The box volume that reaches Qtc = 0,7 at Rвых = 0, computed as "Вычислить" computes.
void SpeakerPage::addVolumeForTarget(ResultMenu &menu) {
    const QString volume = shown(formatGeneral(volumeForTarget(*run.valid()).value_or(0)));
    menu.addItem("Vb = " + volume + " л → поле Vb", {}, [this, volume] {
        fields.replaceText(edits[5], volume);
        Button7->click();
    });
}

void SpeakerPage::addCopy(ResultMenu &menu) {
    menu.addItem("Копировать результаты", {}, [this] { copyResults(); });
}

void SpeakerPage::takeAmplifierRout(const QString &rout) {
    fields.replaceText(edits[6], rout);
    Button7->click();
}

// One line for each input and result, «Fs = 19 Гц».
void SpeakerPage::copyResults() const {
    const SpeakerRun *shownRun = run.valid();
    if (!shownRun)
        return;
    const Driver &d = shownRun->driver;
    const ClosedBox &box = shownRun->box;
    const auto line = [](const char *name, const std::string &value, const char *unit) {
        return CopyLine{name, shown(value), unit};
    };
    copyLines({
        line("Fs", formatGeneral(d.fs), "Гц"),
        line("Re", formatGeneral(d.re), "Ом"),
        line("Qms", formatGeneral(d.qms), ""),
        line("Qes", formatGeneral(d.qes), ""),
        line("Vas", formatGeneral(d.vas), "л"),
        line("Vb", formatGeneral(shownRun->vb), "л"),
        line("Rвых усилителя", formatGeneral(shownRun->rout), "Ом"),
        line("Qtc", displayRounded(box.qtc, 3), ""),
        line("F3", displayRounded(box.f3, 2), "Гц"),
        line("Qtc'", displayRounded(box.qtcNew, 3), ""),
        line("F3'", displayRounded(box.f3New, 2), "Гц"),
        line("Требуемое Rвых",
             shownRun->routRequired ? formatGeneral(*shownRun->routRequired) : "—", "Ом"),
    });
}

void SpeakerPage::fillChartMenu(QMenu &menu) {
    ResultMenu items(menu, run.valid() ? QString() : "График пуст: нажмите «Вычислить»");
    items.addItem("Экспорт АЧХ в FRD…", {}, [this] { exportResponse(); });
    items.addItem("Копировать таблицу АЧХ", {}, [this] {
        if (const SpeakerRun *shownRun = run.valid())
            QApplication::clipboard()->setText(shown(responseTable(*shownRun)));
    });
}

// Both curves as FRD files into the folder the dialog chooses; the word after it names them.
void SpeakerPage::exportResponse() {
    if (!run.valid())
        return;
    const SpeakerRun exported = *run.valid();
    const QString folder =
        QFileDialog::getExistingDirectory(this, "Папка для файлов АЧХ (FRD)", QDir::currentPath());
    if (folder.isEmpty())
        return;
    writeResponseFiles(QFile::encodeName(folder).toStdString(), exported);
    announce(Chart1, shown(savedNotice(QDir(folder).absolutePath().toStdString(),
                                       {frdFileName(exported, ResponseCurve::IdealSource),
                                        frdFileName(exported, ResponseCurve::RunRout)})));
}

QString SpeakerPage::readoutAt(double f) const {
    const SpeakerRun &r = *run.valid();
    return "f = " + shown(displayRounded(f, 1)) +
           " Гц; Rвых = 0: " + decibels(responseLevel(f, r.box.fc, r.box.qtc)) +
           "; Rвых = " + shown(formatGeneral(r.rout)) +
           " Ом: " + decibels(responseLevel(f, r.box.fc, r.box.qtcNew));
}

QString SpeakerPage::chartReadout(QPoint at) const {
    if (!run.valid() || Chart1->series(0)->count() == 0)
        return {};
    QChart *chart = Chart1->chart();
    const QPointF point = chart->mapFromScene(Chart1->mapToScene(at));
    if (!chart->plotArea().contains(point))
        return {};
    return readoutAt(chart->mapToValue(point, Chart1->series(0)).x());
}

// The keyboard twin of the pointer's readout: it stands on a grid point of the curves, shown at
// the upper curve, and a screen reader reads it as the chart's description.
void SpeakerPage::showKeyboardReadout() {
    const SpeakerRun *shownRun = run.valid();
    if (!shownRun || Chart1->series(1)->count() == 0)
        return;
    const auto frequencies = responseFrequencies();
    if (readoutPoint < 0) // the first time at the grid point nearest the box's resonance
        readoutPoint = static_cast<int>(
            std::min_element(frequencies.begin(), frequencies.end(),
                             [fc = shownRun->box.fc](double a, double b) {
                                 return std::fabs(std::log(a / fc)) < std::fabs(std::log(b / fc));
                             }) -
            frequencies.begin());
    const double f = frequencies[static_cast<std::size_t>(readoutPoint)];
    const QString text = readoutAt(f) + "\n" + chartMenuHint;
    Chart1->setAccessibleDescription(text);
    const QPointF level = Chart1->chart()->mapToPosition(
        QPointF(f, responseLevel(f, shownRun->box.fc, shownRun->box.qtcNew)), Chart1->series(1));
    const QPoint at = Chart1->mapFromScene(Chart1->chart()->mapToScene(level));
    QToolTip::showText(Chart1->viewport()->mapToGlobal(at), text, Chart1->viewport());
}

// Left and Right move the readout along the grid. The tooltip hides itself on every key, so it
// is shown again when the key comes up; Tab onto the chart shows it where it stood.
bool SpeakerPage::chartKey(QEvent *event) {
    switch (event->type()) {
    case QEvent::FocusIn: {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            showKeyboardReadout();
        return false;
    }
    case QEvent::FocusOut:
        QToolTip::hideText();
        return false;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Left && key != Qt::Key_Right)
            return false;
        if (readoutPoint >= 0)
            readoutPoint =
                std::clamp(readoutPoint + (key == Qt::Key_Right ? 1 : -1), 0, responsePoints - 1);
        showKeyboardReadout();
        return true;
    }
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!key->isAutoRepeat() && Chart1->hasFocus() && readoutPoint >= 0)
            showKeyboardReadout();
        return false;
    }
    default:
        return false;
    }
}

// The readout follows the pointer. The chart's scene answers the tooltip request that comes
// when the pointer rests with a hidden tip (none of its items has one), so that request is
// answered here instead.
bool SpeakerPage::eventFilter(QObject *watched, QEvent *event) {
    if (watched == Chart1)
        return chartKey(event);
    if (watched != Chart1->viewport() ||
        (event->type() != QEvent::MouseMove && event->type() != QEvent::ToolTip))
        return QWidget::eventFilter(watched, event);
    const bool move = event->type() == QEvent::MouseMove;
    const QPoint at = move ? static_cast<QMouseEvent *>(event)->position().toPoint()
                           : static_cast<QHelpEvent *>(event)->pos();
    const QString text = chartReadout(at);
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(Chart1->viewport()->mapToGlobal(at), text + "\n" + chartMenuHint,
                           Chart1->viewport());
    return !move;
}
