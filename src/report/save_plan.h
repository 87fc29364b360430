#pragma once

#include "amplifier/amplifier_run.h"
#include "core/last_results.h"
#include "speaker/speaker_run.h"

#include <string>
#include <vector>

// A section's last run as "Сохранить" finds it: its result, also after a key-down made it
// stale, or why it has none; and the name a refusal gives it.
template <class Run>
struct SectionRun {
    const Run *result;
    std::string whyNone; // «R < Rвых!», поле «Rн (Ом)» пусто …
    std::string name; // «Неинвертирующий, Вариант 1», «Пример применения»
};

// What one "Сохранить" writes: the record the report prints, made of the last amplifier run and
// the last loudspeaker run, each whole, never of a refused run's values; and, where the
// required Rвых is negative, the line under it that says why no amplifier gives it. Where the
// run a section describes ended without a result, `refusals` says which and why, and nothing is
// written.
struct SavePlan {
    LastResults record;
    std::string routNote;
    std::vector<std::string> refusals;
};

// `amplifier` is null while no amplifier was calculated. The loudspeaker section is due once its
// page's "Вычислить" ran; its run also draws the chart, which is always written.
SavePlan planSave(const SectionRun<AmplifierRun> *amplifier, const SectionRun<SpeakerRun> &speaker,
                  bool speakerDone);
