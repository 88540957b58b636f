// The argument parsing of vemurion-cli: the input is the words after the command's name,
// separated by NUL bytes; its first byte picks one of the commands' option sets. Parsing either
// fails with a usage error or accounts for every word: a positional argument, an option, or its
// value. Numbers are read only in their range.

#include "FuzzSupport.h"

#include "cli/Arguments.h"

#include <array>
#include <optional>

using namespace vemurion;
using namespace vemurion::cli;
using namespace vemurion::fuzz;

namespace {

struct OptionSet {
    std::vector<OptionSpec> options;
    std::size_t minPositional;
    std::optional<std::size_t> maxPositional;
};

// As the commands show, export and build declare them.
const std::array<OptionSet, 3> kOptionSets = {{
    {{{"--frame", true},
      {"--candidate", true},
      {"--dither", true},
      {"--fit", true},
      {"--white-on-black", false}},
     1,
     1},
    {{{"--frame", true}, {"--series", false}}, 2, 2},
    {{{"--loop", true},
      {"--time", true},
      {"--candidate", true},
      {"--dither", true},
      {"--fit", true},
      {"--white-on-black", false}},
     2,
     std::nullopt},
}};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const auto seed = [](const char* name, std::string_view words) {
        writeSeed(name,
                  std::span(reinterpret_cast<const std::uint8_t*>(words.data()), words.size()));
    };
    using namespace std::string_view_literals;
    seed("show", "\0photo.jpg\0--candidate\0003\0--white-on-black"sv);
    seed("export", "\1anim.lcd\0walk.bmp\0--series"sv);
    seed("build", "\2anim.lcd\0--loop=3\0title.lcd\0--\0--time"sv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const OptionSet& set = kOptionSets[data[0] % kOptionSets.size()];
    std::vector<std::string> words;
    std::string word;
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == 0) {
            words.push_back(word);
            word.clear();
        } else {
            word.push_back(static_cast<char>(data[i]));
        }
    }
    if (size > 1) words.push_back(word);

    try {
        const Arguments args(words, set.options, set.minPositional, set.maxPositional);
        FUZZ_CHECK(args.positional().size() >= set.minPositional);
        FUZZ_CHECK(!set.maxPositional || args.positional().size() <= *set.maxPositional);
        std::size_t accounted = args.positional().size();
        for (const OptionSpec& option : set.options) {
            if (!args.has(option.name)) continue;
            const auto value = args.text(option.name);
            FUZZ_CHECK(value.has_value());
            // An option given as "--name value" takes two words, "--name=value" or a flag one.
            accounted += 1;
            if (option.takesValue) {
                try {
                    const int number = args.number(option.name, 0, 255, -1);
                    FUZZ_CHECK(number >= 0 && number <= 255);
                } catch (const UsageError&) {
                }
            }
        }
        FUZZ_CHECK(accounted <= words.size());
    } catch (const UsageError& error) {
        FUZZ_CHECK(error.what()[0] != '\0');
    }
    return 0;
}
