// The report text: its three shapes byte for byte, the number fields in place and the file's
// encoding and line ends.

#include "expected_report.h"
#include "report/report_text.h"

#include <QTest>

namespace {

// Values chosen so that every field shows a case of its format: wider than the field, padded,
// rounded half away from zero, negative.
LastResults amplifierResults() {
    LastResults r;
    r.schemeKind = SchemeKind::NonInverting;
    r.r1 = 20000;
    r.r2 = 9999.96;
    r.roc = 1000;
    r.rt = 0.2;
    r.rload = 4;
    r.rout = 0.6;
    r.gain = 19.96;
    return r;
}
const AmplifierFigures amplifierFigures{"20000.0", "10000.0", "1000.0", "0.20",
                                        " 4.0",    "0.60",    "20.0"};

void addSpeakerResults(LastResults &r) {
    r.speakerDone = 1;
    r.fs = 19;
    r.re = 3.4;
    r.qms = 0.125;
    r.qes = 0.18;
    r.vas = 2.25;
    r.vb = 500;
    r.routRequired = -1.956;
    r.qtc = 0.23847;
    r.f3 = 103.886;
    r.speakerRout = 6;
    r.qtcNew = 0.70022;
    r.f3New = 4167.003;
}
const SpeakerFigures speakerFigures{"19.0",  " 3.4",  "0.13",  "0.18", "2.3",   "500.0",
                                    "-1.96", "0.238", "103.9", "6.00", "0.700", "4167.0"};

QByteArray reportBytes(const LastResults &r) {
    return QByteArray::fromStdString(reportFileBytes(r));
}

} // namespace

class ReportTextTest : public QObject {
    Q_OBJECT

private slots:
    void amplifierOnly() {
        const QByteArray bytes = reportBytes(amplifierResults());
        QCOMPARE(bytes, expectedReportFile(expectedAmplifierSection(amplifierFigures)));
        QCOMPARE(bytes.count("\r\n"), 15);
    }

    void loudspeakerOnly() {
        LastResults r;
        addSpeakerResults(r);
        r.r1 = 1; // amplifier values are not printed without an amplifier run
        const QByteArray bytes = reportBytes(r);
        QCOMPARE(bytes, expectedReportFile(expectedSpeakerSection(speakerFigures)));
        QCOMPARE(bytes.count("\r\n"), 39);
    }

    void bothWithNineEmptyLinesBetween() {
        LastResults r = amplifierResults();
        r.schemeKind = SchemeKind::Inverting;
        addSpeakerResults(r);
        const QByteArray bytes = reportBytes(r);
        QCOMPARE(bytes, expectedReportFile(bothSections(amplifierFigures, speakerFigures)));
        QCOMPARE(bytes.count("\r\n"), 63);
    }

    void nothingCalculatedGivesAnEmptyFile() { QCOMPARE(reportBytes(LastResults{}), QByteArray()); }

    // One byte per character, no byte-order mark, CR LF after the last line as after any other.
    void windows1251WithCrLf() {
        const QByteArray bytes = reportBytes(amplifierResults());
        QVERIFY(bytes.startsWith("  ****"));
        QVERIFY(bytes.endsWith("       \xCA\xF3    =  20.0\r\n"));        // "Ку"
        QVERIFY(bytes.contains("       R1    =  20000.0  \xCE\xEC\r\n")); // "Ом"
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        QCOMPARE(bytes.count('\r'), bytes.count("\r\n"));
        QVERIFY(!bytes.contains(','));
    }
};

QTEST_APPLESS_MAIN(ReportTextTest)
#include "test_report_text.moc"
