#include "display/DisplayConverterChoice.h"

namespace velo {

DisplayConverter chooseDisplayConverter(bool sameSpace, ProfileReading source,
                                        ProfileReading screen) {
    if (sameSpace || !source.rgb || !screen.rgb) {
        return DisplayConverter::None;
    }
    if (source.qtReads && screen.qtReads) {
        return DisplayConverter::Qt;
    }
    if (source.littleCmsReads && screen.littleCmsReads) {
        return DisplayConverter::LittleCms;
    }
    return DisplayConverter::None;
}

} // namespace velo
