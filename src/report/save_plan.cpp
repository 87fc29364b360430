#include "report/save_plan.h"

#include "core/windows1251.h"
#include "speaker/qtc_advice.h"

namespace {

void recordAmplifier(LastResults &record, const AmplifierRun &run) {
    const ReportedNetwork &r = run.reported;
    record.schemeKind = run.kind;
    record.r1 = r.r1;
    record.r2 = r.r2;
    record.roc = r.roc;
    record.rt = r.rt;
    record.rload = r.rload;
    record.rout = r.rout;
    record.gain = r.gain;
    record.targetGain = run.targetGain;
}

void recordSpeaker(LastResults &record, const SpeakerRun &run) {
    const Driver &d = run.driver;
    record.speakerDone = 1;
    record.fs = d.fs;
    record.re = d.re;
    record.qms = d.qms;
    record.qes = d.qes;
    record.vas = d.vas;
    record.vb = run.vb;
    record.speakerRout = run.rout;
    record.routRequired = run.routRequired.value_or(0);
    record.qtc = run.box.qtc;
    record.f3 = run.box.f3;
    record.qtcNew = run.box.qtcNew;
    record.f3New = run.box.f3New;
}

} // namespace

SavePlan planSave(const SectionRun<AmplifierRun> *amplifier, const SectionRun<SpeakerRun> &speaker,
                  bool speakerDone) {
    SavePlan plan;
    if (amplifier && amplifier->result)
        recordAmplifier(plan.record, *amplifier->result);
    else if (amplifier)
        plan.refusals.push_back(amplifier->name + ": " + amplifier->whyNone);

    const SpeakerRun *run = speaker.result;
    if (!run) {
        plan.refusals.push_back(speaker.name + ": " + speaker.whyNone);
    } else if (speakerDone && !run->routRequired) {
        plan.refusals.push_back(speaker.name +
                                ": Rвых для Qtc = 0,7 нет, её дало бы лишь бесконечное Rвых");
    } else if (speakerDone) {
        recordSpeaker(plan.record, *run);
        if (*run->routRequired < 0)
            plan.routNote =
                "    Такое Rвых не построить: " + withWindows1251Symbols(qtcAdvice(*run).text);
    }
    return plan;
}
