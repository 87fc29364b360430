#pragma once

#include <optional>
#include <string>
#include <utility>

// The outcome of a group's last run, as the additions beyond the calculations read it (menus,
// copies, hand-overs, exports, "Сохранить"): the run itself when it ended with a result, the
// message shown in its place when it was refused. A key-down in one of the group's fields makes
// a result stale: the labels no longer show it, but it is still the group's last result. A
// refusal stays, as its message stays on screen.
template <class Run>
class LastValidRun {
public:
    // The result the group shows; null when it shows none.
    const Run *valid() const { return run && !stale ? &*run : nullptr; }
    // The group's last result, also after a key-down; null when the last run had none.
    const Run *lastResult() const { return run ? &*run : nullptr; }

    // Why there is no result; empty while there is one.
    std::string whyNone() const { return valid() ? std::string() : "Нет результата: " + reason(); }

    // Why the last run has no result: the message or what stopped it, or that there was none.
    std::string reason() const { return refusal.empty() ? "нажмите «Вычислить»" : refusal; }

    void keep(Run result) {
        run = std::move(result);
        stale = false;
        refusal.clear();
    }
    // Why the run ended without a result: the message shown in quotes («Решения нет!»), or
    // what stopped it (поле «Rн (Ом)» пусто).
    void refuse(std::string message) {
        run.reset();
        stale = false;
        refusal = std::move(message);
    }
    // A run under way: should an error end it, that is why there is no result.
    void start() { refuse("расчёт прервала ошибка"); }
    void markStale() { stale = true; }

private:
    std::optional<Run> run;
    bool stale = false;
    std::string refusal;
};
