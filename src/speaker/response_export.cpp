#include "speaker/response_export.h"

#include "core/decimal_text.h"
#include "core/plain_decimal.h"
#include "core/whole_file.h"

#include <cmath>

namespace {

constexpr double frdTopFrequency = 20000; // Hz

double curveQ(const SpeakerRun &run, ResponseCurve curve) {
    return curve == ResponseCurve::IdealSource ? run.box.qtc : run.box.qtcNew;
}

double curveRout(const SpeakerRun &run, ResponseCurve curve) {
    return curve == ResponseCurve::IdealSource ? 0 : run.rout;
}

std::string frdHeader(const SpeakerRun &run, ResponseCurve curve) {
    const Driver &d = run.driver;
    const double rout = curveRout(run, curve);
    const double drop = 20 * std::log10(d.re / (d.re + rout));
    return frdComment("Closed-box loudspeaker, low-frequency response driven with Rout = " +
                      plainDecimal(rout) + " Ohm (ooscalc)") +
           frdDriverComment(d) +
           frdComment("Box: Vb = " + plainDecimal(run.vb) + " l, fc = " + plainDecimal(run.box.fc) +
                      " Hz, Qtc = " + plainDecimal(curveQ(run, curve)) +
                      " at Rout = " + plainDecimal(rout) + " Ohm") +
           frdComment("Model: second-order high-pass s^2/(s^2 + s/Qtc + 1), s = jf/fc") +
           frdComment("Levels in dB relative to this curve's own pass band; at equal drive the "
                      "pass band") +
           frdComment("lies at 20*log10(Re/(Re + Rout)) = " + plainDecimal(drop) +
                      " dB against Rout = 0: add it to shift the curve") +
           frdComment("Frequency in Hz, level in dB, phase in degrees");
}

} // namespace

std::string frdComment(const std::string &text) { return "* " + text + "\r\n"; }

std::string frdLine(double frequency, double value, double phase) {
    return plainDecimal(frequency) + ' ' + plainDecimal(value) + ' ' + plainDecimal(phase) + "\r\n";
}

std::string frdDriverComment(const Driver &d) {
    return frdComment("Driver: Fs = " + plainDecimal(d.fs) + " Hz, Re = " + plainDecimal(d.re) +
                      " Ohm, Qms = " + plainDecimal(d.qms) + ", Qes = " + plainDecimal(d.qes) +
                      ", Vas = " + plainDecimal(d.vas) + " l");
}

std::vector<double> frdFrequencies() {
    const auto chart = responseFrequencies();
    std::vector<double> f(chart.begin(), chart.end());
    const double ratio = responseRatio();
    while (f.back() < frdTopFrequency)
        f.push_back(f.back() * ratio);
    return f;
}

std::string frdText(const SpeakerRun &run, ResponseCurve curve) {
    const double fc = run.box.fc, q = curveQ(run, curve);
    std::string text = frdHeader(run, curve);
    for (const double f : frdFrequencies())
        text += frdLine(f, responseLevel(f, fc, q), responsePhase(f, fc, q));
    return text;
}

std::string frdFileName(const SpeakerRun &run, ResponseCurve curve) {
    if (curve == ResponseCurve::IdealSource)
        return "АЧХ_Rвых_0.frd";
    return "АЧХ_Rвых_" + formatGeneral(run.rout) + "_Ом.frd";
}

std::string responseTable(const SpeakerRun &run) {
    // The columns named as the chart's legend names the curves.
    std::string text =
        "f, Гц\tАЧХ при Rвых = 0, дБ\tАЧХ при Rвых = " + formatGeneral(run.rout) + "  Ом, дБ\n";
    for (const double f : responseFrequencies())
        text += formatGeneral(f) + '\t' + formatGeneral(responseLevel(f, run.box.fc, run.box.qtc)) +
                '\t' + formatGeneral(responseLevel(f, run.box.fc, run.box.qtcNew)) + '\n';
    return text;
}

void writeResponseFiles(const std::string &folder, const SpeakerRun &run) {
    const std::string ideal = frdText(run, ResponseCurve::IdealSource);
    const std::string driven = frdText(run, ResponseCurve::RunRout);
    writeWholeFiles({{folder + '/' + frdFileName(run, ResponseCurve::IdealSource), ideal},
                     {folder + '/' + frdFileName(run, ResponseCurve::RunRout), driven}});
}
