// The seven calculators driven through the real window over a coarse grid of every field (its
// lower bound, a middle value, its upper bound, typed as a user types them), and once more from
// values beyond each bound that the field check clamps. After every run: nothing non-finite
// shown, every result label reads back as the value stored, and the results agree with the
// nodal solution of the circuit or the textbook closed box.

#include "amplifier/widgets/amplifier_page.h"
#include "closed_box_model.h"
#include "ngspice_run.h"
#include "speaker/widgets/response_chart.h"
#include "sweep_checks.h"
#include "ui/classic_look.h"
#include "window_fixture.h"

#include <QApplication>
#include <QChart>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>
#include <map>
#include <memory>
#include <random>

namespace {

// A field's accepted range, whether it is typed in kilo-ohms, and whether the coarse grid takes
// its bounds only.
struct Range {
    double min, max;
    bool kiloOhm = false;
    bool boundsOnly = false;
};
const Range kiloOhm{0.05, 1000, true}, load{1, 100}, sense{0.05, 20}, rout{0.1, 200}, gain{3, 300};

// A number as the user types it: decimal comma, no exponent.
QString typed(double value) { return QString::number(value, 'g', 6).replace('.', ','); }

// The bounds and a round value near the geometric middle of the range.
QStringList coarseGrid(const Range &r) {
    if (r.boundsOnly)
        return {typed(r.min), typed(r.max)};
    const double middle = std::sqrt(r.min * r.max);
    const double step = std::pow(10.0, std::floor(std::log10(middle)));
    return {typed(r.min), typed(std::round(middle / step) * step), typed(r.max)};
}

enum class Variant { R2ForRout, R1R2ForGainAndRout, KnownNetwork };

// The five fields of a variant, in check order.
std::array<Range, 5> fieldsOf(Variant v) {
    switch (v) {
    case Variant::R2ForRout:
        return {kiloOhm, kiloOhm, load, sense, rout}; // R1, Roc, Rн, Rт, Rвых
    case Variant::R1R2ForGainAndRout:
        return {gain, kiloOhm, load, sense, rout}; // Ку, Roc, Rн, Rт, Rвых
    case Variant::KnownNetwork:
        break;
    }
    return {kiloOhm, kiloOhm, kiloOhm, load, sense}; // R1, R2, Roc, Rн, Rт
}

struct Calculator {
    const char *name;
    int page;
    Variant variant;
    Stage stage;
    int firstEdit; // the first of its five fields
    int button;    // the N of ButtonN, LabelN
    int first;
    int second;
    int message; // 0: none for a known network
    const char *noSolution;
};

const Calculator calculators[] = {
    {"non-inverting Variant 1", 0, Variant::R2ForRout, Stage::NonInverting, 16, 4, 35, 36, 82,
     "Решения нет"},
    {"non-inverting Variant 2", 0, Variant::R1R2ForGainAndRout, Stage::NonInverting, 21, 5, 44, 45,
     81, "Решения нет"},
    {"non-inverting Variant 3", 0, Variant::KnownNetwork, Stage::NonInverting, 26, 6, 53, 54, 0,
     nullptr},
    {"inverting Variant 1", 1, Variant::R2ForRout, Stage::Inverting, 1, 1, 8, 9, 83,
     "Решения нет!"},
    {"inverting Variant 2", 1, Variant::R1R2ForGainAndRout, Stage::Inverting, 6, 2, 17, 18, 84,
     "Решения нет"},
    {"inverting Variant 3", 1, Variant::KnownNetwork, Stage::Inverting, 11, 3, 26, 27, 0, nullptr},
};

// Fs, Re, Qms, Qes, Vas, Vb, Rвых of the loudspeaker page. Fs only scales the frequencies and Re
// acts only through Rвых/Re, so they take their bounds; every run redraws the chart.
const std::array<Range, 7> speakerFields{{{10, 500, false, true},
                                          {1, 100, false, true},
                                          {0.1, 10},
                                          {0.1, 10},
                                          {2, 500},
                                          {3, 500},
                                          {0.1, 200}}};

std::string text(const QLabel *label) { return label->text().toStdString(); }

double read(const QString &fieldText) { return QString(fieldText).replace(',', '.').toDouble(); }

} // namespace

class PageSweepsTest : public ProgramWindowTest {
    Q_OBJECT

    QStringList reports;            // texts of the error reports of the current run
    std::map<QString, int> endings; // how the runs of a sweep ended, for the log

    // Clicks the button; an error report the run ends with is answered and its text kept.
    void run(QPushButton *button) {
        reports.clear();
        QTest::mouseClick(button, Qt::LeftButton);
    }

    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Show)
            if (auto *box = qobject_cast<QMessageBox *>(watched)) {
                reports << box->text();
                QMetaObject::invokeMethod(box, &QMessageBox::accept, Qt::QueuedConnection);
            }
        return false;
    }

    // The field values as typed, in the units of the calculation (kilo-ohms in ohms).
    template <std::size_t N>
    std::array<double, N> inputs(int firstEdit, const std::array<Range, N> &fields) {
        std::array<double, N> values;
        for (std::size_t i = 0; i < N; ++i)
            values[i] = read(edit(firstEdit + int(i))->text()) * (fields[i].kiloOhm ? 1000 : 1);
        return values;
    }

    QString where(const Calculator &c) {
        QString fields;
        for (int i = 0; i < 5; ++i)
            fields += ' ' + edit(c.firstEdit + i)->text();
        return c.name + (":" + fields);
    }

    // What one amplifier run must show, given that a key-down had set its results to "0": on
    // every path the results either stay "0" or read back as the values stored (which no "INF"
    // or "NAN" does).
    void verifyAmplifierRun(const Calculator &c) {
        const auto where = [&] { return this->where(c); };
        const LastResults &last = form->lastResults();
        const QLabel *first = label(c.first);
        const QLabel *second = label(c.second);
        const QLabel *message = c.message ? label(c.message) : nullptr;
        const bool written = first->text() != "0" || second->text() != "0";
        const bool shown = message && message->isVisible();
        SWEEP_VERIFY(form->Label55->isHidden() && form->Button10->isEnabled(), where);
        for (const double stored : {last.r1, last.r2, last.roc, last.rt, last.rload, last.rout,
                                    last.gain, last.targetGain})
            SWEEP_VERIFY(std::isfinite(stored), where);
        ++endings[!reports.isEmpty() ? "error report"
                  : shown            ? message->text()
                  : written          ? "result"
                                     : "nothing shown"];
        SWEEP_VERIFY(reports.isEmpty(), where); // no arithmetic fault on any of these grids

        const auto [a, b, cc, d, e] = inputs(c.firstEdit, fieldsOf(c.variant));
        switch (c.variant) {
        case Variant::KnownNetwork: {
            const Network n{a, b, cc, e};
            const double rout = theveninResistance(n);
            SWEEP_VERIFY(showsRounded(text(first), last.rout, 2), where);
            SWEEP_VERIFY(showsRounded(text(second), last.gain, 1), where);
            SWEEP_VERIFY(std::fabs(last.rout - rout) <= routTolerance(c.stage, n, d) * rout, where);
            SWEEP_VERIFY(std::fabs(last.gain - nodalGain(c.stage, n, d)) <=
                             gainTolerance(c.stage, n, d) * last.gain,
                         where);
            return;
        }
        case Variant::R2ForRout: {
            const double r1 = a, roc = b, rload = cc, rt = d, target = e;
            if (rt >= target) {
                SWEEP_VERIFY(shown && message->text() == "R < Rвых!" && !written, where);
                return;
            }
            if (shown) {
                SWEEP_VERIFY(message->text() == c.noSolution && !written, where);
                SWEEP_VERIFY(r2Reach(c.stage, {r1, 0, roc, rt}, rload, target).none, where);
                return;
            }
            // Shown is the lower end of the final bracket; the record holds its last midpoint,
            // one end of it.
            const double width = (10'000'000.0 - 10) / std::pow(2.0, 37);
            SWEEP_VERIFY(showsRounded(text(first), last.r2 / 1000, 2) ||
                             showsRounded(text(first), (last.r2 - width) / 1000, 2),
                         where);
            SWEEP_VERIFY(showsRounded(text(second), last.gain, 1), where);
            SWEEP_VERIFY(bracketHoldsTarget(c.stage, {r1, last.r2 - width, roc, rt}, 2 * width,
                                            rload, target),
                         where);
            return;
        }
        case Variant::R1R2ForGainAndRout: {
            const double targetGain = a, roc = b, rload = cc, rt = d, target = e;
            if (rt >= target) {
                SWEEP_VERIFY(shown && message->text() == "R < Rвых!" && !written, where);
                return;
            }
            // Without a message a positive pair, from Newton's method or the line of Rвых; a
            // message only where Ку on that line stays above the target.
            const bool negative = last.r1 < 0 || last.r2 < 0;
            const bool stopped = last.r1 == 0 && last.r2 == 0;
            SWEEP_VERIFY(showsRounded(text(first), last.r1 / 1000, 2), where);
            SWEEP_VERIFY(showsRounded(text(second), last.r2 / 1000, 2), where);
            if (shown) {
                SWEEP_VERIFY(message->text() == (negative ? "Увеличьте R!" : c.noSolution), where);
                SWEEP_VERIFY(message->toolTip().startsWith("При Roc = "), where);
                SWEEP_VERIFY(targetGain <=
                                 nodalLineFloor(c.stage, roc, rload, rt, target) * (1 + 1e-9),
                             where);
                return;
            }
            SWEEP_VERIFY(!negative && !stopped && message->toolTip().isEmpty(), where);
            SWEEP_VERIFY(
                meetsTargets(c.stage, {last.r1, last.r2, roc, rt}, rload, targetGain, target),
                where);
            return;
        }
        }
    }

    // What a loudspeaker run must show: the five figures, both curves on the same ascending
    // grid with finite levels, and the level axis from its −16 dB floor to the highest point.
    void verifySpeakerRun() {
        const auto where = [&] {
            QString fields;
            for (int n = 31; n <= 37; ++n)
                fields += ' ' + edit(n)->text();
            return "loudspeaker:" + fields;
        };
        const LastResults &last = form->lastResults();
        for (const double stored : {last.routRequired, last.qtc, last.f3, last.qtcNew, last.f3New})
            SWEEP_VERIFY(std::isfinite(stored), where);
        const auto [fs, re, qms, qes, vas, vb, rout] = inputs(31, speakerFields);
        const Driver d{fs, re, qms, qes, vas};
        const Textbook t = textbook(d, vb, rout);
        SWEEP_VERIFY(std::fabs(last.qtc / t.qtc - 1) < 1e-14, where);
        SWEEP_VERIFY(std::fabs(last.qtcNew / t.qtcNew - 1) < 1e-14, where);
        const double halfPowerDb = -10 * std::log10(2.0);
        SWEEP_VERIFY(std::fabs(highPassDb(last.f3, t.fc, t.qtc) - halfPowerDb) < 1e-9, where);
        SWEEP_VERIFY(std::fabs(highPassDb(last.f3New, t.fc, t.qtcNew) - halfPowerDb) < 1e-9, where);
        SWEEP_VERIFY(showsRounded(text(label(76)), last.qtc, 3), where);
        SWEEP_VERIFY(showsRounded(text(label(77)), last.f3, 2), where);
        SWEEP_VERIFY(showsRounded(text(label(72)), last.qtcNew, 3), where);
        SWEEP_VERIFY(showsRounded(text(label(73)), last.f3New, 2), where);
        // Without a finite required Rвых (s/0,7 = 1/Qms) the page shows a dash and reports.
        if (reports.isEmpty())
            SWEEP_VERIFY(showsRounded(text(label(107)), last.routRequired, 3), where);
        else
            SWEEP_VERIFY(label(107)->text() == "—", where);

        double top = -std::numeric_limits<double>::infinity();
        for (int i = 0; i < 2; ++i) {
            const QList<QPointF> points = form->TabSheet3->chart()->series(i)->points();
            SWEEP_VERIFY(points.size() == 100, where);
            const double q = i == 0 ? t.qtc : t.qtcNew;
            for (qsizetype k = 0; k < points.size(); ++k) {
                const QPointF p = points[k];
                SWEEP_VERIFY(k == 0 || p.x() > points[k - 1].x(), where);
                SWEEP_VERIFY(p.x() == form->TabSheet3->chart()->series(0)->at(k).x(), where);
                SWEEP_VERIFY(std::isfinite(p.y()), where);
                SWEEP_VERIFY(std::fabs(p.y() - highPassDb(p.x(), t.fc, q)) < 1e-9, where);
                top = std::max(top, p.y());
            }
        }
        // The chart keeps every level; the level axis clips at its −16 dB floor and reaches up
        // to the highest point (the pass band when every point lies below the floor).
        const auto *frequency = qobject_cast<QLogValueAxis *>(
            form->TabSheet3->chart()->chart()->axes(Qt::Horizontal).value(0));
        const auto *level = qobject_cast<QValueAxis *>(
            form->TabSheet3->chart()->chart()->axes(Qt::Vertical).value(0));
        SWEEP_VERIFY(frequency->min() == form->TabSheet3->chart()->series(0)->at(0).x() &&
                         frequency->max() == form->TabSheet3->chart()->series(0)->at(99).x(),
                     where);
        SWEEP_VERIFY(level->min() == -16 && level->max() == (top > -16 ? top : 0), where);
    }

    // Types every combination of the texts into the fields (only the fields that change), runs
    // the calculator after each and checks the run.
    template <std::size_t N, typename Verify>
    void sweep(int firstEdit, const std::array<Range, N> &fields, QPushButton *button,
               Verify verify, int &runs) {
        std::array<QStringList, N> texts;
        std::array<std::vector<double>, N> indices;
        for (std::size_t i = 0; i < N; ++i) {
            texts[i] = coarseGrid(fields[i]);
            for (int k = 0; k < texts[i].size(); ++k)
                indices[i].push_back(k);
        }
        forEachCombination<N>(indices, [&](const std::array<double, N> &at) {
            for (std::size_t i = 0; i < N; ++i) {
                const QString &value = texts[i][int(at[i])];
                if (edit(firstEdit + int(i))->text() != value || runs == 0)
                    type(firstEdit + int(i), value);
            }
            run(button);
            ++runs;
            verify();
        });
    }

    // Each field in turn typed beyond its bounds: the check puts the bound in and stops; run
    // again, the bound computes like any other value.
    template <std::size_t N, typename Verify>
    void clampEachField(int firstEdit, const std::array<Range, N> &fields, QPushButton *button,
                        bool saveStaysEnabled, Verify verify) {
        for (std::size_t i = 0; i < N; ++i) {
            const int n = firstEdit + int(i);
            const QString before = edit(n)->text();
            for (const auto &[beyond, bound] : {std::pair{fields[i].min * 0.9, fields[i].min},
                                                std::pair{fields[i].max * 1.1, fields[i].max}}) {
                type(n, typed(beyond));
                run(button);
                QVERIFY(form->Label55->isVisible());
                QCOMPARE(form->Button10->isEnabled(), saveStaysEnabled);
                QCOMPARE(read(edit(n)->text()), bound);
                QVERIFY(reports.isEmpty());
                run(button);
                QVERIFY(form->Label55->isHidden());
                verify();
                if (QTest::currentTestFailed())
                    return;
            }
            type(n, before);
        }
    }

private slots:
    void initTestCase() {
        applyClassicLook(*qApp);
        qApp->installEventFilter(this);
    }

    void init() { QVERIFY(openWindows()); }
    void cleanup() { closeWindows(); }

    void amplifierPages_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(calculators)); ++i)
            QTest::newRow(calculators[i].name) << i;
    }

    void amplifierPages() {
        QFETCH(int, index);
        const Calculator &c = calculators[index];
        form->PageControl1->setCurrentIndex(c.page);
        QPushButton *calculate = button(c.button);
        const auto verify = [&] { verifyAmplifierRun(c); };
        int runs = 0;
        endings.clear();
        sweep(c.firstEdit, fieldsOf(c.variant), calculate, verify, runs);
        if (QTest::currentTestFailed())
            return;
        clampEachField(c.firstEdit, fieldsOf(c.variant), calculate, false, verify);
        QString log;
        for (const auto &[ending, count] : endings)
            log += QString(", %1 × %2").arg(count).arg(ending);
        qInfo("%s: %d runs over the grid, %d from clamped fields%s", c.name, runs, 10,
              qPrintable(log));
    }

    // Newton's iteration on the non-inverting page can run away: R1 grows by 10 % at every
    // point whose two load currents come out equal until it overflows, or R2 lands on exactly
    // 0. The line of Rвых then finds the pair, with no error report.
    void newtonRunawayEndsOnTheLine() {
        const Calculator &c = calculators[1];
        QCOMPARE(c.name, "non-inverting Variant 2");
        const char *cases[][5] = {{"13", "30", "13", "1", "5,2"},
                                  {"37", "850", "24", "0,054", "2,1"}};
        for (const auto &runaway : cases) {
            for (int i = 0; i < 5; ++i)
                type(c.firstEdit + i, runaway[i]);
            run(button(c.button));
            QVERIFY(label(c.first)->text() != "0");
            verifyAmplifierRun(c);
            if (QTest::currentTestFailed())
                return;
        }
    }

    // Each calculator's netlist, exported through its result menu and solved by ngspice as it
    // was written: the Ку and Rвых that `ngspice -b` prints agree with the run the window shows
    // to 1e-6, for the defaults and for random designs from the fields' ranges.
    void netlistsAgreeWithNgspice() {
        std::mt19937 random(20261208);
        QTemporaryDir dir;
        int solved = 0;
        for (const Calculator &c : calculators) {
            form->PageControl1->setCurrentIndex(c.page);
            const auto *page = static_cast<AmplifierPage *>(form->PageControl1->currentWidget());
            for (int design = 0; design < 5; ++design) {
                for (std::size_t i = 0; design > 0 && i < 5; ++i) {
                    const Range r = fieldsOf(c.variant)[i];
                    std::uniform_real_distribution<double> logValue(std::log(r.min),
                                                                    std::log(r.max));
                    type(c.firstEdit + int(i), typed(std::exp(logValue(random))));
                }
                run(button(c.button));
                const AmplifierRun *shown = page->validRun(int(c.variant) + 1);
                if (!shown)
                    continue; // refused: nothing to export
                const QString path = dir.filePath(QString("%1_%2.cir").arg(c.button).arg(design));
                answerFileDialog(path, [&] {
                    chooseItem(rightClickMenu(label(c.first)), "Сохранить схему для SPICE…");
                });
                const auto spice = measureWithNgspice(path);
                QVERIFY2(spice, qPrintable(where(c)));
                QVERIFY2(std::fabs(spice->gain / shown->outputs.gain - 1) < 1e-6,
                         qPrintable(where(c)));
                QVERIFY2(std::fabs(spice->rout / shown->outputs.rout - 1) < 1e-6,
                         qPrintable(where(c)));
                ++solved;
            }
        }
        QVERIFY(solved >= 20);
    }

    void speakerPage() {
        form->PageControl1->setCurrentIndex(2);
        const auto verify = [&] { verifySpeakerRun(); };
        int runs = 0;
        sweep(31, speakerFields, button(7), verify, runs);
        if (QTest::currentTestFailed())
            return;
        clampEachField(31, speakerFields, button(7), true, verify);
        qInfo("loudspeaker: %d runs over the grid", runs);
    }
};

QTEST_MAIN(PageSweepsTest)
#include "test_page_sweeps.moc"
