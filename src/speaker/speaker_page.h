#pragma once

#include "core/last_results.h"

#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

class NumericFields;
class QLabel;
class QLineEdit;
class QPushButton;
class ResponseChart;

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

    // The chart readout at a point of the chart's viewport: the frequency there and both levels
    // of the last run, "f = 102,4 Гц; Rвых = 0: −3,08 дБ; Rвых = 6 Ом: −0,06 дБ". Empty outside
    // the plot and while the chart shows no curves.
    QString chartReadout(QPoint at) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // What the curves on the chart were computed from.
    struct Response {
        double fc = 0, qtc = 0, qtcNew = 0, rout = 0;
    };

    void emptyChart();
    void computeClosedBox();
    void copyResults() const;

    NumericFields &fields;
    LastResults &last;
    QLabel *Label72 = nullptr, *Label73 = nullptr; // Qtc', F3'
    QLabel *Label76 = nullptr, *Label77 = nullptr; // Qtc, F3
    QLabel *Label107 = nullptr;                    // the Rвых required for Qtc = 0,7
    std::vector<QLineEdit *> edits;                // Edit31 … Edit37
    // The inputs as typed for the results shown; none while the page shows no valid result.
    std::optional<std::vector<QString>> validInputs;
    Response shownResponse;
};
