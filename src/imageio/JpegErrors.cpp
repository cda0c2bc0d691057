#include "imageio/JpegErrors.h"

namespace velo {

namespace {

extern "C" void jumpOnError(j_common_ptr info) {
    auto* errors = static_cast<JpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

} // namespace

jpeg_error_mgr* jumpingJpegErrors(JpegErrors& errors) {
    jpeg_error_mgr* manager = jpeg_std_error(&errors);
    errors.error_exit = jumpOnError;
    return manager;
}

} // namespace velo
