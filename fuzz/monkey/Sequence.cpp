#include "Sequence.h"

#include <algorithm>
#include <array>
#include <istream>
#include <ostream>
#include <sstream>

namespace vemurion::monkey {

namespace {

constexpr std::array<const char*, kKindCount> kNames = {
    "press",  "move",   "release", "command",   "key",    "modifier", "slot",     "time",
    "updown", "scroll", "timer",   "clipboard", "dialog", "drop",     "roundtrip"};

// How often each kind comes, in thousandths; a round trip comes every kRoundTripEvery actions.
constexpr std::array<int, kKindCount> kWeights = {90, 240, 130, 120, 120, 30, 60, 5,
                                                  40, 30,  60,  30,  30,  15, 0};
static_assert([] {
    int sum = 0;
    for (const int w : kWeights)
        sum += w;
    return sum;
}() == 1000);
constexpr std::uint64_t kRoundTripEvery = 300;

} // namespace

const char* kindName(Kind kind) {
    return kNames[static_cast<std::size_t>(kind)];
}

std::optional<Kind> kindNamed(const std::string& name) {
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (name == kNames[i]) return static_cast<Kind>(i);
    }
    return std::nullopt;
}

std::string formatAction(const Action& action) {
    std::ostringstream out;
    out << kindName(action.kind) << ' ' << action.a << ' ' << action.b << ' ' << action.salt;
    return out.str();
}

std::optional<Action> parseAction(const std::string& line) {
    // Only names and unsigned numbers: a stream reads "-1" as a huge unsigned number.
    if (line.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789 \t\r") != std::string::npos)
        return std::nullopt;
    std::istringstream in(line);
    std::string name;
    Action action;
    if (!(in >> name >> action.a >> action.b >> action.salt)) return std::nullopt;
    std::string rest;
    if (in >> rest) return std::nullopt;
    const auto kind = kindNamed(name);
    if (!kind) return std::nullopt;
    action.kind = *kind;
    return action;
}

std::optional<std::vector<Action>> readActions(std::istream& in, std::string* error) {
    std::vector<Action> actions;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        line.erase(std::find(line.begin(), line.end(), '#'), line.end());
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        const auto action = parseAction(line);
        if (!action) {
            if (error != nullptr) *error = "line " + std::to_string(number) + ": " + line;
            return std::nullopt;
        }
        actions.push_back(*action);
    }
    return actions;
}

void writeActions(std::ostream& out, const std::vector<Action>& actions) {
    for (const Action& action : actions)
        out << formatAction(action) << '\n';
}

Action ActionStream::next() {
    Action action;
    if (++m_count % kRoundTripEvery == 0) {
        action.kind = Kind::RoundTrip;
        return action;
    }
    int pick = static_cast<int>(m_random() % 1000);
    int kind = 0;
    while (pick >= kWeights[static_cast<std::size_t>(kind)]) {
        pick -= kWeights[static_cast<std::size_t>(kind)];
        ++kind;
    }
    action.kind = static_cast<Kind>(kind);
    action.a = static_cast<std::uint32_t>(m_random() % 4096);
    action.b = static_cast<std::uint32_t>(m_random() % 1000000);
    action.salt = static_cast<std::uint32_t>(m_random());
    return action;
}

std::vector<Action> actionsOf(std::uint64_t seed, std::size_t count) {
    ActionStream stream(seed);
    std::vector<Action> actions(count);
    for (Action& action : actions)
        action = stream.next();
    return actions;
}

std::vector<Action> shrink(const std::vector<Action>& failing, const FailureTest& fails,
                           int budget) {
    const auto tail = [&](std::size_t length) {
        return std::vector<Action>(failing.end() - static_cast<std::ptrdiff_t>(length),
                                   failing.end());
    };
    // Doubling finds a failing length; every length below the last passing one is taken to pass.
    std::size_t passing = 0;
    std::size_t length = std::min<std::size_t>(1, failing.size());
    while (length < failing.size() && budget > 0) {
        --budget;
        if (fails(tail(length))) break;
        passing = length;
        length = std::min(failing.size(), length * 2);
    }
    while (length - passing > 1 && budget > 0) {
        --budget;
        const std::size_t middle = passing + (length - passing) / 2;
        if (fails(tail(middle))) {
            length = middle;
        } else {
            passing = middle;
        }
    }
    std::vector<Action> best = tail(length);
    // Blocks of halving size, down to single actions, each dropped where the rest still fails.
    for (std::size_t block = std::max<std::size_t>(1, best.size() / 2); budget > 0; block /= 2) {
        for (std::size_t start = 0; start < best.size() && best.size() > 1 && budget > 0;) {
            std::vector<Action> without = best;
            const std::size_t end = std::min(best.size(), start + block);
            without.erase(without.begin() + static_cast<std::ptrdiff_t>(start),
                          without.begin() + static_cast<std::ptrdiff_t>(end));
            --budget;
            if (!without.empty() && fails(without)) {
                best = std::move(without);
            } else {
                start = end;
            }
        }
        if (block == 1) break;
    }
    return best;
}

} // namespace vemurion::monkey
