#pragma once

#include "core/last_results.h"

#include <QImage>
#include <QWidget>
#include <array>

class NumericFields;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TImage;
struct AmplifierPageDesign;

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
    struct Group {
        QGroupBox *box = nullptr;
        QLabel *message = nullptr; // none in Variant 3
        std::array<QLabel *, 2> results{};
        QPushButton *button = nullptr;
    };

    void buildGroup(int variant);
    void setResults(const Group &group, const std::string &first, const std::string &second);

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
