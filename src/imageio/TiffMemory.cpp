#include "imageio/TiffMemory.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace velo {

namespace {

tmsize_t readProc(thandle_t handle, void* data, tmsize_t size) {
    auto* file = static_cast<MemoryFile*>(handle);
    std::size_t available = file->position < file->size() ? file->size() - file->position : 0;
    std::size_t n = std::min<std::size_t>(available, static_cast<std::size_t>(size));
    const std::uint8_t* from = file->writing ? file->bytes.data() : file->input.data();
    if (n > 0) {
        std::memcpy(data, from + file->position, n);
    }
    file->position += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t writeProc(thandle_t handle, void* data, tmsize_t size) {
    auto* file = static_cast<MemoryFile*>(handle);
    if (!file->writing) {
        return 0;
    }
    std::size_t end = file->position + static_cast<std::size_t>(size);
    if (end > file->bytes.size()) {
        file->bytes.resize(end);
    }
    std::memcpy(file->bytes.data() + file->position, data, static_cast<std::size_t>(size));
    file->position = end;
    return size;
}

toff_t seekProc(thandle_t handle, toff_t offset, int whence) {
    auto* file = static_cast<MemoryFile*>(handle);
    toff_t base = whence == SEEK_CUR ? file->position : whence == SEEK_END ? file->size() : 0;
    file->position = base + offset;
    return file->position;
}

int closeProc(thandle_t) {
    return 0;
}
toff_t sizeProc(thandle_t handle) {
    return static_cast<MemoryFile*>(handle)->size();
}
int mapProc(thandle_t, void**, toff_t*) {
    return 0;
}
void unmapProc(thandle_t, void*, toff_t) {}

// libtiff reports through global handlers; keep the last message per thread.
thread_local std::string lastTiffError;

void errorHandler(const char* module, const char* format, va_list args) {
    char message[512];
    std::vsnprintf(message, sizeof message, format, args);
    lastTiffError = std::string(module ? module : "TIFF") + ": " + message;
}

void ignoreWarning(const char*, const char*, va_list) {}

} // namespace

TIFF* openMemory(MemoryFile& file, const char* mode) {
    TIFFSetErrorHandler(errorHandler);
    TIFFSetWarningHandler(ignoreWarning);
    lastTiffError.clear();
    return TIFFClientOpen("velo", mode, &file, readProc, writeProc, seekProc, closeProc, sizeProc,
                          mapProc, unmapProc);
}

std::string tiffError(const char* fallback) {
    return lastTiffError.empty() ? fallback : lastTiffError;
}

} // namespace velo
