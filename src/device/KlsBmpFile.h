#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

// An 8-bit grey BMP file in memory: file header, info header, a 256-entry
// grey palette and the pixel rows padded to a multiple of four bytes.  The
// whole file is kept as one block so the pane can hand it to an image reader
// and Save writes it in one go.
class CKlsBmpFile {
public:
    static constexpr std::size_t kFileHeaderSize = 14;
    static constexpr std::size_t kInfoHeaderSize = 40;
    static constexpr std::size_t kPaletteSize = 1024;
    static constexpr std::size_t kPixelOffset = kFileHeaderSize + kInfoHeaderSize + kPaletteSize;  // 1078

    // Row length in the file: width rounded up to a multiple of 4.
    static std::size_t Stride(int width) { return (static_cast<std::size_t>(width) + 3) / 4 * 4; }

    // Replaces the contents with `height` rows of `width` grey bytes, taken in
    // the order given (the file's order: bottom row first).  false, and
    // nothing held, when a side is not positive or `pixels` is too short.
    bool Build(const std::uint8_t* pixels, std::size_t count, int width, int height);

    // Writes the whole file; 1 written, 0 when the file could not be created
    // or written completely.
    int Save(const std::string& path) const;

    bool HoldsImage() const { return !file_.empty(); }
    const std::vector<std::uint8_t>& FileBytes() const { return file_; }

private:
    std::vector<std::uint8_t> file_;
};

}  // namespace quillon
