#include "driver_load/widgets/driver_inputs.h"

#include "core/decimal_text.h"
#include "driver_load/driver_load_fields.h"
#include "driver_load/driver_load_view.h"
#include "input/widgets/bounded_field.h"
#include "input/widgets/field_keys.h"
#include "ui/accessible_names.h"
#include "ui/classic_look.h"
#include "ui/shown_text.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <algorithm>

namespace {

constexpr char fbTip[] = "По умолчанию Fb равна Fs страницы «Пример применения» и следует за ней, "
                         "пока вы не введёте своё значение";

// The field of an input, by its place in the table.
std::size_t indexOf(double DriverLoadInputs::*destination) {
    const auto table = driverLoadFields();
    return static_cast<std::size_t>(
        std::ranges::find(table, destination, &DriverLoadField::destination) - table.begin());
}

} // namespace

DriverInputs::DriverInputs(QWidget *window, DriverLoadInputs &inputs, std::function<void()> changed)
    : kept(inputs) {
    group = new QGroupBox("Исходные данные", window);
    auto *grid = new QGridLayout(group);
    const auto table = driverLoadFields();
    // Made in keyboard order: the closed box's fields, the choice, the vented box's fields.
    const auto addChoice = [&](int gridRow) {
        auto *label = new QLabel("Ящик", group);
        choice = new QComboBox(group);
        choice->setObjectName("BoxChoice");
        choice->addItems({"Закрытый", "Фазоинвертор"});
        choice->setCurrentIndex(kept.box == BoxKind::Vented ? 1 : 0);
        choice->setToolTip("Закрытый — ящик страницы «Пример применения»; Фазоинвертор — ящик "
                           "того же объёма Vb с портом, настроенным на Fb");
        nameField(choice, {label});
        // Across both columns, so that the box keeps the width of its fields, and claiming no
        // more room than its captions do when the window grows.
        auto *row = new QHBoxLayout;
        row->addWidget(label);
        row->addWidget(choice, 0, Qt::AlignRight);
        QObject::connect(choice, &QComboBox::currentIndexChanged, group, [this, changed] {
            showBox(chosenBox());
            changed();
        });
        grid->addLayout(row, gridRow, 0, 1, 2);
    };
    for (std::size_t i = 0; i < table.size(); ++i) {
        const DriverLoadField &input = table[i];
        if (ventedOnly(input) && !choice)
            addChoice(static_cast<int>(i));
        const int row = static_cast<int>(i) + (choice ? 1 : 0);
        auto *label = new QLabel(input.caption, group);
        auto *field = new QLineEdit(shown(formatGeneral(kept.*input.destination)), group);
        field->setObjectName(QString("DriverField%1").arg(i + 1));
        field->setFixedWidth(60);
        nameField(field, {label});
        bounded.push_back(
            new BoundedField(field, {input.min, input.minText, input.max, input.maxText}));
        QObject::connect(field, &QLineEdit::textChanged, group, changed);
        if (followsFs(input)) {
            field->setToolTip(fbTip);
            QObject::connect(field, &QLineEdit::textEdited, group,
                             [this] { kept.fbFollowsFs = false; });
        }
        captions.push_back(label);
        fields.push_back(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
    }
    showBox(kept.box);
}

DriverInputs::~DriverInputs() {
    for (QLineEdit *field : fields)
        QObject::disconnect(field, nullptr, group, nullptr);
    QObject::disconnect(choice, nullptr, group, nullptr);
}

QLineEdit *DriverInputs::fieldOf(double DriverLoadInputs::*destination) const {
    return fields[indexOf(destination)];
}

// The vented box's fields for it alone; the target Qtc is the closed box's.
void DriverInputs::showBox(BoxKind shown) {
    const auto table = driverLoadFields();
    for (std::size_t i = 0; i < table.size(); ++i)
        if (ventedOnly(table[i])) {
            captions[i]->setVisible(shown == BoxKind::Vented);
            fields[i]->setVisible(shown == BoxKind::Vented);
        }
    fieldOf(&DriverLoadInputs::targetQtc)->setEnabled(shown == BoxKind::Closed);
}

void DriverInputs::follow(const SpeakerRun &run) {
    if (!kept.fbFollowsFs)
        return;
    QLineEdit *fb = fieldOf(&DriverLoadInputs::fb);
    const QSignalBlocker quiet(fb);
    fb->setText(shown(formatGeneral(run.driver.fs)));
}

QString DriverInputs::text(std::size_t row) const { return fields.at(row)->text(); }

void DriverInputs::setText(std::size_t row, const QString &text, bool clamped) {
    setFieldColour(fields.at(row), clamped ? clYellow() : clWindow());
    fields.at(row)->setText(text);
}

BoxKind DriverInputs::chosenBox() const {
    return choice->currentIndex() == 1 ? BoxKind::Vented : BoxKind::Closed;
}

void DriverInputs::chooseBox(BoxKind box) {
    choice->setCurrentIndex(box == BoxKind::Vented ? 1 : 0);
}

void DriverInputs::takeSenseResistor(double ohms) {
    QLineEdit *field = fieldOf(&DriverLoadInputs::rt);
    setFieldColour(field, clWindow());
    field->setText(shown(formatGeneral(ohms)));
}

std::string DriverInputs::read(DriverLoadInputs &inputs, const SpeakerRun *run) {
    std::string fault;
    kept.box = inputs.box = chosenBox();
    inputs.fbFollowsFs = kept.fbFollowsFs;
    const auto table = driverLoadFields();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (const std::optional<double> value = bounded[i]->value())
            kept.*table[i].destination = inputs.*table[i].destination = *value;
        else if (fault.empty() && (inputs.box == BoxKind::Vented || !ventedOnly(table[i])))
            fault = std::string("Поле «") + table[i].caption + "»: нужно число от " +
                    table[i].minText + " до " + table[i].maxText;
    }
    const std::size_t sense = indexOf(&DriverLoadInputs::rt);
    const std::string refusal =
        run && bounded[sense]->value() ? senseResistorRefusal(inputs.rt, run->rout) : "";
    if (fault.empty() && !refusal.empty())
        fault = std::string("Поле «") + table[sense].caption + "»: " + refusal;
    if (!refusal.empty() || senseRefused)
        setFieldColour(fields[sense], refusal.empty() ? clWindow() : clYellow());
    senseRefused = !refusal.empty();
    return fault;
}
