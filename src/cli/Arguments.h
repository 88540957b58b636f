#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vemurion::cli {

// A command line that does not fit the subcommand: the usage follows its message.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct OptionSpec {
    const char* name; // "--frame"
    bool takesValue;
};

// The arguments after the subcommand's name: options (`--name value`, `--name=value` or a bare
// `--name`) anywhere among the positional arguments; "--" ends the options.
class Arguments {
public:
    Arguments(const std::vector<std::string>& words, const std::vector<OptionSpec>& options,
              std::size_t minPositional, std::optional<std::size_t> maxPositional);

    const std::vector<std::string>& positional() const { return m_positional; }
    bool has(const std::string& option) const { return m_values.contains(option); }
    // The option's value as a whole number from `low` to `high`, or `fallback` without it.
    int number(const std::string& option, int low, int high, int fallback) const;
    std::optional<std::string> text(const std::string& option) const;
    // The option's value as its place among `names`, or `fallback` without it.
    int oneOf(const std::string& option, const std::vector<std::string>& names, int fallback) const;

private:
    std::vector<std::string> m_positional;
    std::map<std::string, std::string> m_values;
};

} // namespace vemurion::cli
