#pragma once

#include "core/last_results.h"
#include "driver_load/driver_model.h"
#include "input/widgets/hand_over_field.h"
#include "project/design_record.h"
#include "project/widgets/window_inputs.h"
#include "speaker/widgets/rout_hand_overs.h"
#include "ui/following_windows.h"

#include <QWidget>
#include <array>
#include <optional>

class AmplifierPage;
class NumericFields;
class ProjectFiles;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class SpeakerPage;
class TForm2;
class ToleranceWindow;
struct SavePlan;
struct SpeakerRun;

// The main window: the banner, the three pages and the bottom buttons. Each page owns its
// controls; the window composes them, owns the record of the last calculations and the windows
// that follow the pages, and holds the handlers of every button, each of which runs under the
// default error report.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    void setHelpWindow(TForm2 *helpWindow) { Form2 = helpWindow; }
    const LastResults &lastResults() const { return last; }

    QLabel *Label55 = nullptr; // the banner "Проверьте ввод !"
    QTabWidget *PageControl1 = nullptr;
    AmplifierPage *TabSheet1 = nullptr; // "Неинвертирующий"
    AmplifierPage *TabSheet2 = nullptr; // "Инвертирующий"
    SpeakerPage *TabSheet3 = nullptr;
    QPushButton *Button8 = nullptr;  // "Exit"
    QPushButton *Button9 = nullptr;  // "Help"
    QPushButton *Button10 = nullptr; // "Сохранить"

    void FormShow();     // the loudspeaker page computed before the window first appears
    void Button1Click(); // inverting, Variant 1
    void Button2Click(); // inverting, Variant 2
    void Button3Click(); // inverting, Variant 3
    void Button4Click(); // non-inverting, Variant 1
    void Button5Click(); // non-inverting, Variant 2
    void Button6Click(); // non-inverting, Variant 3
    void Button7Click(); // the loudspeaker page
    void Button8Click();
    void Button9Click();
    void Button10Click();

    void setVisible(bool visible) override;

    // «Динамик и усилитель», as the loudspeaker page's menus open it: made the first time, over
    // the main window.
    void openDriverWindow();

    // The design on screen as a project keeps it, and the opening of one whose texts pass their
    // checks: the window as a fresh start with it shows it, its groups that had a result computed
    // again as "Вычислить" computes them.
    DesignRecord design() const;
    void openDesign(const DesignRecord &design);
    // A project file, as `ooscalc FILE` and the project menu open it; one that cannot be used
    // throws the error report's text and leaves the window as it was.
    void openProject(const QString &path);
    // A driver file's values into page 3's fields and the driver window's, then page 3 computes;
    // a notice names what was clamped, at `control`.
    void takeDriver(const DriverFile &driver, const QString &path, QWidget *control);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void connectPages();
    SavePlan savePlan() const;
    ToleranceWindow &toleranceWindow();
    std::pair<const AmplifierPage *, int> amplifierGroup(int number) const;
    bool groupShows(int number) const;
    void watchInputs(QWidget *window);
    void saveDriver(QWidget *control, const SpeakerRun &run);

    LastResults last;
    NumericFields *fields = nullptr;
    TForm2 *Form2 = nullptr;
    // Variant 2's Rвых and Rн fields of the non-inverting and the inverting page, as the
    // loudspeaker's menus hand an Rвых over.
    std::array<Variant2Target, 2> variant2Rout;
    // The inputs of the window «Динамик и усилитель», kept from one opening to the next and for
    // the netlist and the impedance the other menus take from them.
    DriverLoadInputs driverInputs;
    FollowingWindows following;
    // Those inputs and the spread window's as texts, for a project.
    WindowInputs windowInputs;
    // The group of the last amplifier run: what the report's amplifier section describes.
    const AmplifierPage *lastAmplifierPage = nullptr;
    int lastAmplifierVariant = 0;
    bool centred = false;
    std::array<QLineEdit *, 37> edits{}; // Edit1 … Edit37
    // The name of the driver last loaded, while its values are still in the fields.
    struct KnownDriver {
        DriverName name;
        std::vector<std::string> texts;
    };
    std::optional<KnownDriver> knownDriver;
    ProjectFiles *projects = nullptr;
    bool leaving = false; // the user chose to end the program
};
