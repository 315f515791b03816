#include "device/KlsBmpFile.h"

#include <cstdio>
#include <cstring>

namespace quillon {

namespace {

void Put16(std::uint8_t* at, std::uint32_t value)
{
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t value)
{
    Put16(at, value & 0xFFFF);
    Put16(at + 2, value >> 16);
}

}  // namespace

bool CKlsBmpFile::Build(const std::uint8_t* pixels, std::size_t count, int width, int height)
{
    file_.clear();
    if (width <= 0 || height <= 0)
        return false;
    const std::size_t rowBytes = static_cast<std::size_t>(width);
    const std::size_t rows = static_cast<std::size_t>(height);
    if (pixels == nullptr || count / rowBytes < rows)
        return false;
    const std::size_t stride = Stride(width);
    const std::size_t imageSize = stride * rows;

    // Zero-filled, so reserved fields, unused header values and row padding
    // need no writing.
    file_.assign(kPixelOffset + imageSize, 0);
    std::uint8_t* h = file_.data();
    h[0] = 'B';
    h[1] = 'M';
    Put32(h + 2, static_cast<std::uint32_t>(file_.size()));
    Put32(h + 10, static_cast<std::uint32_t>(kPixelOffset));
    Put32(h + 14, static_cast<std::uint32_t>(kInfoHeaderSize));
    Put32(h + 18, static_cast<std::uint32_t>(width));
    Put32(h + 22, static_cast<std::uint32_t>(height));  // positive: rows stored bottom-up
    Put16(h + 26, 1);
    Put16(h + 28, 8);
    Put32(h + 34, static_cast<std::uint32_t>(imageSize));
    std::uint8_t* palette = h + kFileHeaderSize + kInfoHeaderSize;
    for (unsigned i = 0; i < 256; ++i)
        palette[4 * i] = palette[4 * i + 1] = palette[4 * i + 2] = static_cast<std::uint8_t>(i);
    std::uint8_t* out = h + kPixelOffset;
    for (std::size_t row = 0; row < rows; ++row)
        std::memcpy(out + row * stride, pixels + row * rowBytes, rowBytes);
    return true;
}

int CKlsBmpFile::Save(const std::string& path) const
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return 0;
    const bool written = std::fwrite(file_.data(), 1, file_.size(), file) == file_.size();
    // A full disk may only show when the buffered tail is flushed at close.
    const bool closed = std::fclose(file) == 0;
    return written && closed ? 1 : 0;
}

}  // namespace quillon
