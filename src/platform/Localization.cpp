#include "platform/Localization.h"

#include <QCoreApplication>

namespace velo {

std::string localizedString(const std::string& key) {
    return QCoreApplication::translate("Velo", key.c_str()).toStdString();
}

std::string format(const std::string& pattern, const std::string& first,
                   const std::string& second) {
    std::string out = pattern;
    std::size_t from = 0;
    for (const std::string* argument : {&first, &second}) {
        std::size_t at = out.find("%@", from);
        if (at == std::string::npos) {
            break;
        }
        out.replace(at, 2, *argument);
        from = at + argument->size();
    }
    return out;
}

} // namespace velo
