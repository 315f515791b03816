#include "document/EncodeSymbol.h"

#include "document/ZintSymbol.h"

#include <zint.h>

#include <algorithm>

namespace quillon {

namespace {

bool SizeAccepted(int kind, int size)
{
    switch (kind) {
    case kSymbolQrCode: return size >= 1 && size <= 40;
    case kSymbolDataMatrix:
    case kSymbolPdf417: return size >= 1 && size <= 30;
    default: return true;
    }
}

void Configure(ZintSymbol& symbol, int kind, int size, int option)
{
    static constexpr int kSymbology[] = {
        0, 0, BARCODE_QRCODE, BARCODE_DATAMATRIX, BARCODE_PDF417, BARCODE_CODE39, BARCODE_CODE128};
    symbol.SetSymbology(kSymbology[kind]);
    if (kind == kSymbolDataMatrix) {
        symbol.SetOption1(1);
        symbol.SetOption3(DM_SQUARE);
    } else {
        symbol.SetOption1(option);
    }
    symbol.SetOption2(size);
    symbol.SetDataMode();
}

}  // namespace

int EncodeSymbol(int kind, int sizeParameter, int optionValue, std::string_view text, int scale,
                 std::vector<std::uint8_t>* raster, int& width, int& height)
{
    if (text.empty())
        return kEncodeRefused;
    width = 0;
    height = 0;
    if (kind < kSymbolQrCode || kind > kSymbolCode128 || !SizeAccepted(kind, sizeParameter))
        return kEncodeRefused;

    ZintSymbol symbol;
    Configure(symbol, kind, sizeParameter, optionValue);
    bool encoded = symbol.Encode(text);
    if (!encoded && kind == kSymbolQrCode && symbol.LastFailureWasTooLong()) {
        // A fixed version refuses longer data; let the library grow the
        // symbol instead of giving no symbol at all.
        symbol.SetOption2(0);
        encoded = symbol.Encode(text);
    }
    if (!encoded)
        return kEncodeFailed;

    const int rows = symbol.Rows();
    const int columns = symbol.Width();
    int rowHeight = symbol.FirstRowHeight();
    if (rowHeight <= 0)
        rowHeight = 8 * scale;
    const std::int64_t pixelWidth = static_cast<std::int64_t>(columns) * scale;
    const std::int64_t pixelHeight = static_cast<std::int64_t>(rows) * rowHeight * scale;
    width = static_cast<int>(pixelWidth);
    height = static_cast<int>(pixelHeight);

    const std::int64_t bytes = pixelWidth * pixelHeight;
    if (raster == nullptr)
        return static_cast<int>(bytes);
    if (scale < 0 || bytes > kMaxRasterBytes)
        return kEncodeRefused;

    raster->assign(static_cast<std::size_t>(bytes), 0);
    const std::size_t rowBytes = static_cast<std::size_t>(pixelWidth);
    const int repeat = rowHeight * scale;
    auto out = raster->begin();
    for (int r = 0; r < rows; ++r) {
        const auto rowStart = out;
        for (int c = 0; c < columns; ++c)
            out = std::fill_n(out, scale, symbol.IsSet(r, c) ? 1 : 0);
        for (int k = 1; k < repeat; ++k)
            out = std::copy(rowStart, rowStart + static_cast<std::ptrdiff_t>(rowBytes), out);
    }
    return 1;
}

}  // namespace quillon
