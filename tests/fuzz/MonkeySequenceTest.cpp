#include "Sequence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace vemurion::monkey {
namespace {

Action marked(std::uint32_t mark) {
    return Action{Kind::Key, mark, 0, 0};
}

bool holds(const std::vector<Action>& actions, std::uint32_t mark) {
    return std::find(actions.begin(), actions.end(), marked(mark)) != actions.end();
}

// A run of 200 actions of seed 7 with marked keys put in at the given places.
std::vector<Action> runWith(std::initializer_list<std::pair<std::size_t, std::uint32_t>> marks) {
    std::vector<Action> actions = actionsOf(7, 200);
    for (const auto& [at, mark] : marks)
        actions[at] = marked(mark);
    return actions;
}

TEST(MonkeySequence, ShrinkingKeepsOnlyWhatTheFailureNeeds) {
    struct Case {
        const char* name;
        std::vector<Action> failing;
        FailureTest fails;
        std::vector<Action> expected;
    };
    const Case cases[] = {
        {"the last action alone",
         runWith({{199, 5000}}),
         [](const std::vector<Action>& a) { return a.back() == marked(5000); },
         {marked(5000)}},
        {"two actions far apart, in order",
         runWith({{30, 5001}, {170, 5002}}),
         [](const std::vector<Action>& a) {
             const auto first = std::find(a.begin(), a.end(), marked(5001));
             return first != a.end() && std::find(first, a.end(), marked(5002)) != a.end();
         },
         {marked(5001), marked(5002)}},
        {"three of a kind anywhere",
         runWith({{3, 5003}, {90, 5003}, {150, 5003}, {160, 5003}}),
         [](const std::vector<Action>& a) {
             return std::count(a.begin(), a.end(), marked(5003)) >= 3;
         },
         {marked(5003), marked(5003), marked(5003)}},
        {"a failure that needs the whole run", actionsOf(3, 50),
         [](const std::vector<Action>& a) { return a.size() == 50; }, actionsOf(3, 50)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.fails(c.failing));
        EXPECT_EQ(shrink(c.failing, c.fails, 1000), c.expected);
    }
}

TEST(MonkeySequence, ShrinkingStopsAtItsBudgetWithAFailingTail) {
    const auto failing = runWith({{10, 5001}});
    int runs = 0;
    const auto fails = [&](const std::vector<Action>& a) {
        ++runs;
        return holds(a, 5001);
    };
    const auto shrunk = shrink(failing, fails, 12);
    EXPECT_LE(runs, 12);
    EXPECT_TRUE(holds(shrunk, 5001));
    EXPECT_LT(shrunk.size(), failing.size());
}

TEST(MonkeySequence, KeptSequencesReadBackAsWritten) {
    const auto actions = actionsOf(42, 1000);
    EXPECT_EQ(actions, actionsOf(42, 1000));
    EXPECT_EQ(actions[299].kind, Kind::RoundTrip);
    std::stringstream text;
    text << "# a comment\n\n";
    writeActions(text, actions);
    EXPECT_EQ(readActions(text), actions);
}

TEST(MonkeySequence, BadLinesAreRefusedWithTheirNumber) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"press 1 2 3\njump 1 2 3\n", "line 2: jump 1 2 3"},
        {"press 1 2\n", "line 1: press 1 2"},
        {"# note\npress 1 2 3 4\n", "line 2: press 1 2 3 4"},
        {"press -1 2 3\n", "line 1: press -1 2 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::istringstream in(c.text);
        std::string error;
        EXPECT_EQ(readActions(in, &error), std::nullopt);
        EXPECT_EQ(error, c.error);
    }
    std::istringstream fine("press 1 2 3 # trailing note\r\n");
    EXPECT_EQ(readActions(fine), (std::vector<Action>{{Kind::Press, 1, 2, 3}}));
}

} // namespace
} // namespace vemurion::monkey
