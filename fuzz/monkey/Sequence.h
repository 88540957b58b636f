#pragma once

// The monkey's actions as data: what a user does to the main window, drawn from a seed, written
// one to a line, and shrunk to the shortest run that still fails. No Qt here; the driver
// (MonkeyDriver) gives each action its meaning.

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace vemurion::monkey {

enum class Kind : std::uint8_t {
    Press,       // a: button and modifiers, b: where
    Move,        // b: where, with the buttons held
    Release,     // a: button and modifiers, b: where
    Command,     // a: a command of the command table
    Key,         // a: a key of the key table
    ModifierKey, // a: SHIFT or CTRL, pressed or released
    Slot,        // a: slot, b: button, double-click
    TimeLabel,   // a: slot whose time is double-clicked
    UpDown,      // a: control, b: direction and how long it is held
    Scroll,      // a: how, b: how far
    Timer,       // a: which timer, b: milliseconds the clock moves first
    Clipboard,   // a: what goes on the clipboard; salt: its content
    Dialog,      // a: what is done to the conversion dialog, b: where
    Drop,        // a: file of the pool dropped on the window
    RoundTrip,   // the document saved, opened in a second window and compared
};
inline constexpr int kKindCount = static_cast<int>(Kind::RoundTrip) + 1;

struct Action {
    Kind kind = Kind::Press;
    std::uint32_t a = 0;
    std::uint32_t b = 0;
    // Seeds whatever the action needs at random when it runs: the answers to the prompts it
    // raises, a picture it puts on the clipboard.
    std::uint32_t salt = 0;
    bool operator==(const Action&) const = default;
};

const char* kindName(Kind kind);
std::optional<Kind> kindNamed(const std::string& name);

// "press 3 1234 99": the kind's name, a, b and the salt.
std::string formatAction(const Action& action);
std::optional<Action> parseAction(const std::string& line);
// One action a line; blank lines and lines from '#' on are skipped. nullopt names no bad line;
// `error` tells it.
std::optional<std::vector<Action>> readActions(std::istream& in, std::string* error = nullptr);
void writeActions(std::ostream& out, const std::vector<Action>& actions);

// The endless stream of actions of one seed, the same on every machine.
class ActionStream {
public:
    explicit ActionStream(std::uint64_t seed) : m_random(seed) {}
    Action next();

private:
    std::mt19937_64 m_random;
    std::uint64_t m_count = 0;
};
std::vector<Action> actionsOf(std::uint64_t seed, std::size_t count);

// Says whether a sequence, run from a fresh window, fails in the same way as the one shrunk.
using FailureTest = std::function<bool(const std::vector<Action>&)>;

// The shortest tail of `failing` (which fails) that still fails, found by doubling and then
// halving its length; then, while `budget` runs allow, blocks of actions and single actions
// dropped where it still fails without them.
std::vector<Action> shrink(const std::vector<Action>& failing, const FailureTest& fails,
                           int budget);

} // namespace vemurion::monkey
