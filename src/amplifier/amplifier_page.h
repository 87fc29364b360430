#pragma once

#include "amplifier/amplifier_run.h"
#include "core/last_results.h"
#include "core/last_valid_run.h"

#include <QImage>
#include <QString>
#include <QWidget>
#include <array>

class NumericFields;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class ResultMenu;
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

    // The last valid run of Variant 1, 2 or 3; null while the group shows none.
    const AmplifierRun *validRun(int variant) const;

    // An Rвых from the loudspeaker page into Variant 2, whose Ку field then takes the focus with
    // its text selected: the designer still chooses Ку and Rт, so nothing is computed.
    void takeRequiredRout(const QString &rout);

signals:
    // Variant 3's Rвых, in the window's format to 0,001, for the loudspeaker page.
    void routForSpeaker(const QString &rout);
    // A group's run for the window that spreads it over the part tolerances.
    void spreadRequested(const AmplifierRun &run);

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
        int variant = 0;
        QGroupBox *box = nullptr;
        std::array<QLineEdit *, 5> edits{};
        QLabel *message = nullptr; // none in Variant 3
        std::array<QLabel *, 2> results{};
        QPushButton *button = nullptr;
        LastValidRun<AmplifierRun> run;
    };

    // One action of the result menus: the variants that offer it, how the result tooltips name
    // it, and what it adds to the menu.
    struct ResultAction {
        std::array<bool, 3> offeredBy;
        const char *hint;
        void (AmplifierPage::*add)(ResultMenu &menu, const Group &group);
    };
    static const std::array<ResultAction, 5> resultActions;

    void buildGroup(int variant);
    bool startRun(Group &group);
    void showMessage(Group &group, const QString &text, const std::string &toolTip = {});
    void keepRun(Group &group, const Network &network, std::array<double, 2> shown);
    static QStringList offeredActions(int variant);
    QString resultTip(const Group &group, std::size_t row) const;

    void fillResultMenu(Group &group, QMenu &menu);
    void addStandardParts(ResultMenu &menu, const Group &group);
    void addRoutToSpeaker(ResultMenu &menu, const Group &group);
    void addSpiceNetlist(ResultMenu &menu, const Group &group);
    void addSpread(ResultMenu &menu, const Group &group);
    void addCopy(ResultMenu &menu, const Group &group);
    void fillSchematicMenu(QMenu &menu);
    void saveNetlist(const Group &group);
    void takeToVariant3(const std::array<double, 2> &kiloOhms, const AmplifierRun &run);
    void copyResults(const Group &group) const;

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
