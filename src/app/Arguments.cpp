#include "app/Arguments.h"

namespace velo {

std::string Arguments::value(const std::string& name, const std::string& fallback) const {
    auto it = values.find(name);
    return it == values.end() || it->second.empty() ? fallback : it->second.back();
}

Arguments parseArguments(const std::vector<std::string>& args,
                         const std::set<std::string>& valueOptions,
                         const std::set<std::string>& flagOptions) {
    Arguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            parsed.operands.insert(parsed.operands.end(), args.begin() + i + 1, args.end());
            break;
        }
        if (arg.size() < 2 || arg[0] != '-') {
            parsed.operands.push_back(arg);
            continue;
        }
        std::size_t equals = arg.find('=');
        std::string name = arg.substr(0, equals);
        if (flagOptions.count(name) && equals == std::string::npos) {
            parsed.flags.insert(name);
        } else if (valueOptions.count(name)) {
            if (equals != std::string::npos) {
                parsed.values[name].push_back(arg.substr(equals + 1));
            } else if (i + 1 < args.size()) {
                parsed.values[name].push_back(args[++i]);
            } else {
                parsed.error = name + " needs a value";
                return parsed;
            }
        } else {
            parsed.error = "unknown option " + name;
            return parsed;
        }
    }
    return parsed;
}

} // namespace velo
