// The monkey for a driver that runs in another process. It writes one
// command per line on its standard output and reads the driver's answer
// line from its standard input:
//   start          a new program; answer "ok"
//   do <action>    the action, escaped as in a replay; answer "ok"
//   state          answer the windows, tab-separated and escaped with \\,
//                  \t, \r and \n: txtT, txtL, lblLT, lblF, focus, the
//                  selection's start and end, main shown, About shown,
//                  ended (each 0 or 1), then one field per message box
//   done           the end; no answer
// The report goes to standard error; the exit code is 1 on a failure.
//
//   monkey_oracle --name NAME --seeds 1,2 --actions 150

#include "monkey.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <string>

namespace {

std::u16string unescape(std::string_view field)
{
    // The replay's escapes read a field, with no ';' in it.
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i)
        text += field[i] == ';' ? std::string("\\;") : std::string(1, field[i]);
    const std::vector<monkey::Action> one = monkey::decode(text);
    return one.empty() ? std::u16string() : one.front();
}

class StreamFront : public monkey::Front {
public:
    void start() override { ask("start"); }
    void perform(const monkey::Action &action) override { ask("do " + monkey::encode({action})); }
    monkey::State state() override
    {
        const std::string line = ask("state");
        std::vector<std::u16string> fields;
        std::size_t from = 0;
        for (std::size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
            fields.push_back(unescape(std::string_view(line).substr(from, tab - from)));
        fields.push_back(unescape(std::string_view(line).substr(from)));
        if (fields.size() < 10)
            throw std::runtime_error("the driver's state has " + std::to_string(fields.size()) + " fields: " + line);
        const auto number = [&](std::size_t i) { return std::size_t(std::stoul(std::string(fields[i].begin(), fields[i].end()))); };
        monkey::State s;
        s.txtT = fields[0];
        s.txtL = fields[1];
        s.lblLT = fields[2];
        s.lblF = fields[3];
        s.focus = fields[4];
        s.selStart = number(5);
        s.selEnd = number(6);
        s.mainVisible = fields[7] == u"1";
        s.aboutVisible = fields[8] == u"1";
        s.ended = fields[9] == u"1";
        s.messages.assign(fields.begin() + 10, fields.end());
        return s;
    }

private:
    static std::string ask(const std::string &command)
    {
        std::cout << command << std::endl;
        std::string answer;
        if (!std::getline(std::cin, answer))
            throw std::runtime_error("the driver stopped answering after: " + command);
        if (!answer.empty() && answer.back() == '\r')
            answer.pop_back();
        if (command.rfind("state", 0) != 0 && answer != "ok")
            throw std::runtime_error("the driver failed " + command + ": " + answer);
        return answer;
    }
};

} // namespace

int main(int argc, char **argv)
{
    std::string name = "driver";
    std::vector<std::uint64_t> seeds{1};
    std::size_t actions = 150;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i], value = argv[i + 1];
        if (option == "--name") {
            name = value;
        } else if (option == "--actions") {
            actions = std::strtoull(value.c_str(), nullptr, 10);
        } else if (option == "--seeds") {
            seeds.clear();
            for (std::size_t from = 0; from <= value.size();) {
                const std::size_t comma = std::min(value.find(',', from), value.size());
                seeds.push_back(std::strtoull(value.substr(from, comma - from).c_str(), nullptr, 0));
                from = comma + 1;
            }
        }
    }
    const monkey::Plan plan = monkey::planFromEnvironment(seeds, actions);
    StreamFront front;
    try {
        const std::string report = monkey::hunt(front, plan, name);
        std::cout << "done" << std::endl;
        if (!report.empty()) {
            std::cerr << report;
            return 1;
        }
        std::cerr << name << ": " << (plan.replay ? plan.replay->size() : plan.seeds.size() * plan.actions)
                  << " actions agreed with the model\n";
        return 0;
    } catch (const std::exception &e) {
        std::cout << "done" << std::endl;
        std::cerr << name << ": " << e.what() << "\n";
        return 1;
    }
}
