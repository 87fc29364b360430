#pragma once

#include <optional>
#include <string>
#include <utility>

// The outcome of a group's last run, as the additions beyond the calculations read it (menus,
// copies, hand-overs, exports): the run itself when it ended with a result, the message shown in
// its place when it was refused. A key-down in one of the group's fields makes a result stale;
// a refusal stays, as its message stays on screen.
template <class Run>
class LastValidRun {
public:
    const Run *valid() const { return run ? &*run : nullptr; }

    // Why there is no result; empty while there is one.
    std::string whyNone() const {
        if (run)
            return {};
        if (refusal.empty())
            return "Нет результата: нажмите «Вычислить»";
        return "Нет результата: " + refusal;
    }

    void keep(Run result) {
        run = std::move(result);
        refusal.clear();
    }
    // Why the run ended without a result: the message shown in quotes («Решения нет!»), or
    // what stopped it (поле «Rн (Ом)» пусто).
    void refuse(std::string message) {
        run.reset();
        refusal = std::move(message);
    }
    void clear() { refuse({}); }
    void markStale() { run.reset(); }

private:
    std::optional<Run> run;
    std::string refusal;
};
