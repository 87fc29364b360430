#pragma once

#include "core/last_results.h"

#include <QImage>
#include <QString>
#include <QWidget>
#include <array>
#include <optional>

class NumericFields;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class TImage;
struct AmplifierPageDesign;
enum class StandardSeries;

// An amplifier page: the schematic with its note, and the three "Вариант" groups, each with five
// fields, a message (Variants 1 and 2), two results and "Вычислить". Both pages share this class;
// their tables (circuit, control numbers, design-time texts) set them apart.
class AmplifierPage : public QWidget {
    Q_OBJECT

public:
    // The schematic, as "Сохранить" writes it.
    const QImage &schematic() const;

protected:
    AmplifierPage(const AmplifierPageDesign &design, NumericFields &fields, LastResults &last,
                  QWidget *parent);

    // The "Вычислить" button of Variant 1, 2 or 3.
    QPushButton *button(int variant) const;

    void solveForR2();           // Variant 1: R2 for a required Rвых
    void designForGain();        // Variant 2: R1 and R2 for a required Ку and Rвых
    void evaluateKnownNetwork(); // Variant 3: Rвых and Ку of a known network

private:
    // A group's last valid result: its inputs as typed and R1, R2 in ohms as computed (the
    // record of the last calculations serves every run, so each group keeps its own).
    struct ValidRun {
        std::array<QString, 5> inputs;
        double r1 = 0;
        double r2 = 0;
    };

    struct Group {
        QGroupBox *box = nullptr;
        std::array<QLineEdit *, 5> edits{};
        QLabel *message = nullptr; // none in Variant 3
        std::array<QLabel *, 2> results{};
        QPushButton *button = nullptr;
        std::optional<ValidRun> valid; // none while the group shows no valid result
    };

    void buildGroup(int variant);
    bool startRun(int variant);
    void setResults(const Group &group, const std::string &first, const std::string &second);
    static void keepValidRun(Group &group, double r1, double r2);

    // On demand, from the result labels: the standard parts into Variant 3, and the copy.
    static QString missingResult(const Group &group);
    void fillResultMenu(std::size_t index, QMenu &menu);
    void takeToVariant3(const std::array<double, 2> &kiloOhms,
                        const std::array<QString, 5> &inputs);
    void copyResults(std::size_t index) const;

    const AmplifierPageDesign &design;
    NumericFields &fields;
    LastResults &last;
    TImage *image = nullptr;
    std::array<Group, 3> groups;
};

// "Неинвертирующий": Button4 to Button6.
class NonInvertingPage final : public AmplifierPage {
    Q_OBJECT

public:
    NonInvertingPage(NumericFields &fields, LastResults &last, QWidget *parent);

    void Button4Click() { solveForR2(); }
    void Button5Click() { designForGain(); }
    void Button6Click() { evaluateKnownNetwork(); }
};

// "Инвертирующий": Button1 to Button3.
class InvertingPage final : public AmplifierPage {
    Q_OBJECT

public:
    InvertingPage(NumericFields &fields, LastResults &last, QWidget *parent);

    void Button1Click() { solveForR2(); }
    void Button2Click() { designForGain(); }
    void Button3Click() { evaluateKnownNetwork(); }
};
