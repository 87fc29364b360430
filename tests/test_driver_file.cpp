// Driver files: three real ones, what this program writes, the syntax other tools and hand edits
// bring, every refusal, the Qms derivation and the window's six-digit texts of the values.

#include "core/windows1251.h"
#include "cp1251.h"
#include "driver_file/wdr_file.h"

#include <QFile>
#include <QTest>
#include <cfloat>
#include <cmath>

namespace {

std::string sample(const QString &name) {
    QFile file(QStringLiteral(WDR_SAMPLES "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file.fileName()));
    return file.readAll().toStdString();
}

// The window's texts of a driver in the order of driverValues, "-" for a value not given.
QStringList fieldTexts(const DriverFile &driver) {
    QStringList texts;
    for (const DriverValue value : driverValues) {
        const auto si = valueOf(driver, value);
        texts << (si ? QString::fromStdString(fieldText(toFieldUnit(value, *si))) : "-");
    }
    return texts;
}

// A small file, with lines changed ("Fs=abc"), taken out ("Fs=") or added at the end.
QByteArray file(const QByteArrayList &changes = {}) {
    QByteArrayList lines{"[Driver]", "Brand=B", "Model=M", "Fs=30",
                         "Re=6",     "Qms=3",   "Qes=0.5", "Vas=0.05"};
    for (const QByteArray &change : changes) {
        const QByteArray key = change.left(change.indexOf('=') + 1);
        const auto at = std::find_if(lines.begin(), lines.end(), [&](const QByteArray &line) {
            return !key.isEmpty() && line.startsWith(key);
        });
        if (at == lines.end())
            lines << change;
        else if (change == key)
            lines.erase(at);
        else
            *at = change;
    }
    return lines.join('\n') + '\n';
}

std::optional<DriverFile> driverOf(const QByteArray &bytes) {
    return readWdr(bytes.toStdString()).driver;
}

} // namespace

class DriverFileTest : public QObject {
    Q_OBJECT

private slots:
    // The collection names its files "<brand> <model>.wdr" and puts "00 " before every brand;
    // that is the file's text, kept as it is.
    void readsRealFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("fields"); // Fs Re Qms Qes Vas Le Sd Xmax Pe
        QTest::newRow("AE") << "AE SB12-8ohm.wdr"
                            << "23,5688 5,5 4,22 0,541056 159,388 0,3 530 14 500";
        QTest::newRow("B&C") << "B&C 15PS100.wdr"
                             << "34,7428 5,3 4,8 0,331378 150,079 2,1 855 8 700";
        QTest::newRow("Celestion") << "Celestion TF1225e.wdr"
                                   << "60,4964 5,07 4,8 0,432066 51,9831 1,1 530,93 3,5 300";
    }
    void readsRealFiles() {
        QFETCH(QString, name);
        QFETCH(QString, fields);
        const DriverFileRead read = readWdr(sample(name));
        QVERIFY2(read.driver, read.whyNot.c_str());
        QCOMPARE(QString::fromStdString(read.driver->brand), "00 " + name.section(' ', 0, 0));
        QCOMPARE(QString::fromStdString(read.driver->model), name.section(' ', 1).chopped(4));
        QCOMPARE(fieldTexts(*read.driver).join(' '), fields);
        QVERIFY(driverOf(QByteArray::fromStdString(wdrText(*read.driver))) == read.driver);
    }

    void writesWhatToolsRead() {
        DriverFile driver{" Динамик\r\n",     "X-1",  30.5, 6.1,  2,  0.5,
                          0.0519831427042063, 0.0003, {},   1e-7, 100};
        QCOMPARE(wdrText(driver), "[Driver]\r\nBrand=Динамик\r\nModel=X-1\r\nFs=30.5\r\nRe=6.1\r\n"
                                  "Qms=2\r\nQes=0.5\r\nQts=0.4\r\nVas=0.0519831427042063\r\n"
                                  "Le=0.0003\r\nXmax=0.0000001\r\nPe=100\r\n");
        // Doubles without a short decimal come back bit for bit.
        for (const double value : {0.1 + 0.2, std::nextafter(1.0, 2.0), DBL_MAX, DBL_TRUE_MIN}) {
            driver.fs = value;
            QCOMPARE(readWdr(wdrText(driver)).driver.value().fs, value);
        }
    }

    void readsLiberally_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("CR LF") << file().replace("\n", "\r\n");
        QTest::newRow("no last line end") << file().chopped(1);
        QTest::newRow("case, spaces, tabs")
            << QByteArray("[driver] \r\n BRAND = B \r\nmodel=M\t\r\nfs = 30\nRE=6 \r\n"
                          "qMs =3\nQES= 0.5\nvas=0.05\n");
        QTest::newRow("comments, other sections, repeats")
            << "; by hand\n[Box]\nFs=1\n\n" + file({";Fs=2", "fs=31", "fLe=x", "\n[Box]\nVas=9"});
        QTest::newRow("BOM, exponents")
            << "\xEF\xBB\xBF" + file({"Fs=3E1", "Re=6.000", "Qes=5e-1", "Vas=50e-3"});
        QTest::newRow("zero as not given") << file({"Le=0", "Sd=0.0", "Xmax=0", "Pe=0", "Qts=0"});
        QTest::newRow("at the size limit")
            << file({";" + QByteArray(int(driverFileLimit) - file().size() - 2, 'x')});
    }
    void readsLiberally() {
        QFETCH(QByteArray, text);
        const auto reference = driverOf(file());
        QVERIFY(reference);
        QVERIFY(driverOf(text) == reference);
    }

    void refuses_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("why");
        QTest::newRow("too large") << file({";" + QByteArray(int(driverFileLimit), 'x')})
                                   << "файл больше 1 МиБ, файлы динамиков много меньше";
        QTest::newRow("UTF-16")
            << QByteArray("\xFF\xFE[\0D\0r\0i\0v\0e\0r\0]\0", 18)
            << "это не текстовый файл: в нём есть нулевые или управляющие байты";
        QTest::newRow("0x98") << file({"Brand=\x98"})
                              << "текст файла не в UTF-8 и не в Windows-1251";
        QTest::newRow("no [Driver]") << file().replace("[Driver]", "[Box]")
                                     << "это не файл динамика: в нём нет раздела [Driver]";
        QTest::newRow("no Fs, Vas") << file({"Fs=", "Vas="}) << "в файле нет Fs, Vas";
        QTest::newRow("no Qms, Qts")
            << file({"Qms=0"}) << "в файле нет Qms (нет и Qts, чтобы её вычислить)";
        QTest::newRow("text") << file({"Fs=abc"}) << "Fs = «abc» — не число";
        QTest::newRow("comma") << file({"Fs=23,5"}) << "Fs = «23,5» — не число";
        QTest::newRow("Windows-1251") << file({"Fs=\xEF\xFF"}) << "Fs = «пя» — не число";
        QTest::newRow("long") << file({"Re=" + QByteArray(30, 'x')})
                              << "Re = «" + QString(20, 'x') + "…» — не число";
        QTest::newRow("zero Fs") << file({"Fs=0"}) << "Fs = «0» — не положительное число";
        QTest::newRow("negative Le")
            << file({"Le=-0.001"}) << "Le = «-0.001» — не положительное число";
        QTest::newRow("overflow") << file({"Vas=1e999"})
                                  << "Vas = «1e999» — за пределами чисел двойной точности";
        QTest::newRow("infinite") << file({"Xmax=inf"})
                                  << "Xmax = «inf» — за пределами чисел двойной точности";
        QTest::newRow("bad Qts") << file({"Qts=-1"}) << "Qts = «-1» — не положительное число";
        QTest::newRow("Qes <= Qts") << file({"Qms=", "Qts=0.6"})
                                    << "Qms не задана, а вычислить её по Qts и Qes нельзя: Qts = "
                                       "0,6 не меньше Qes = 0,5, а "
                                       "полная добротность всегда меньше электрической";
    }
    void refuses() {
        QFETCH(QByteArray, text);
        QFETCH(QString, why);
        const DriverFileRead read = readWdr(text.toStdString());
        QVERIFY(!read.driver);
        QCOMPARE(QString::fromStdString(read.whyNot), why);
    }

    // Qms = Qts·Qes/(Qes − Qts) where the file has none or 0; one it gives wins.
    void derivesQms() {
        const std::pair<QByteArrayList, QString> cases[] = {{{"Qms=", "Qts=0.4"}, "2"},
                                                            {{"Qms=0", "Qts=0.4"}, "2"},
                                                            {{"Qms=", "Qts=0.3", "Qes=0.6"}, "0,6"},
                                                            {{"Qts=0.4"}, "3"}};
        for (const auto &[changes, qms] : cases) {
            const auto driver = driverOf(file(changes));
            QVERIFY(driver);
            QCOMPARE(fieldTexts(*driver)[2], qms);
        }
    }

    // By the digits: products by 1000 would give 159.38827799999999 and 0.30000000000000004.
    void convertsUnitsExactly() {
        const std::tuple<DriverValue, double, double> cases[] = {
            {DriverValue::Vas, 0.159388278, 159.388278},
            {DriverValue::Le, 0.0003, 0.3},
            {DriverValue::Sd, 0.053, 530},
            {DriverValue::Xmax, 0.0035, 3.5},
            {DriverValue::Fs, 23.5688129825741, 23.5688129825741}};
        for (const auto &[value, si, field] : cases) {
            QCOMPARE(toFieldUnit(value, si), field);
            QCOMPARE(toFileUnit(value, field), si);
        }
        QCOMPARE(toFieldUnit(DriverValue::Sd, DBL_MAX), DBL_MAX);
    }

    void showsSixDigits() {
        const std::pair<double, const char *> cases[] = {
            {23.5688129825741, "23,5688"},   {1234567, "1234570"},      {999999.5, "1000000"},
            {0.00001234564, "0,0000123456"}, {2.0000000000000004, "2"}, {0.1 + 0.2, "0,3"}};
        for (const auto &[value, text] : cases)
            QCOMPARE(fieldText(value), std::string(text));
    }

    // The whole file decides: valid UTF-8 is kept, anything else is Windows-1251.
    void decodesOldWindowsText() {
        QCOMPARE(driverOf(file({"Brand=\xC4\xE8\xED\xE0\xEC\xE8\xEA"}))->brand, "Динамик");
        // "И" is D0 98 in UTF-8, with the byte that Windows-1251 lacks.
        QCOMPARE(driverOf(file({"Brand=Исток"}))->brand, "Исток");
        QCOMPARE(
            QByteArray::fromStdString(driverOf(file({"Brand=Динамик", "Comment=\xFF"}))->brand),
            convert("UTF-8", "CP1251", "Динамик").value());
        for (int b = 0; b < 256; ++b)
            if (b != 0x98)
                QCOMPARE(QByteArray::fromStdString(fromWindows1251(std::string(1, char(b)))),
                         convert("UTF-8", "CP1251", QByteArray(1, char(b))).value());
    }
};

QTEST_GUILESS_MAIN(DriverFileTest)
#include "test_driver_file.moc"
