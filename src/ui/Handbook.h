#pragma once

#include <QString>

namespace velo {

// The handbook's front page as this build rendered it.
QString builtHandbookPath();

// The handbook's front page: the installed one beside the program
// (<applicationDir>/../share/doc/velo/handbook/index.html) first, so an
// installed Velo never shows a stale build's pages, then builtHandbook.
// Empty when neither exists.
QString handbookPath(const QString& applicationDir,
                     const QString& builtHandbook = builtHandbookPath());

} // namespace velo
