#include "ui/DisplayColorEngine.h"

namespace velo {

DisplayEngine chooseDisplayEngine(bool sameSpace, ProfileReading source, ProfileReading screen) {
    if (sameSpace || !source.rgb || !screen.rgb) {
        return DisplayEngine::None;
    }
    if (source.qtReads && screen.qtReads) {
        return DisplayEngine::Qt;
    }
    if (source.littleCmsReads && screen.littleCmsReads) {
        return DisplayEngine::LittleCms;
    }
    return DisplayEngine::None;
}

} // namespace velo
