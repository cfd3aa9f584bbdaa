#include "monkey.h"

#include "../ui/scenarios.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <sstream>

namespace monkey {

namespace {

using ui::Control;
using ui::MenuItem;
using ui::WindowModel;

std::string utf8(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text) {
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u16string utf16(std::string_view text)
{
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += char16_t(c);
        } else if ((c & 0xE0) == 0xC0 && i + 1 < text.size()) {
            out += char16_t(((c & 0x1F) << 6) | (text[i + 1] & 0x3F));
            i += 1;
        } else if ((c & 0xF0) == 0xE0 && i + 2 < text.size()) {
            out += char16_t(((c & 0x0F) << 12) | ((text[i + 1] & 0x3F) << 6) | (text[i + 2] & 0x3F));
            i += 2;
        } else {
            out += u'\uFFFD';
        }
    }
    return out;
}

MenuItem menuNamed(std::u16string_view name)
{
    if (name == u"calc") return MenuItem::mnuCalc;
    if (name == u"reset") return MenuItem::mnuReset;
    if (name == u"exit") return MenuItem::mnuExit;
    if (name == u"instructions") return MenuItem::mnuInstructions;
    if (name == u"about") return MenuItem::mnuAbout;
    return MenuItem::None;
}

bool isBox(Control c)
{
    return c == Control::txtT || c == Control::txtL;
}

// splitmix64: the same numbers on every platform and standard library.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) { }
    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::size_t below(std::size_t n) { return std::size_t(next() % n); }
    bool percent(int p) { return below(100) < std::size_t(p); }
    template <class T>
    const T &pick(std::initializer_list<T> items) { return items.begin()[below(items.size())]; }
    char16_t from(std::u16string_view pool) { return pool[below(pool.size())]; }

private:
    std::uint64_t m_state;
};

// Texts people type: numbers as written, typos, words, spaces, the odd
// unit sign, and now and then a long run.
std::u16string someText(Random &r)
{
    if (r.percent(35))
        return std::u16string(r.pick<std::u16string_view>(
                {u"5800", u"1", u"0.5", u".5", u"1e3", u"0.0", u"0", u"-250", u"1.0", u"300", u"10", u"1E400",
                 u"1e-300", u"abc", u"58OO", u"1.7976931348623157e308", u"5,8", u" 12 ", u"+7", u"2.5E+3",
                 u"1000", u"1.11", u"-0", u"4e", u"--1", u"1.2.3", u"\u00B0C", u"0x10"}));
    static constexpr std::u16string_view pools[] = {u"0123456789", u"0123456789.-+eE", u"abcxyzEO ,.-",
                                                    u"0123456789. \u00B5"};
    const std::u16string_view pool = pools[r.below(std::size(pools))];
    std::u16string text;
    const std::size_t length = 1 + r.below(r.percent(90) ? 6 : 40);
    for (std::size_t i = 0; i < length; ++i)
        text += r.from(pool);
    return text;
}

std::u16string longText(Random &r)
{
    std::u16string unit = someText(r);
    std::u16string text;
    const std::size_t repeat = 20 + r.below(120);
    for (std::size_t i = 0; i < repeat; ++i)
        text += unit;
    return text;
}

// One action, more often the ones the windows shown can take.
Action nextAction(Random &r, const WindowModel &m)
{
    if (m.ended())
        return u"restart";
    if (!m.messages().empty() && r.percent(4))
        return u"answer " + std::u16string(r.pick<std::u16string_view>({u"enter", u"space", u"escape", u"click"}));
    if (m.aboutVisible() && r.percent(60))
        return std::u16string(r.pick<std::u16string_view>(
                {u"about-ok", u"about-close", u"enter", u"space", u"alt O", u"escape", u"tab", u"keys o", u"alt C"}));
    struct Weighted {
        int weight;
        Action (*make)(Random &);
    };
    static const Weighted table[] = {
        {18, [](Random &r) { return u"keys " + someText(r); }},
        {6, [](Random &r) { return u"set " + someText(r); }},
        {2, [](Random &r) { return u"type " + someText(r); }},
        {5, [](Random &) { return Action(u"select-all"); }},
        {3, [](Random &r) { return u"paste " + (r.percent(30) ? longText(r) : someText(r)); }},
        {4, [](Random &) { return Action(u"backspace"); }},
        {2, [](Random &) { return Action(u"delete"); }},
        {2, [](Random &) { return Action(u"home"); }},
        {2, [](Random &) { return Action(u"end"); }},
        {12, [](Random &r) {
             return u"click " + std::u16string(r.pick<std::u16string_view>(
                                        {u"txtT", u"txtL", u"txtT", u"txtL", u"cmdCalc", u"cmdCalc", u"cmdReset", u"face"}));
         }},
        {1, [](Random &) { return Action(u"click cmdExit"); }},
        {3, [](Random &r) { return u"dblclick " + std::u16string(r.pick<std::u16string_view>({u"txtT", u"txtL"})); }},
        {8, [](Random &) { return Action(u"tab"); }},
        {4, [](Random &) { return Action(u"backtab"); }},
        {7, [](Random &) { return Action(u"enter"); }},
        {2, [](Random &) { return Action(u"space"); }},
        {1, [](Random &) { return Action(u"escape"); }},
        {1, [](Random &r) { return Action(r.percent(50) ? u"ctrl-enter" : u"alt-enter"); }},
        {5, [](Random &r) { return u"alt " + std::u16string(1, r.from(u"CCCRXO")); }},
        {6, [](Random &r) {
             const std::u16string_view how = r.percent(50) ? u"menu " : u"menu-click ";
             return std::u16string(how) + std::u16string(r.pick<std::u16string_view>(
                                                  {u"calc", u"calc", u"reset", u"instructions", u"about", u"about", u"exit"}));
         }},
        {2, [](Random &r) { return Action(r.percent(50) ? u"about-ok" : u"about-close"); }},
        {1, [](Random &) { return Action(u"close-main"); }},
        {2, [](Random &r) {
             return u"answer " + std::u16string(r.pick<std::u16string_view>({u"enter", u"space", u"escape", u"click"}));
         }},
    };
    int total = 0;
    for (const Weighted &w : table)
        total += w.weight;
    int pick = int(r.below(std::size_t(total)));
    for (const Weighted &w : table) {
        if (pick < w.weight)
            return w.make(r);
        pick -= w.weight;
    }
    return u"tab";
}

std::string quote(std::u16string_view text)
{
    return "\"" + utf8(text.size() > 60 ? std::u16string(text.substr(0, 57)) + u"..." : std::u16string(text)) + "\"";
}

std::string describe(const State &s)
{
    return "txtT " + quote(s.txtT) + ", txtL " + quote(s.txtL) + ", results " + quote(s.lblLT) + " " + quote(s.lblF)
            + ", focus " + utf8(s.focus) + " [" + std::to_string(s.selStart) + "," + std::to_string(s.selEnd) + ")"
            + (s.mainVisible ? ", main shown" : "") + (s.aboutVisible ? ", About shown" : "")
            + (s.ended ? ", ended" : "");
}

// The first field on which the front end differs from the model, and how.
std::optional<Failure> compare(const State &model, const State &front)
{
    const auto differ = [&](const char *field) -> std::optional<Failure> {
        return Failure{0, field, "model: " + describe(model) + "\nfront: " + describe(front)};
    };
    if (model.ended != front.ended)
        return differ("ended");
    if (model.messages != front.messages) {
        std::string detail;
        for (const auto *side : {&model, &front}) {
            detail += side == &model ? "model's boxes:" : "\nfront's boxes:";
            for (const std::u16string &m : side->messages)
                detail += " " + quote(m);
        }
        return Failure{0, "messages", detail};
    }
    if (model.ended)
        return std::nullopt; // the windows are gone
    if (model.mainVisible != front.mainVisible) return differ("main window shown");
    if (model.aboutVisible != front.aboutVisible) return differ("About shown");
    if (model.txtT != front.txtT) return differ("txtT");
    if (model.txtL != front.txtL) return differ("txtL");
    if (model.lblLT != front.lblLT || model.lblF != front.lblF) return differ("results");
    if (!model.mainVisible)
        return std::nullopt;
    if (model.focus != front.focus) return differ("focus");
    if ((model.focus == u"txtT" || model.focus == u"txtL")
        && (model.selStart != front.selStart || model.selEnd != front.selEnd))
        return differ("selection");
    return std::nullopt;
}

} // namespace

Control controlNamed(std::u16string_view name)
{
    if (name == u"txtT") return Control::txtT;
    if (name == u"txtL") return Control::txtL;
    if (name == u"cmdCalc" || name == u"C") return Control::cmdCalc;
    if (name == u"cmdReset" || name == u"R") return Control::cmdReset;
    if (name == u"cmdExit" || name == u"X") return Control::cmdExit;
    return Control::None;
}

std::u16string nameOf(Control c)
{
    switch (c) {
    case Control::txtT: return u"txtT";
    case Control::txtL: return u"txtL";
    case Control::cmdCalc: return u"cmdCalc";
    case Control::cmdReset: return u"cmdReset";
    case Control::cmdExit: return u"cmdExit";
    default: return u"none";
    }
}

void apply(WindowModel &m, const Action &action)
{
    const auto [verb, argument] = scenarios::split(action);
    if (verb == u"set") {
        m.selectAll();
        if (argument.empty())
            m.deleteKey();
        else
            m.typeText(argument);
    } else if (verb == u"type") {
        m.end();
        m.typeText(argument);
    } else if (verb == u"keys") m.typeText(argument);
    else if (verb == u"paste") m.pasteText(argument);
    else if (verb == u"select-all") m.selectAll();
    else if (verb == u"home") m.home();
    else if (verb == u"end") m.end();
    else if (verb == u"backspace") m.backspace();
    else if (verb == u"delete") m.deleteKey();
    else if (verb == u"enter") m.pressEnter();
    else if (verb == u"ctrl-enter") m.typeText(u"\n"); // a box takes the line feed as no character
    else if (verb == u"alt-enter") { }                   // no key procedure hears Alt combinations
    else if (verb == u"space") m.pressSpace();
    else if (verb == u"escape") m.pressEscape();
    else if (verb == u"tab") m.tab();
    else if (verb == u"backtab") m.backTab();
    else if (verb == u"click" || verb == u"dblclick") {
        // A double click is two clicks for the focus, and one word selected.
        const Control control = controlNamed(argument);
        if (control != Control::None && !(verb == u"dblclick" && !isBox(control))) {
            m.click(control);
            if (verb == u"dblclick")
                m.click(control);
        }
    } else if (verb == u"alt" && argument.size() == 1) m.altKey(argument.front());
    else if (verb == u"menu" || verb == u"menu-click") m.menu(menuNamed(argument));
    else if (verb == u"about-ok") m.clickAboutOK();
    else if (verb == u"about-close") m.closeAbout();
    else if (verb == u"close-main") m.closeMain();
    // "answer" changes only how a real box is closed: the model's boxes
    // close at once, with OK, whatever the way.
}

State observe(const WindowModel &m, std::size_t &messagesSeen)
{
    State s;
    s.txtT = m.text(Control::txtT);
    s.txtL = m.text(Control::txtL);
    s.lblLT = m.lblLT();
    s.lblF = m.lblF();
    s.focus = nameOf(m.focus());
    if (isBox(m.focus())) {
        s.selStart = m.selection(m.focus()).start;
        s.selEnd = m.selection(m.focus()).end;
    }
    s.mainVisible = m.mainVisible();
    s.aboutVisible = m.aboutVisible();
    s.ended = m.ended();
    for (; messagesSeen < m.messages().size(); ++messagesSeen)
        s.messages.push_back(m.messages()[messagesSeen].title + u": " + m.messages()[messagesSeen].prompt);
    return s;
}

std::string encode(const std::vector<Action> &actions)
{
    std::string line;
    for (const Action &action : actions) {
        if (!line.empty())
            line += ';';
        for (char c : utf8(action)) {
            switch (c) {
            case ';': line += "\\;"; break;
            case '\\': line += "\\\\"; break;
            case '\r': line += "\\r"; break;
            case '\n': line += "\\n"; break;
            case '\t': line += "\\t"; break;
            default: line += c;
            }
        }
    }
    return line;
}

std::vector<Action> decode(std::string_view replay)
{
    std::vector<Action> actions;
    std::string action;
    for (std::size_t i = 0; i < replay.size(); ++i) {
        char c = replay[i];
        if (c == '\\' && i + 1 < replay.size()) {
            c = replay[++i];
            action += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
        } else if (c == ';') {
            actions.push_back(utf16(action));
            action.clear();
        } else {
            action += c;
        }
    }
    if (!action.empty())
        actions.push_back(utf16(action));
    return actions;
}

namespace {

// Runs `actions` on a new program and a new model; with `draw`, more are
// drawn from the model as it stands until there are `count`.
std::optional<Failure> run(Front &front, std::vector<Action> &actions, Random *draw, std::size_t count)
{
    front.start();
    auto model = std::make_unique<WindowModel>();
    std::size_t seen = 0;
    for (std::size_t step = 0;; ++step) {
        // Step 0 is the start-up; step k follows action k - 1.
        if (step > 0 && draw && actions.size() < std::min(step, count))
            actions.push_back(nextAction(*draw, *model));
        if (step > actions.size())
            break;
        if (step > 0) {
            const Action &action = actions[step - 1];
            if (action == u"restart") {
                front.start();
                model = std::make_unique<WindowModel>();
                seen = 0;
            } else {
                front.perform(action);
                monkey::apply(*model, action);
            }
        }
        const State real = front.state();
        if (step > 0) {
            // A click in a box leaves the caret under the mouse, which only
            // the toolkit knows: the model takes it, once it is plausible.
            const auto [verb, argument] = scenarios::split(actions[step - 1]);
            const Control box = controlNamed(argument);
            if ((verb == u"click" || verb == u"dblclick") && isBox(box) && model->focus() == box
                && real.focus == argument && model->mainVisible()) {
                const std::size_t size = model->text(box).size();
                if (real.selStart > real.selEnd || real.selEnd > size || (verb == u"click" && real.selStart != real.selEnd))
                    return Failure{step, "selection", "a " + utf8(verb) + " left [" + std::to_string(real.selStart)
                                                              + "," + std::to_string(real.selEnd) + ") in "
                                                              + quote(model->text(box))};
                model->placeCaret(box, {real.selStart, real.selEnd});
            }
        }
        if (auto failure = compare(observe(*model, seen), real)) {
            failure->step = step;
            return failure;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<Failure> check(Front &front, const std::vector<Action> &actions)
{
    std::vector<Action> copy = actions;
    return run(front, copy, nullptr, 0);
}

std::optional<Failure> explore(Front &front, std::uint64_t seed, std::size_t count, std::vector<Action> &actions)
{
    Random draw(seed);
    actions.clear();
    return run(front, actions, &draw, count);
}

std::vector<Action> shrink(Front &front, std::vector<Action> actions, const Failure &failure, int replays)
{
    // Nothing after the failing action matters.
    actions.resize(std::min(actions.size(), failure.step));
    // Removes ever smaller chunks while the run still fails on the same field.
    for (std::size_t chunk = std::max<std::size_t>(actions.size() / 2, 1); replays > 0;) {
        bool removed = false;
        for (std::size_t at = 0; at < actions.size() && replays > 0;) {
            std::vector<Action> candidate = actions;
            candidate.erase(candidate.begin() + std::ptrdiff_t(at),
                            candidate.begin() + std::ptrdiff_t(std::min(actions.size(), at + chunk)));
            --replays;
            const std::optional<Failure> again = check(front, candidate);
            if (again && again->field == failure.field) {
                candidate.resize(std::min(candidate.size(), again->step));
                actions = std::move(candidate);
                removed = true;
            } else {
                at += chunk;
            }
        }
        if (chunk == 1 && !removed)
            break;
        if (!removed)
            chunk = std::max<std::size_t>(chunk / 2, 1);
    }
    return actions;
}

Plan planFromEnvironment(std::vector<std::uint64_t> seeds, std::size_t actions)
{
    Plan plan{std::move(seeds), actions, std::nullopt, 80};
    if (const char *seed = std::getenv("EMBERLINE_MONKEY_SEED"); seed && *seed)
        plan.seeds = {std::strtoull(seed, nullptr, 0)};
    if (const char *count = std::getenv("EMBERLINE_MONKEY_ACTIONS"); count && *count)
        plan.actions = std::strtoull(count, nullptr, 10);
    if (const char *replay = std::getenv("EMBERLINE_MONKEY_REPLAY"); replay && *replay)
        plan.replay = decode(replay);
    if (const char *shrink = std::getenv("EMBERLINE_MONKEY_SHRINK"); shrink && *shrink)
        plan.shrinkReplays = std::atoi(shrink);
    return plan;
}

std::string hunt(Front &front, const Plan &plan, const std::string &name)
{
    std::vector<std::pair<std::string, std::vector<Action>>> runs;
    if (plan.replay)
        runs.emplace_back("the replay", *plan.replay);
    else
        for (std::uint64_t seed : plan.seeds)
            runs.emplace_back("seed " + std::to_string(seed), std::vector<Action>());
    for (std::size_t i = 0; i < runs.size(); ++i) {
        auto &[origin, actions] = runs[i];
        const std::optional<Failure> failure =
                plan.replay ? check(front, actions) : explore(front, plan.seeds[i], plan.actions, actions);
        if (!failure)
            continue;
        std::ostringstream report;
        report << name << ", " << origin << ": after action " << failure->step << " of "
               << (plan.replay ? actions.size() : plan.actions)
               << " (" << (failure->step ? quote(actions[failure->step - 1]) : std::string("start-up"))
               << ") " << failure->field << ": the front end and the model differ\n"
               << failure->detail << "\nreplay: EMBERLINE_MONKEY_REPLAY='"
               << encode(std::vector<Action>(actions.begin(), actions.begin() + std::ptrdiff_t(failure->step)))
               << "'\n";
        if (plan.shrinkReplays > 0) {
            const std::vector<Action> shrunk = shrink(front, actions, *failure, plan.shrinkReplays);
            const std::optional<Failure> again = check(front, shrunk);
            report << "shrunk to " << shrunk.size() << " actions: EMBERLINE_MONKEY_REPLAY='" << encode(shrunk) << "'\n";
            if (again)
                report << again->detail << "\n";
        }
        return report.str();
    }
    return {};
}

void ModelFront::start()
{
    m_model = std::make_unique<WindowModel>();
    m_seen = 0;
}

void ModelFront::perform(const Action &action)
{
    monkey::apply(*m_model, action);
    if (fault)
        fault(*m_model, action);
}

State ModelFront::state()
{
    return observe(*m_model, m_seen);
}

} // namespace monkey
