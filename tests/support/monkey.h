#pragma once

// A seeded random user for every front end, judged by the window model.
//
// The generator draws actions from the scenario table's vocabulary
// (tests/ui/scenarios.h) and the model holds what each must do. A front
// end's driver only performs an action and reads the windows back; after
// every action the model and the real windows must agree on both boxes'
// texts, the focused box's selection, both results, the focus, which
// windows are shown, the message boxes shown meanwhile and whether the
// program has ended. A failing run is shrunk to a short replay that fails
// the same way.
//
//   EMBERLINE_MONKEY_SEED=<n>            one seed (decimal or 0x hex) instead
//                                        of the test's fixed ones
//   EMBERLINE_MONKEY_ACTIONS=<n>         actions per seed
//   EMBERLINE_MONKEY_REPLAY='<actions>'  exactly these actions, as a failing
//                                        run prints them
//   EMBERLINE_MONKEY_SHRINK=<n>          replays allowed to shrink a failure
//                                        (default 80, 0 = none)

#include "ui/window_model.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace monkey {

using Action = std::u16string;

// What the windows show after an action.
struct State {
    std::u16string txtT, txtL, lblLT, lblF;
    std::u16string focus;            // txtT, txtL, cmdCalc, cmdReset, cmdExit or none
    std::size_t selStart = 0, selEnd = 0; // in the focused box, UTF-16 units
    bool mainVisible = true;
    bool aboutVisible = false;
    bool ended = false;
    std::vector<std::u16string> messages; // "title: prompt" of each box shown since the last look
};

// A program under test: a driver performs each action with its toolkit's
// real input and reads its windows back. Every message box that appears
// is answered the way the last "answer" action chose (OK before any).
class Front {
public:
    virtual ~Front() = default;
    // A new program in place of the one running, if any.
    virtual void start() = 0;
    virtual void perform(const Action &action) = 0;
    virtual State state() = 0;
};

// The model's side of an action: what the window model does for it.
void apply(ui::WindowModel &model, const Action &action);
// The model's windows as a driver reads a front end's.
State observe(const ui::WindowModel &model, std::size_t &messagesSeen);

// The control an action's argument names (txtT ... cmdExit, or the access
// letters C, R, X), None for anything else; and a control's name.
ui::Control controlNamed(std::u16string_view name);
std::u16string nameOf(ui::Control control);

// Actions as one line, ';' between them, and back.
std::string encode(const std::vector<Action> &actions);
std::vector<Action> decode(std::string_view replay);

struct Failure {
    std::size_t step = 0;  // index of the action after which they differed
    std::string field;     // what differed first: "txtT", "messages", ...
    std::string detail;    // the model's and the front end's values
};

// Runs the actions on a new program and on a new model side by side.
std::optional<Failure> check(Front &front, const std::vector<Action> &actions);
// The same for `count` actions drawn from `seed` as the run goes, each
// from the model as it then stands (the same on every platform for the
// same answers of the front end); `actions` receives them.
std::optional<Failure> explore(Front &front, std::uint64_t seed, std::size_t count, std::vector<Action> &actions);

// A shorter run that still fails on the same field, within `replays` runs.
std::vector<Action> shrink(Front &front, std::vector<Action> actions, const Failure &failure, int replays);

// The runs the environment asks for (see above), or the fixed seeds.
struct Plan {
    std::vector<std::uint64_t> seeds;
    std::size_t actions = 0;
    std::optional<std::vector<Action>> replay;
    int shrinkReplays = 80;
};
Plan planFromEnvironment(std::vector<std::uint64_t> seeds, std::size_t actions);

// Carries out the plan on a front end; empty when every run agreed with
// the model, else the seed, the replay and its shrunk form, ready to print.
// `name` names the front end in the report.
std::string hunt(Front &front, const Plan &plan, const std::string &name);

// The model as a front end, with an optional planted fault: the test of the
// monkey itself, and the in-memory reference the drivers are judged against.
class ModelFront : public Front {
public:
    void start() override;
    void perform(const Action &action) override;
    State state() override;
    // Called after each action with the model, for a planted fault.
    std::function<void(ui::WindowModel &, const Action &)> fault;

private:
    std::unique_ptr<ui::WindowModel> m_model;
    std::size_t m_seen = 0;
};

} // namespace monkey
