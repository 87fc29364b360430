#pragma once

#include "core/last_results.h"
#include "core/last_valid_run.h"
#include "speaker/speaker_run.h"

#include <QString>
#include <QWidget>
#include <array>
#include <vector>

class NumericFields;
class QLabel;
class QLineEdit;
class QPushButton;
class ResponseChart;
class ResultMenu;

// "Пример применения": the closed box fed from an ideal source and through the amplifier's
// output resistance, with both responses on the chart.
class SpeakerPage : public QWidget {
    Q_OBJECT

public:
    SpeakerPage(NumericFields &fields, LastResults &last, QWidget *parent);

    ResponseChart *Chart1 = nullptr;
    QPushButton *Button7 = nullptr; // "Вычислить", the window's default button on this page

    // Computes the page from its fields before the window first appears; nothing counts as
    // calculated by the user yet.
    void FormShow();
    void Button7Click();

    // The last valid run; null while the page shows none.
    const SpeakerRun *validRun() const { return run.valid(); }

    // An amplifier's Rвых into the field of this page, then the calculation as "Вычислить" runs it.
    void takeAmplifierRout(const QString &rout);

    // The chart readout at a point of the chart's viewport: the frequency there and both levels
    // of the last run, "f = 102,4 Гц; Rвых = 0: −3,08 дБ; Rвых = 6 Ом: −0,06 дБ". Empty outside
    // the plot and while the chart shows no curves.
    QString chartReadout(QPoint at) const;

signals:
    // The required Rвых, as shown, for Variant 2 of an amplifier page.
    void routForAmplifier(SchemeKind kind, const QString &rout);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // One action of the page's result menu: how the result tooltips name it, when the run offers
    // it (always, when null), and what it adds to the menu.
    struct ResultAction {
        const char *hint;
        bool (*offered)(const SpeakerRun &run);
        void (SpeakerPage::*add)(ResultMenu &menu);
    };
    static const std::array<ResultAction, 3> resultActions;

    void emptyChart();
    void computeClosedBox();
    static bool offers(const ResultAction &action, const SpeakerRun *forRun);
    static QStringList offeredActions(const SpeakerRun *forRun);
    QString resultTip(const QLabel *result) const;
    void fillResultMenu(QMenu &menu);
    void addRoutToAmplifiers(ResultMenu &menu);
    void addVolumeForTarget(ResultMenu &menu);
    void addCopy(ResultMenu &menu);
    void copyResults() const;
    void fillChartMenu(QMenu &menu);
    void exportResponse();

    QString readoutAt(double f) const;
    bool chartKey(QEvent *event);
    void showKeyboardReadout();

    NumericFields &fields;
    LastResults &last;
    QLabel *Label72 = nullptr, *Label73 = nullptr; // Qtc', F3'
    QLabel *Label76 = nullptr, *Label77 = nullptr; // Qtc, F3
    QLabel *Label107 = nullptr;                    // the Rвых required for Qtc = 0,7
    std::vector<QLineEdit *> edits;                // Edit31 … Edit37
    LastValidRun<SpeakerRun> run;
    int readoutPoint = -1; // the grid point the keyboard readout stands on; -1 before the first
};
