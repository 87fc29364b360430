#pragma once

#include "amplifier/amplifier_run.h"
#include "core/driver_circuit.h"
#include "core/last_results.h"
#include "core/last_valid_run.h"
#include "input/widgets/hand_over_field.h"
#include "ui/record_page.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class AmplifierMenus;
class NumericFields;
class QLabel;
class QLineEdit;
class QPushButton;
class TImage;
struct AmplifierPageDesign;

// An amplifier page, non-inverting or inverting by its design: the schematic with its note, and
// the three "Вариант" groups, each with five fields, a message (Variants 1 and 2), two results
// and "Вычислить". The window wires the buttons to its handlers, which run the calculations here.
class AmplifierPage : public RecordPage {
    Q_OBJECT

public:
    AmplifierPage(const AmplifierPageDesign &design, NumericFields &fields, LastResults &last,
                  QWidget *parent);
    ~AmplifierPage() override;

    void solveForR2();           // Variant 1: R2 for a required Rвых
    void designForGain();        // Variant 2: R1 and R2 for a required Ку and Rвых
    void evaluateKnownNetwork(); // Variant 3: Rвых and Ку of a known network

    const AmplifierPageDesign &design() const { return pageDesign; }
    // The schematic, as "Сохранить" writes it.
    const QImage &schematic() const;
    // The "Вычислить" button of Variant 1, 2 or 3.
    QPushButton *button(int variant) const;
    // The last valid run of Variant 1, 2 or 3; null while the group shows none.
    const AmplifierRun *validRun(int variant) const;
    // The outcome of the group's last run, with the reason where it has no result.
    const LastValidRun<AmplifierRun> &record(int variant) const;
    // Whether the group shows its message («Решения нет», «R < Rвых!» …), and its hiding, as
    // a design opened in the window starts without any.
    bool showsMessage(int variant) const;
    void hideMessages();

    // Variant 2's Rвых field, which takes the loudspeaker page's required Rвых, and its Rн field,
    // which can take the driver's Re with it. Once they have their values the Ку field takes the
    // focus with its text selected: the designer still chooses Ку and Rт, so nothing is computed.
    const HandOverField &requiredRoutField() const { return *requiredRout; }
    const HandOverField &designLoadField() const { return *designLoad; }
    void takeRequiredRout(double ohms, std::optional<double> load = std::nullopt);

    // Variant 3's calculation on values given its fields in check order.
    void evaluateWith(const std::array<double, 5> &values);

    // Where Variant 3's Rвых goes: the loudspeaker page's field, set by the window.
    void setRoutTarget(HandOver target);
    // Where the netlist with a loudspeaker takes it from: the loudspeaker page, set by the window.
    void setDriverSource(std::function<DriverOffer()> source);
    // The window's spread of a group's run over the part tolerances, the group named by its
    // variant.
    void setSpreadWindow(std::function<void(int variant)> open);

signals:
    // A group's calculation starts: it is now the page's, and the window's, last amplifier run.
    void runStarted(int variant);

private:
    struct Group {
        std::array<QLineEdit *, 5> edits{};
        QLabel *message = nullptr; // none in Variant 3
        std::array<QLabel *, 2> results{};
        QPushButton *button = nullptr;
        LastValidRun<AmplifierRun> run;
    };

    void buildGroup(int variant);
    Group &group(int variant) { return groups[static_cast<std::size_t>(variant - 1)]; }
    std::optional<std::vector<double>> startRun(int variant);
    void showMessage(int variant, const char *text, const std::string &toolTip = {});
    void keepRun(int variant, const Network &network, const std::vector<double> &typed,
                 std::array<double, 2> shown);

    const AmplifierPageDesign &pageDesign;
    NumericFields &fields;
    LastResults &last;
    TImage *image = nullptr;
    std::array<Group, 3> groups;
    std::optional<HandOverField> requiredRout;
    std::optional<HandOverField> designLoad;
    std::vector<HandOverField> variant3Fields;
    std::unique_ptr<AmplifierMenus> menus;
};
