#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace velo {

// A command's arguments: options with values ("--name value" or
// "--name=value"), flags, and the remaining operands.
struct Arguments {
    std::map<std::string, std::vector<std::string>> values;
    std::set<std::string> flags;
    std::vector<std::string> operands;
    std::string error; // set when the arguments do not parse

    bool has(const std::string& flag) const { return flags.count(flag) != 0; }
    // The last value given for an option, or fallback.
    std::string value(const std::string& name, const std::string& fallback = {}) const;
    bool hasValue(const std::string& name) const { return values.count(name) != 0; }
};

Arguments parseArguments(const std::vector<std::string>& args,
                         const std::set<std::string>& valueOptions,
                         const std::set<std::string>& flagOptions);

} // namespace velo
