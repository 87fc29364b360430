// Project files read back through QJsonDocument, every kind of unusable one refused with its
// reason, and a driver file's values clamped into the fields' texts.

#include "driver_load/driver_load_fields.h"
#include "project/driver_import.h"
#include "project/project_text.h"
#include "project/widgets/project_reader.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

DesignRecord changedDesign() {
    DesignRecord design = defaultDesign();
    design.fields[15] = "5,";
    design.fields[34] = "123,456";
    design.driverWindow[2] = "12,50";
    design.tolerances[2] = "250";
    design.page = 3;
    design.calculated = {"FormShow", "Button6", "Button1"};
    design.driverName = DriverName{"00 \"B&C\"", "15PS100\\x"};
    design.note = "Сабвуфер: «тест»\n\ttab \x01 end";
    return design;
}

std::string withChange(std::string text, const std::string &before, const std::string &after) {
    const auto at = text.find(before);
    if (at == std::string::npos)
        qFatal("no %s in the project", before.c_str());
    return text.replace(at, before.size(), after);
}

// The texts the fields get, in the order of driverValues.
QStringList importedTexts(const DriverFile &driver) {
    QStringList texts;
    for (const ImportedValue &value : importDriver(driver).values)
        texts << QString::fromStdString(value.text) + (value.clamped ? " (clamped)" : "");
    return texts;
}

} // namespace

class ProjectFileTest : public QObject {
    Q_OBJECT

private slots:
    // What is written reads back as the same design, twice the same bytes; a JSON reader sees the
    // format first and the driver in SI numbers.
    void writtenDesignReadsBack() {
        const DesignRecord design = changedDesign();
        const std::string text = projectText(design);
        QCOMPARE(projectText(design), text);
        QVERIFY(text.starts_with("{\n  \"format\": \"ooscalc-design\",\n  \"version\": 1,\n"));
        const ProjectRead read = readProject(text);
        QVERIFY2(read.design, read.whyNot.c_str());
        QVERIFY(*read.design == design);
        const QJsonObject driver =
            QJsonDocument::fromJson(QByteArray::fromStdString(text))["driver"].toObject();
        QCOMPARE(driver["Brand"].toString(), QString("00 \"B&C\""));
        QCOMPARE(driver["Vas"].toDouble(), 0.123456);
        QCOMPARE(driver["Sd"].toDouble(), 0.05);
        QCOMPARE(driver["Xmax"].toDouble(), 0.0125);
        QCOMPARE(driver["Le"].toDouble(), 0.0);
        QCOMPARE(driver["Qts"].toDouble(), 1 / (1 / 2.63 + 1 / 0.18));
    }

    // A window's input the file lacks takes its default; keys a later version adds are left.
    void missingInputsTakeTheirDefaults() {
        std::string text =
            withChange(projectText(changedDesign()), "    \"Xmax\": \"12,50\",\n", "");
        text = withChange(text, "\"note\"", "\"later\": [1, 2],\n  \"note\"");
        const ProjectRead read = readProject(text);
        QVERIFY2(read.design, read.whyNot.c_str());
        QCOMPARE(read.design->driverWindow[2], std::string("10"));
    }

    void unusableFilesAreRefused_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char *name, const char *before, const char *after,
                            const char *reason) {
            QTest::newRow(name) << QString(before) << QString(after) << QString(reason);
        };
        row("newer version", "\"version\": 1", "\"version\": 2",
            "файл создан более новой версией программы (версия формата 2");
        row("version 0", "\"version\": 1", "\"version\": 0", "неизвестная версия формата 0");
        row("another format", "ooscalc-design", "winisd-project",
            "это не проект ooscalc: формат «winisd-project»");
        row("no format", "\"format\"", "\"form\"", "это не проект ooscalc: в нём нет ключа");
        row("broken", "\"Edit20\"", "\"Edi", "файл повреждён или обрезан: JSON нарушен у байта");
        row("not JSON", "{", "[Driver]\nFs=20\n", "это не проект ooscalc: проект — объект JSON");
        row("number for text", "\"Edit3\": \"4\"", "\"Edit3\": 4",
            "значение «fields.Edit3» должно быть строкой, а в файле число");
        row("no field", "\"Edit37\": \"6\"", "\"Edit38\": \"6\"", "нет ключа «fields.Edit37»");
        row("above max", "\"Edit16\": \"5,\"", "\"Edit16\": \"1000,5\"",
            "поле Edit16 (Неинвертирующий, Вариант 1): «1000,5» — вне диапазона 0,05 … 1000");
        row("comma", "\"Edit1\": \"10\"", "\"Edit1\": \",5\"", "«,5» — запятая не на месте");
        row("empty", "\"Edit33\": \"2,63\"", "\"Edit33\": \"\"",
            "поле Edit33 (Пример применения): пусто");
        row("window field", "\"Xmax\": \"12,50\"", "\"Xmax\": \"60\"",
            "поле «Xmax, мм» окна «Динамик и усилитель»: «60» — вне диапазона 0,5 … 50");
        row("box", "\"Box\": \"closed\"", "\"Box\": \"round\"",
            "значение «driverWindow.Box» должно быть «closed» или «vented», а в файле «round»");
        row("tolerance", "\"LoadPower\": \"250\"", "\"LoadPower\": \"-5\"",
            "поле «Мощность в нагрузке, Вт» окна «Разброс параметров»: «-5» — не число");
        row("page", "\"page\": 3", "\"page\": 4", "страницы 4 нет");
        row("calculation", "\"Button6\"", "\"Button9\"", "неизвестный расчёт «Button9»");
        row("twice", "\"Button6\"", "\"Button1\"", "расчёт «Button1» назван дважды");
        row("driver number", "\"Xmax\": 0.0125", "\"Xmax\": \"0,0125\"",
            "значение «driver.Xmax» должно быть числом");
    }
    void unusableFilesAreRefused() {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QString, reason);
        const ProjectRead read = readProject(
            withChange(projectText(changedDesign()), before.toStdString(), after.toStdString()));
        QVERIFY(!read.design);
        QVERIFY2(QString::fromStdString(read.whyNot).contains(reason), read.whyNot.c_str());
    }

    void emptyCutAndHugeFilesAreRefused() {
        QCOMPARE(readProject(" \n").whyNot, std::string("файл пуст"));
        QCOMPARE(readProject(" [{}]").whyNot,
                 std::string("это не проект ooscalc: проект — объект JSON, он начинается с «{»"));
        const std::string text = projectText(changedDesign());
        QVERIFY(readProject(text.substr(0, text.size() / 2))
                    .whyNot.starts_with("файл повреждён или обрезан: JSON нарушен у байта"));
        const std::string huge = withChange(projectText(changedDesign()), "\"note\": \"",
                                            "\"note\": \"" + std::string(projectFileLimit, 'x'));
        QCOMPARE(readProject(huge).whyNot, std::string("файл больше 1 МиБ, проекты много меньше"));
    }

    // Beyond a field the bound, and the notice names the driver as the file has it.
    void valuesBeyondAFieldAreClamped() {
        const DriverFile driver{"00 AE",  "SB12-8ohm", 1000,  5.5, 4.22, 0.05,
                                0.159388, 0.0003,      0.053, {},  500};
        const QStringList texts = importedTexts(driver);
        QCOMPARE(texts.mid(0, 4), QStringList({"500 (clamped)", "5,5", "4,22", "0,1 (clamped)"}));
        const ImportNotice notice = importNotice(driver, importDriver(driver), "/d/AE.wdr");
        QVERIFY(notice.detailed);
        QCOMPARE(QString::fromStdString(notice.text).section('\n', 0, 1),
                 "Динамик «00 AE SB12-8ohm» загружен из «/d/AE.wdr».\nЗа пределами полей, "
                 "заменены границей (поля выделены жёлтым): Fs, Гц: 1000 → 500; Qes: 0,05 → 0,1.");
        QVERIFY(notice.text.ends_with("Xmax, мм — в них оставлено прежнее."));
    }
};

QTEST_APPLESS_MAIN(ProjectFileTest)

#include "test_project_file.moc"
