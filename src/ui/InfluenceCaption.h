#pragma once

#include "document/VeloDocument.h"

#include <QString>

namespace velo {

// What the influence map shows, for the status bar (rich text): with no row
// selected, the owner of each pixel, with each active row's target colour
// beside its number, the legend of the map; with rows selected, their share.
QString influenceCaption(const VeloDocument& document);

} // namespace velo
