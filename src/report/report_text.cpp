#include "report/report_text.h"

#include "core/windows1251.h"
#include "report/report_number.h"

namespace {

// "       R1    =  20000.0  Ом": the label (7 spaces, symbol, "=" in column 14, 2 spaces), the
// number with nothing between, then the unit.
std::string row(std::string_view label, double value, int width, int decimals,
                std::string_view unit = {}) {
    std::string line(label);
    line += formatReportNumber(value, width, decimals);
    line += unit;
    return line;
}

void appendEmpty(std::vector<std::string> &lines, int count) {
    lines.insert(lines.end(), static_cast<std::size_t>(count), std::string());
}

// The asterisk frame around a title: the border, an empty row, the title, an empty row, the
// border. `inner` counts the characters between the two side asterisks.
void appendFrame(std::vector<std::string> &lines, int inner, std::string_view titleRow) {
    const std::string border = "  " + std::string(static_cast<std::size_t>(inner) + 2, '*');
    const std::string empty = "  *" + std::string(static_cast<std::size_t>(inner), ' ') + "*";
    lines.insert(lines.end(), {border, empty, std::string(titleRow), empty, border});
}

constexpr std::string_view ohm = "  Ом";
constexpr std::string_view hertz = "  Гц";
constexpr std::string_view litre = "  л";

void appendAmplifier(std::vector<std::string> &lines, const LastResults &r) {
    appendFrame(lines, 66,
                "  *         Результаты расчета усилителя с комбинированной ООС       *");
    appendEmpty(lines, 3);
    lines.push_back(row("       R1    =  ", r.r1, 4, 1, ohm));
    lines.push_back(row("       R2    =  ", r.r2, 4, 1, ohm));
    lines.push_back(row("       Roc   =  ", r.roc, 4, 1, ohm));
    lines.push_back(row("       R     =  ", r.rt, 4, 2, ohm)); // the current-sense resistor
    lines.push_back(row("       Rнагр =  ", r.rload, 4, 1, ohm));
    lines.push_back(row("       Rвых  =  ", r.rout, 4, 2, ohm));
    lines.push_back(row("       Ку    =  ", r.gain, 4, 1));
}

void appendLoudspeaker(std::vector<std::string> &lines, const LastResults &r,
                       const std::string &routNote) {
    appendFrame(lines, 57, "  *          АЧХ сабвуфера при Rвых усилителя > 0           *");
    appendEmpty(lines, 3);
    lines.push_back("             Исходные данные:");
    lines.push_back("   " + std::string(37, '-'));
    appendEmpty(lines, 2);
    lines.push_back(row("       Fs    =  ", r.fs, 4, 1, hertz));
    lines.push_back(row("       Re    =  ", r.re, 4, 1, ohm));
    lines.push_back(row("       Qms   =  ", r.qms, 3, 2));
    lines.push_back(row("       Qes   =  ", r.qes, 3, 2));
    lines.push_back(row("       Vas   =  ", r.vas, 3, 1, litre));
    appendEmpty(lines, 1);
    lines.push_back(row("       Vb    =  ", r.vb, 3, 1, litre));
    appendEmpty(lines, 2);
    lines.push_back("    Rвых необходимое для получения Qts = 0,7 ");
    lines.push_back(row("    Rвых необх. =  ", r.routRequired, 4, 2, ohm));
    if (!routNote.empty())
        lines.push_back(routNote);
    appendEmpty(lines, 2);
    lines.push_back("          ----    Rвых = 0    ----");
    appendEmpty(lines, 1);
    lines.push_back(row("       Qtc   =  ", r.qtc, 3, 3));
    lines.push_back(row("       F3    =  ", r.f3, 3, 1, hertz));
    appendEmpty(lines, 3);
    lines.push_back("          ----    Rвых > 0    ----");
    appendEmpty(lines, 2);
    lines.push_back(row("       Rвых  =  ", r.speakerRout, 4, 2, ohm));
    appendEmpty(lines, 1);
    lines.push_back(row("       Qtc'  =  ", r.qtcNew, 3, 3));
    lines.push_back(row("       F3'   =  ", r.f3New, 4, 1, hertz));
}

} // namespace

std::vector<std::string> reportLines(const LastResults &last, const std::string &routNote) {
    std::vector<std::string> lines;
    if (last.schemeKind != SchemeKind::None)
        appendAmplifier(lines, last);
    if (last.schemeKind != SchemeKind::None && last.speakerDone > 0)
        appendEmpty(lines, 9);
    if (last.speakerDone > 0)
        appendLoudspeaker(lines, last, routNote);
    return lines;
}

std::string reportFileLine(std::string_view line) { return toWindows1251(line) + "\r\n"; }

std::string reportFileBytes(const LastResults &last, const std::string &routNote) {
    std::string bytes;
    for (const std::string &line : reportLines(last, routNote))
        bytes += reportFileLine(line);
    return bytes;
}
