// Projects and driver files through the program: each calculator saved by Ctrl+S and opened in a
// fresh window as `ooscalc FILE` opens it, unusable files that change nothing, the title and the
// question about changes, the recent projects, a dropped file, and the driver files of page 3.

#include "project/project_text.h"
#include "scratch_files.h"
#include "ui/classic_look.h"
#include "ui/error_report.h"
#include "window_fixture.h"

#include <QComboBox>
#include <QLineSeries>
#include <QMimeData>
#include <map>

namespace {

const QString title = "Усилитель с комбинированной ООС по напряжению и току";

bool isYellow(const QLineEdit *edit) { return edit->palette().color(QPalette::Base) == clYellow(); }

} // namespace

class ProjectWindowTest : public ProgramWindowTest {
    Q_OBJECT

    QTemporaryDir scratch;
    QString path(const QString &name) const { return scratch.filePath(name); }

    // Every field, label and button of the main window as shown, the chart's curves, and (the
    // focus taken away, so that no caret blinks in it) its picture.
    struct Shown {
        QStringList texts;
        QList<QList<QPointF>> curves;
        QImage picture;
        bool operator==(const Shown &) const = default;
    };
    Shown shown() const {
        Shown s;
        for (const QWidget *w : form->findChildren<QWidget *>()) {
            if (w->window() != form.get() || w->objectName().isEmpty() ||
                w->objectName() == "Announcement")
                continue;
            QString line = w->objectName() + (w->isVisibleTo(form.get()) ? "" : " hidden") +
                           (w->isEnabled() ? "" : " disabled");
            if (auto *e = qobject_cast<const QLineEdit *>(w))
                line += " = " + e->text() + (isYellow(e) ? " yellow" : "");
            if (auto *l = qobject_cast<const QLabel *>(w))
                line += " = " + l->text();
            s.texts << line;
        }
        for (int i : {0, 1})
            s.curves << form->TabSheet3->chart()->series(i)->points();
        if (QWidget *focused = QApplication::focusWidget())
            focused->clearFocus();
        s.picture = form->grab().toImage();
        return s;
    }
    // A key of the main window, active again after a dialog.
    void keys(QKeyCombination key) {
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get()))
            qFatal("the main window does not become active");
        QTest::keyClick(form->windowHandle(), key.key(), key.keyboardModifiers());
    }
    void saveAs(const QString &file, QKeyCombination key = Qt::CTRL | Qt::SHIFT | Qt::Key_S) {
        answerFileDialog(file, [&] { keys(key); });
    }
    // Through Ctrl+O, or for a file the dialog would not take, as the command line opens it.
    QString openRefused(const QString &file) {
        return errorReportDuring([&] {
            if (QFile::exists(file))
                answerFileDialog(file, [&] { keys(Qt::CTRL | Qt::Key_O); });
            else
                runHandler([&] { form->openProject(file); });
        });
    }
    QMenu *projectMenu() { return rightClickMenu(form->Button10); }
    // «Загрузить динамик…» from page 3's results; the message it gives, if any.
    QString loadDriver(const QString &file) {
        return errorReportDuring([&] {
            answerFileDialog(file,
                             [&] { chooseItem(rightClickMenu(label(72)), "Загрузить динамик…"); });
        });
    }

private slots:
    void initTestCase() { applyClassicLook(*qApp); }
    void init() { QVERIFY(openWindows()); }
    void cleanup() { closeWindows(); }

    // Fields changed from their defaults and a run, Ctrl+S, a fresh window opening the file:
    // everything as before, and the same bytes under every locale.
    void everyCalculatorComesBack_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("typed"); // "edit=text"
        QTest::addColumn<int>("run");
        QTest::newRow("inverting 1") << 1 << QStringList{"1=12", "5=2,5"} << 1;
        QTest::newRow("inverting 2") << 1 << QStringList{"6=8", "9=0,25"} << 2;
        QTest::newRow("inverting 3") << 1 << QStringList{"11=15"} << 3;
        QTest::newRow("no solution") << 1 << QStringList{"5=0,2"} << 1;
        QTest::newRow("non-inverting 1") << 0 << QStringList{"16=22"} << 4;
        QTest::newRow("non-inverting 2") << 0 << QStringList{"21=25", "25=1,5"} << 5;
        QTest::newRow("non-inverting 3") << 0 << QStringList{"27=12", "30=0,3"} << 6;
        QTest::newRow("loudspeaker") << 2 << QStringList{"31=25", "36=40,5", "37=2"} << 7;
    }
    void everyCalculatorComesBack() {
        QFETCH(int, page);
        QFETCH(QStringList, typed);
        QFETCH(int, run);
        showPage(page);
        for (const QString &entry : typed)
            type(entry.section('=', 0, 0).toInt(), entry.section('=', 1));
        click(button(run));
        const QString file = path(QTest::currentDataTag() + QString(".ooscalc"));
        saveAs(file, Qt::CTRL | Qt::Key_S);
        QCOMPARE(form->windowTitle(), QFileInfo(file).fileName() + " — " + title);
        const QByteArray bytes = readFile(file);
        keys(Qt::CTRL | Qt::Key_S); // in place, the same bytes
        QCOMPARE(readFile(file), bytes);
        static std::map<QString, QByteArray> firstLocale;
        QCOMPARE(firstLocale.try_emplace(QTest::currentDataTag(), bytes).first->second, bytes);
        const Shown before = shown();

        closeWindows();
        QVERIFY(openWindows());
        form->openProject(file);
        QCOMPARE(shown(), before);
        QCOMPARE(form->windowTitle(), QFileInfo(file).fileName() + " — " + title);
        button(run % 7 + 1)->click(); // a result the design has not: gone on opening
        form->openProject(file);
        keys(Qt::CTRL | Qt::Key_S);
        QCOMPARE(readFile(file), bytes);
    }

    // The windows' inputs travel with the design, the windows made or not.
    QLineEdit *windowField(const char *window, const char *field) {
        return form->findChild<QWidget *>(window)->findChild<QLineEdit *>(field);
    }
    void windowInputsComeBack() {
        click(button(4));
        chooseItem(rightClickMenu(label(35)), "Разброс при допусках…");
        typeInto(windowField("ToleranceWindow", "LoadPower"), "250");
        showPage(2);
        chooseItem(rightClickMenu(label(107)), "Динамик и усилитель…");
        typeInto(windowField("DriverWindow", "DriverField3"), "12,50");
        auto *box = form->findChild<QWidget *>("DriverWindow")->findChild<QComboBox *>("BoxChoice");
        box->setCurrentIndex(1); // «Фазоинвертор»; Fb follows Fs, QL typed
        typeInto(windowField("DriverWindow", "DriverField12"), "9");
        const QString file = path("windows.ooscalc");
        saveAs(file);
        const DesignRecord saved = form->design();
        QCOMPARE(saved.box, BoxKind::Vented);
        closeWindows();
        QVERIFY(openWindows());
        form->openProject(file);
        QCOMPARE(form->design(), saved);
        type(31, "25"); // Fb follows the new Fs
        click(button(7));
        chooseItem(rightClickMenu(label(107)), "Динамик и усилитель…");
        QCOMPARE(windowField("DriverWindow", "DriverField3")->text(), QString("12,50"));
        QCOMPARE(windowField("DriverWindow", "DriverField11")->text(), QString("25"));
        QCOMPARE(windowField("DriverWindow", "DriverField12")->text(), QString("9"));
        QCOMPARE(form->findChild<QComboBox *>("BoxChoice")->currentIndex(), 1);
        showPage(0);
        chooseItem(rightClickMenu(label(35)), "Разброс при допусках…");
        QCOMPARE(windowField("ToleranceWindow", "LoadPower")->text(), QString("250"));
    }

    // Each kind of unusable file leaves every field, result and the chart as they were, and the
    // message names the file and why.
    void unusableFilesChangeNothing_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("newer") << QByteArray("{\"format\": \"ooscalc-design\", \"version\": 7}")
                               << "файл создан более новой версией программы";
        QTest::newRow("cut") << QByteArray("{\"format\": \"ooscalc-design\", \"vers")
                             << "файл повреждён или обрезан";
        QTest::newRow("driver file") << QByteArray("[Driver]\nFs=20\n") << "это не проект ooscalc";
        QTest::newRow("huge") << QByteArray((1 << 20) + 1, ' ') << "файл больше 1 МиБ";
        const QByteArray valid = QByteArray::fromStdString(projectText(defaultDesign()));
        QTest::newRow("type") << QByteArray(valid).replace("\"Edit5\": \"2,2\"", "\"Edit5\": 2.2")
                              << "значение «fields.Edit5» должно быть строкой";
        QTest::newRow("refused text")
            << QByteArray(valid).replace("\"Edit37\": \"6\"", "\"Edit37\": \"300\"")
            << "поле Edit37 (Пример применения): «300» — вне диапазона 0,1 … 200";
        QTest::newRow("missing") << QByteArray() << "нет такого файла";
    }
    void unusableFilesChangeNothing() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        type(16, "30");
        click(button(4));
        const QString file = path(QString("refused %1.ooscalc").arg(QTest::currentDataTag()));
        if (!bytes.isEmpty())
            writeFile(file, bytes);
        const Shown before = shown();
        const QString message = openRefused(file);
        QVERIFY2(message.startsWith("Не удалось открыть проект «" + file + "»: " + reason),
                 qPrintable(message));
        QCOMPARE(shown(), before);
        QCOMPARE(form->windowTitle(), title);
    }

    // The title marks changes; closing or opening another asks, and Cancel keeps all.
    void changesAreAskedAbout() {
        const QString first = path("first.ooscalc"), second = path("second.ooscalc");
        saveAs(second);
        saveAs(first);
        type(36, "60");
        QCOMPARE(form->windowTitle(), "first.ooscalc* — " + title);
        const QString question = "Сохранить изменения в «first.ooscalc»?";
        QCOMPARE(errorReportDuring([&] { form->close(); }, QMessageBox::Cancel), question);
        QVERIFY(form->isVisible());
        QCOMPARE(errorReportDuring([&] { chooseItem(projectMenu(), second); }, QMessageBox::Save),
                 question);
        QCOMPARE(form->windowTitle(), "second.ooscalc — " + title);
        QCOMPARE(edit(36)->text(), QString("50"));
        form->openProject(first); // saved with the change
        QCOMPARE(edit(36)->text(), QString("60"));
        type(36, "50");
        type(1, ",5"); // a text the field refuses is not saved
        QCOMPARE(errorReportDuring([&] { keys(Qt::CTRL | Qt::Key_S); }),
                 "Проект не сохранён: поле Edit1 (Инвертирующий, Вариант 1): «,5» — запятая не на "
                 "месте.");
        QCOMPARE(errorReportDuring([&] { click(form->Button8); }, QMessageBox::Discard), question);
        QCOMPARE(readFile(first).count("\"Edit36\": \"60\""), 1);
    }

    // Up to eight recent projects, newest first; a file gone is dropped.
    void recentProjectsInTheMenu() {
        QStringList saved;
        for (int i = 0; i < 9; ++i)
            saveAs(saved.emplaceFront(path(QString("recent%1.ooscalc").arg(i))));
        QFile::remove(saved[1]);
        QStringList listed = itemTexts(projectMenu());
        QApplication::activePopupWidget()->close();
        QVERIFY(!form->Button10->isEnabled()); // F10 opens it all the same
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        const QMenu *byF10 = keyMenu(edit(16), Qt::Key_F10);
        QVERIFY(byF10);
        QCOMPARE(itemTexts(byF10), listed);
        QApplication::activePopupWidget()->close();
        QCOMPARE(listed.mid(0, 4), QStringList({"Сохранить проект…", "Сохранить проект как…",
                                                "Открыть проект…", "Заметка к проекту…"}));
        saved.removeAt(1);
        QCOMPARE(listed.mid(5), saved.mid(0, 7));
        click(button(4)); // "Сохранить" enabled: the keys reach it
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        const QMenu *byKeys = keyMenu(form->Button10, Qt::Key_F10, Qt::ShiftModifier);
        QVERIFY(byKeys);
        QCOMPARE(itemTexts(byKeys), listed);
    }

    void droppedFileOpens() {
        type(31, "33");
        const QString file = path("dropped.ooscalc");
        saveAs(file);
        closeWindows();
        QVERIFY(openWindows());
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file)});
        data.setText(file); // as file managers give it, which a field would take
        QDragEnterEvent enter({10, 10}, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(edit(16), &enter); // over a field, which would take text
        QVERIFY(enter.isAccepted());
        QDropEvent drop({10, 10}, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(edit(16), &drop);
        QTRY_COMPARE(edit(31)->text(), QString("33"));
    }

    // The samples into page 3 and the driver window; the last back out as a .wdr that reads the
    // same; a value beyond a field is clamped, marked and named; a file without Fs changes nothing.
    void driverFilesInAndOut() {
        showPage(2);
        const std::pair<const char *, const char *> samples[] = {
            {"AE SB12-8ohm", "23,5688 5,5 4,22 0,541056 159,388 0,3 530 14 500"},
            {"Celestion TF1225e", "60,4964 5,07 4,8 0,432066 51,9831 1,1 530,93 3,5 300"},
            {"B&C 15PS100", "34,7428 5,3 4,8 0,331378 150,079 2,1 855 8 700"}};
        for (const auto &[name, texts] : samples) {
            QVERIFY(loadDriver(QStringLiteral(WDR_SAMPLES "/%1.wdr").arg(name)).isEmpty());
            QStringList shownTexts = fieldTexts(31);
            for (const std::string &text : form->design().driverWindow)
                shownTexts << QString::fromStdString(text);
            QCOMPARE((shownTexts.mid(0, 8) << shownTexts[12]).join(' '), QString(texts)); // Pe
            QVERIFY(label(72)->text() != "0");
        }
        const QString written = path("out.wdr");
        answerFileDialog(written, [&] {
            chooseItem(rightClickMenu(form->TabSheet3->chart()), "Сохранить динамик…");
        });
        QVERIFY(readFile(written).startsWith(
            "[Driver]\r\nBrand=00 B&C\r\nModel=15PS100\r\nFs=34.7428\r\n"));
        type(31, "40");
        QVERIFY(loadDriver(written).isEmpty());
        QCOMPARE(edit(31)->text(), QString("34,7428"));

        writeFile(path("wide.wdr"), readFile(written).replace("Fs=34.7428", "Fs=900"));
        const QString notice = loadDriver(path("wide.wdr"));
        QVERIFY2(notice.contains("«00 B&C 15PS100»") && notice.contains("Fs, Гц: 900 → 500"),
                 qPrintable(notice));
        QVERIFY(isYellow(edit(31)) && label(72)->text() != "0");
        writeFile(path("no fs.wdr"), readFile(written).replace("Fs=34.7428", ""));
        const Shown before = shown();
        QCOMPARE(loadDriver(path("no fs.wdr")),
                 "Не удалось загрузить динамик из «" + path("no fs.wdr") + "»: в файле нет Fs.");
        QCOMPARE(shown(), before);
    }
};

int main(int argc, char **argv) { return runWindowTest<ProjectWindowTest>(argc, argv); }

#include "test_project_window.moc"
