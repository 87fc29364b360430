#include "tolerance/widgets/tolerance_window.h"

#include "input/widgets/bounded_field.h"
#include "input/widgets/field_keys.h"
#include "tolerance/spread_table.h"
#include "tolerance/tolerance_fields.h"
#include "ui/accessible_names.h"
#include "ui/classic_look.h"
#include "ui/design_widgets.h"
#include "ui/error_report.h"
#include "ui/shown_text.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// A cell as a screen reader announces it: «Rвых (Ом), Минимум = 0,59»; an empty one without
// the value.
QTableWidgetItem *newCell(const std::string &row, const std::string &column,
                          const std::string &value) {
    auto *cell = new QTableWidgetItem(shown(value));
    cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    const std::string name = row + ", " + column + (value.empty() ? "" : " = " + value);
    cell->setData(Qt::AccessibleTextRole, shown(name));
    return cell;
}

} // namespace

ToleranceWindow::ToleranceWindow(QWidget *parent) : QWidget(parent, designWindowFlags) {
    setUpWindow(this, "ToleranceWindow", "Разброс параметров");

    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize); // the window fits the table
    caption = new QLabel(this);
    caption->setObjectName("RunCaption");
    layout->addWidget(caption);

    auto *inputGrid = new QGridLayout;
    const auto inputFields = toleranceFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const ToleranceField &input = inputFields[i];
        auto *label = new QLabel(input.caption, this);
        QLineEdit *field = fields[i] = new QLineEdit(this);
        field->setObjectName(input.key);
        field->setText(input.defaultText);
        field->setFixedWidth(65);
        nameField(field, {label});
        bounded[i] = new BoundedField(field, {input.min, input.minText, input.max, input.maxText});
        connect(field, &QLineEdit::textChanged, this,
                [this] { runHandler([this] { fillTable(); }); });
        const int row = static_cast<int>(i);
        inputGrid->addWidget(label, row, 0);
        inputGrid->addWidget(field, row, 1);
    }
    inputGrid->setColumnStretch(2, 1);
    layout->addLayout(inputGrid);

    table = new QTableWidget(this);
    table->setObjectName("SpreadTable");
    table->setAccessibleName("Разброс параметров");
    table->setColumnCount(static_cast<int>(spreadColumns.size()));
    QStringList headers;
    for (const std::string &column : spreadColumns)
        headers << shown(column);
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setTabKeyNavigation(false); // Tab leaves the table for the button
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    layout->addWidget(table);

    status = newStatusLabel(this);
    layout->addWidget(status);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    copyButton = new QPushButton("Копировать", this);
    copyButton->setObjectName("CopyButton");
    connectHandler(copyButton, this, [this] { copyTable(); });
    buttons->addWidget(copyButton);
    auto *closeButton = new QPushButton("Закрыть", this);
    closeButton->setObjectName("CloseButton");
    connectHandler(closeButton, this, [this] { close(); });
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);
}

// Escape closes the window wherever the focus is: the keys a field leaves come up to here.
void ToleranceWindow::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

// A field that holds the focus finishes its editing as QWidget's destructor deletes it, when
// this window is no longer one to fill anything.
ToleranceWindow::~ToleranceWindow() {
    for (QLineEdit *field : fields)
        disconnect(field, nullptr, this, nullptr);
}

void ToleranceWindow::showFor(const LastValidRun<AmplifierRun> &shownGroup,
                              const LastValidRun<SpeakerRun> &loudspeaker) {
    group = &shownGroup;
    loudspeakerPage = &loudspeaker;
    speaker.reset();
    follow();
    // First over the middle of the main window, afterwards where the user leaves it.
    if (!testAttribute(Qt::WA_Moved)) {
        adjustSize();
        move(parentWidget()->geometry().center() - rect().center());
    }
    show();
    raise();
    activateWindow();
}

void ToleranceWindow::follow() {
    if (!group)
        return;
    if (const AmplifierRun *current = group->valid())
        run = *current;
    if (const SpeakerRun *current = loudspeakerPage->valid())
        speaker = *current;
    QStringList gone;
    if (!group->valid())
        gone << shown(groupName(*run) + ": " + group->whyNone());
    if (speaker && !loudspeakerPage->valid())
        gone << shown("Пример применения: " + loudspeakerPage->whyNone());
    status->setText(gone.join("\n") + "\nТаблица — по прежнему расчёту; копировать нечего.");
    status->setVisible(!gone.isEmpty());
    caption->setText(shown(runCaption(*run)));
    fillTable();
}

QString ToleranceWindow::inputText(std::size_t row) const { return fields.at(row)->text(); }

void ToleranceWindow::setInputText(std::size_t row, const QString &text) {
    setFieldColour(fields.at(row), clWindow());
    fields.at(row)->setText(text);
}

std::optional<ToleranceWindow::Inputs> ToleranceWindow::inputs() const {
    std::array<double, 3> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::optional<double> value = bounded[i]->value();
        if (!value)
            return std::nullopt;
        values[i] = *value;
    }
    return Inputs{{values[0], values[1]}, values[2]};
}

void ToleranceWindow::fillTable() {
    if (!run)
        return;
    const std::vector<std::string> rowNames = spreadRowNames(speaker.has_value());
    const std::optional<Inputs> given = inputs();
    cells.clear();
    if (given)
        cells =
            spreadCells(*run, speaker ? &*speaker : nullptr, given->tolerances, given->loadWatts);
    updateCopy();

    // Rвых, Ку and Qtc' fill their rows, numbers to the right; the power in Rт is one text
    // across the last row, set once the columns are sized so that their widths leave it out.
    const int rows = static_cast<int>(rowNames.size());
    const int powerRow = rows - 1;
    table->clearContents();
    table->clearSpans();
    table->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        const auto index = static_cast<std::size_t>(row);
        table->setVerticalHeaderItem(row, new QTableWidgetItem(shown(rowNames[index])));
        for (std::size_t column = 0; row < powerRow && column < spreadColumns.size(); ++column) {
            QTableWidgetItem *cell =
                newCell(rowNames[index], spreadColumns[column], given ? cells[index][column] : "");
            if (column < 3)
                cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(row, static_cast<int>(column), cell);
        }
    }
    table->resizeColumnsToContents();
    table->setItem(powerRow, 0,
                   newCell(rowNames.back(), spreadColumns[0], given ? cells.back()[0] : ""));
    table->setSpan(powerRow, 0, 1, table->columnCount());
    table->resizeRowsToContents();
    table->updateGeometry();
}

// Only a table of current runs is copied.
void ToleranceWindow::updateCopy() { copyButton->setEnabled(!cells.empty() && status->isHidden()); }

// The window's title, the run, the tolerances and the power, then the table.
void ToleranceWindow::copyTable() const {
    if (!copyButton->isEnabled())
        return;
    QStringList inputs;
    for (std::size_t i = 0; i < fields.size(); ++i)
        inputs << QString("%1 = %2").arg(toleranceFields()[i].caption, fields[i]->text());
    QApplication::clipboard()->setText(
        windowTitle() + "\n" + caption->text() + "\n" + inputs.join("; ") + "\n" +
        shown(tabSeparated(spreadRowNames(speaker.has_value()), cells)));
}
