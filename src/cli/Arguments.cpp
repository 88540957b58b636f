#include "cli/Arguments.h"

#include <algorithm>
#include <charconv>

namespace vemurion::cli {

Arguments::Arguments(const std::vector<std::string>& words, const std::vector<OptionSpec>& options,
                     std::size_t minPositional, std::optional<std::size_t> maxPositional) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word.size() < 2 || word[0] != '-') {
            m_positional.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        const auto spec = std::find_if(options.begin(), options.end(),
                                       [&](const OptionSpec& o) { return name == o.name; });
        if (spec == options.end()) throw UsageError("unknown option " + name);
        if (m_values.contains(name)) throw UsageError(name + " given twice");
        if (!spec->takesValue) {
            if (equals != std::string::npos) throw UsageError(name + " takes no value");
            m_values[name] = "";
        } else if (equals != std::string::npos) {
            m_values[name] = word.substr(equals + 1);
        } else if (i + 1 < words.size()) {
            m_values[name] = words[++i];
        } else {
            throw UsageError(name + " needs a value");
        }
    }
    if (m_positional.size() < minPositional) throw UsageError("missing arguments");
    if (maxPositional && m_positional.size() > *maxPositional)
        throw UsageError("too many arguments");
}

int Arguments::number(const std::string& option, int low, int high, int fallback) const {
    const auto found = m_values.find(option);
    if (found == m_values.end()) return fallback;
    const std::string& value = found->second;
    int parsed = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), parsed);
    if (value.empty() || error != std::errc() || end != value.data() + value.size() ||
        parsed < low || parsed > high) {
        throw UsageError(option + " takes a number from " + std::to_string(low) + " to " +
                         std::to_string(high));
    }
    return parsed;
}

std::optional<std::string> Arguments::text(const std::string& option) const {
    const auto found = m_values.find(option);
    if (found == m_values.end()) return std::nullopt;
    return found->second;
}

int Arguments::oneOf(const std::string& option, const std::vector<std::string>& names,
                     int fallback) const {
    const auto found = m_values.find(option);
    if (found == m_values.end()) return fallback;
    const auto name = std::find(names.begin(), names.end(), found->second);
    if (name != names.end()) return static_cast<int>(name - names.begin());
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i)
        list += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
    throw UsageError(option + " takes " + list);
}

} // namespace vemurion::cli
