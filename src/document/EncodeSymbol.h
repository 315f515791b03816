#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

namespace quillon {

// Symbol kinds of EncodeSymbol (the program's own numbers).
enum SymbolKind : int {
    kSymbolQrCode = 2,
    kSymbolDataMatrix = 3,
    kSymbolPdf417 = 4,
    kSymbolCode39 = 5,
    kSymbolCode128 = 6,
};

inline constexpr int kEncodeRefused = -1;
inline constexpr int kEncodeFailed = -2;
// Largest raster EncodeSymbol writes, in bytes (one byte per pixel).
inline constexpr std::int64_t kMaxRasterBytes = 360960;

// Encodes text as a symbol and turns it into a raster of one byte per pixel
// (1 dark, 0 light), row after row, each module scale pixels wide and every
// module row as high as the first row's height times scale.
//
// Returns 1 when the raster was written; the byte count needed when raster is
// null; kEncodeRefused for a refused call; kEncodeFailed when the library
// cannot encode the text.  width and height become 0 once the text is known
// to be non-empty, and the pixel size once it is encoded; a refused raster
// (too large, negative scale) keeps that size.
//
// For QR Code the size parameter is the smallest version: when the data does
// not fit it, the library picks the smallest version that holds it.
int EncodeSymbol(int kind, int sizeParameter, int optionValue, std::string_view text, int scale,
                 std::vector<std::uint8_t>* raster, int& width, int& height);

}  // namespace quillon
