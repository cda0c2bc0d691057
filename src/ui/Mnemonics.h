#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace velo {

// The key a menu text's '&' marks ("Save &As…" → 'a'), in lower case;
// nothing without one ("&&" is a plain ampersand).
std::optional<QChar> mnemonicOf(const QString& text);

// The keys that more than one of these texts mark, in lower case, each once.
QString sharedMnemonics(const QStringList& texts);

} // namespace velo
