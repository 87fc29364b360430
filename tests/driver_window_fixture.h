#pragma once

// The window «Динамик и усилитель» opened as a user opens it, from the loudspeaker page's result
// menu, and its fields and figures by their object names.

#include "driver_load/widgets/driver_window.h"
#include "window_fixture.h"

#include <QLabel>
#include <QLineEdit>

class DriverWindowFixture : public ProgramWindowTest {
protected:
    DriverWindow *window = nullptr;

    void open() {
        showPage(2);
        chooseItem(rightClickMenu(label(107)), "Динамик и усилитель…");
        window = form->findChild<DriverWindow *>("DriverWindow");
        QVERIFY(window && QTest::qWaitForWindowActive(window));
    }
    QLineEdit *field(int n) const {
        return window->findChild<QLineEdit *>(QString("DriverField%1").arg(n));
    }
    QLabel *result(int n) const {
        return window->findChild<QLabel *>(QString("DriverResult%1").arg(n));
    }
};
