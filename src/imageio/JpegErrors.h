#pragma once

// clang-format off: libjpeg needs FILE declared before its header.
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
// clang-format on

namespace velo {

// libjpeg's errors as a jump back to the last setjmp on `jump`, with the
// message kept; no object with a destructor may live between the two.
struct JpegErrors : jpeg_error_mgr {
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX] = {};
};

// Sets errors up to jump and returns it for the codec's `err`.
jpeg_error_mgr* jumpingJpegErrors(JpegErrors& errors);

} // namespace velo
