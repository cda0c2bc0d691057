#pragma once

#include "document/VeloDocument.h"

#include <QString>

namespace velo {

// The window's title while the result is computed, from the share of its
// lines handed out (0..1): "adjusting 40%".
QString progressTitle(float share);

// What the colour panel edits in a document: "Target of row 3 — sunset.jpg",
// or nothing when a change would go nowhere.
QString colorPanelTarget(const VeloDocument& document);

} // namespace velo
