#include "driver_load/widgets/driver_figures.h"

#include "driver_load/widgets/driver_chart.h"
#include "driver_load/widgets/driver_window_menus.h"
#include "ui/accessible_names.h"
#include "ui/classic_look.h"
#include "ui/shown_text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

namespace {

// Where each figure stands: in the limits box (one column) or under the charts (three columns),
// by its index in driverResults.
struct Place {
    bool limits;
    int row;
    int column;
};
constexpr std::array<Place, driverResultCount> places{{
    {false, 0, 0}, // the pass band's loss
    {false, 1, 0}, // F3
    {false, 0, 1}, // the largest excursion
    {true, 0, 0},  // the power that reaches Xmax
    {false, 1, 1}, // the op-amp's voltage
    {false, 2, 1}, // the current
    {false, 0, 2}, // the power in Rт
    {false, 2, 0}, // the Rвых for the target Qtc
    {true, 1, 0},  // the frequency below which the cone goes beyond Xmax
    {true, 2, 0},  // the highest level at 20 Гц
    {true, 3, 0},  // 30 Гц
    {true, 4, 0},  // 40 Гц
    {true, 5, 0},  // 60 Гц
    {false, 1, 2}, // the thermal compression at the amplifier's Rвых
    {false, 2, 2}, // and at Rвых = 0
    {false, 0, 3}, // the vented box's Rвых for B4, in a column of its own
    {false, 1, 3}, // Vb for B4
    {false, 2, 3}, // Fb for B4
    {true, 6, 0},  // the Rвых without a rise
    {true, 7, 0},  // its F3
    {true, 8, 0},  // the port's length
}};
constexpr int resultRows = 3, limitRows = 9, ventedColumn = 3;

} // namespace

DriverFigures::DriverFigures(QWidget *window, DriverWindowMenus &menus,
                             std::function<QString(std::size_t)> tip) {
    resultsBox = new QGroupBox("Результаты при Rвых усилителя", window);
    limitsBox = new QGroupBox("Пределы при Rвых усилителя", window);
    auto *resultsGrid = new QGridLayout(resultsBox);
    auto *limitsGrid = new QGridLayout(limitsBox);
    // The vented box's column beside the others, in a grid of its own, so that the closed box's
    // columns stay as they are while it is hidden.
    vented = new QWidget(resultsBox);
    auto *ventedGrid = new QGridLayout(vented);
    ventedGrid->setContentsMargins(0, 0, 0, 0);
    resultsGrid->addWidget(vented, 0, 3 * ventedColumn, resultRows, 1);
    for (QLayout *grid : std::initializer_list<QLayout *>{resultsGrid, limitsGrid, ventedGrid})
        grid->setSpacing(4);
    for (QGroupBox *box : {resultsBox, limitsBox})
        setTextColour(box, clNavy());
    // Made box by box, so that Tab goes through the limits first, then the results.
    for (const bool limitsFirst : {true, false})
        for (std::size_t i = 0; i < values.size(); ++i) {
            const Place &place = places[i];
            if (place.limits != limitsFirst)
                continue;
            QWidget *box = place.limits                   ? limitsBox
                           : place.column == ventedColumn ? vented
                                                          : resultsBox;
            QLabel *name = captions[i] = new QLabel(box);
            QLabel *value = values[i] = new QLabel("—", box);
            value->setObjectName(QString("DriverResult%1").arg(i + 1));
            // Of a fixed size, so that a new value redraws the label alone, not the window's
            // layout.
            value->setFixedSize(place.limits ? 110 : 80, value->sizeHint().height());
            value->setFocusPolicy(Qt::StrongFocus);
            value->setStyleSheet("QLabel:focus { background-color: #c8dcff; }");
            nameResult(value, {name});
            describeResult(value, [tip, i] { return tip(i); });
            menus.offerOn(value);
            QGridLayout *grid = static_cast<QGridLayout *>(box->layout());
            // Caption, value, and the room before the next column.
            const int column = place.column == ventedColumn ? 0 : 3 * place.column;
            grid->addWidget(name, place.row, column);
            grid->addWidget(value, place.row, column + 1);
        }
    for (const int column : {2, 5, 8})
        resultsGrid->setColumnStretch(column, 1);
    limitsGrid->setColumnStretch(2, 1);
    limitsBox->setFixedWidth(DriverChart::size.width());
    limitsGrid->setRowStretch(limitRows, 1);
    showVented(false);

    // The advice keeps its room while hidden, so that nothing moves when it appears.
    advice = new QLabel(resultsBox);
    advice->setObjectName("TargetAdvice");
    advice->setWordWrap(true);
    advice->setMinimumHeight(advice->fontMetrics().lineSpacing());
    QSizePolicy policy = advice->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    advice->setSizePolicy(policy);
    advice->hide();
    resultsGrid->addWidget(advice, resultRows, 0, 1, 9);
    auto *hint =
        new QLabel("Меню результатов и графиков: " + DriverWindowMenus::hint() + ".", resultsBox);
    hint->setObjectName("MenuHint");
    hint->setWordWrap(true);
    setTextColour(hint, Qt::black);
    resultsGrid->addWidget(hint, resultRows + 1, 0, 1, 9);
}

void DriverFigures::nameFigures(double targetQtc) {
    const auto names = driverResultCaptions(targetQtc);
    for (std::size_t i = 0; i < captions.size(); ++i)
        captions[i]->setText(shown(names[i]) + " =");
}

void DriverFigures::show(const DriverLoadRun &computed) {
    nameFigures(computed.inputs.targetQtc);
    const auto figures = driverResults(computed);
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i]->setText(shown(figures[i].text));
        if (const QColor colour = figures[i].alarm ? Qt::red : Qt::black;
            values[i]->palette().color(QPalette::WindowText) != colour)
            setTextColour(values[i], colour);
    }
    const std::string said = driverAdvice(computed);
    advice->setText(shown(said));
    advice->setVisible(!said.empty());
}

void DriverFigures::showVented(bool shown) {
    vented->setVisible(shown);
    for (std::size_t i = firstVentedResult; i < values.size(); ++i)
        if (places[i].limits) {
            captions[i]->setVisible(shown);
            values[i]->setVisible(shown);
        }
}

void DriverFigures::clear() {
    for (QLabel *value : values)
        value->setText("—");
    advice->hide();
}
