#include "ui/Mnemonics.h"

namespace velo {

std::optional<QChar> mnemonicOf(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') {
            continue;
        }
        if (text[i + 1] == '&') {
            ++i; // an escaped ampersand
            continue;
        }
        return text[i + 1].toLower();
    }
    return std::nullopt;
}

QString sharedMnemonics(const QStringList& texts) {
    QString seen, shared;
    for (const QString& text : texts) {
        std::optional<QChar> key = mnemonicOf(text);
        if (!key) {
            continue;
        }
        if (seen.contains(*key) && !shared.contains(*key)) {
            shared += *key;
        }
        seen += *key;
    }
    return shared;
}

} // namespace velo
