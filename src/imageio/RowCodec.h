#pragma once

#include "imageio/ByteSink.h"
#include "imageio/ImageEncoder.h"
#include "platform/Bitmap.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace velo {

// An image file read a band of rows at a time from the top, never whole.
// Bands have exactly the layout and pixels of the bitmap decodeImage gives.
class RowReader {
  public:
    virtual ~RowReader() = default;

    virtual int pixelsWide() const = 0;
    virtual int pixelsHigh() const = 0;
    // The size in points of the whole image.
    virtual Size size() const = 0;

    // A band of the image's layout, rows high.
    virtual std::shared_ptr<Bitmap> newBand(int rows) const = 0;
    // Reads the next rows into the top of the band. False on a failure,
    // which error() explains.
    virtual bool read(Bitmap& band, int rows) = 0;
    virtual const std::string& error() const = 0;
    // What of the image the data did not hold, found so far; empty while
    // it is whole.
    virtual std::string damage() const { return {}; }
};

// Null when the file cannot be read row by row exactly as decodeImage reads
// it: anything but a JPEG or PNG that our own decoders take (see
// OwnDecoders.h), so also whatever is turned upright or has several frames.
// The caller then decodes the whole image.
std::unique_ptr<RowReader> openRowReader(const std::filesystem::path& path);

// An image file written a band of rows at a time from the top. Whatever the
// bands, the bytes are those encodeImage gives for the whole bitmap.
class RowWriter {
  public:
    virtual ~RowWriter() = default;

    // Appends the band's first rows; the band has the layout given when
    // opening. False on a failure, which error() explains.
    virtual bool write(const Bitmap& band, int rows) = 0;
    // Ends the file once all its rows are written: nothing, or why it failed.
    virtual std::optional<std::string> finish() = 0;
    virtual const std::string& error() const = 0;
};

// JPEG, PNG, TIFF or BMP of pixelsHigh rows of the layout's width, samples,
// depth and alpha, at the given size in points; jpegQuality is 0..1. Null for
// a type or layout that cannot be written row by row (GIF, planar TIFF, an
// empty image, 16-bit samples in a type that holds 8) or a file that cannot
// be created.
std::unique_ptr<RowWriter> openRowWriter(const std::filesystem::path& path, ImageFileType type,
                                         const Bitmap& layout, int pixelsHigh, Size pointSize,
                                         float jpegQuality);
std::unique_ptr<RowWriter> openRowWriter(std::shared_ptr<ByteSink> sink, ImageFileType type,
                                         const Bitmap& layout, int pixelsHigh, Size pointSize,
                                         float jpegQuality);

} // namespace velo
