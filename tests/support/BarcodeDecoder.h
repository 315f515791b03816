#pragma once
#include <ZXing/BarcodeFormat.h>
#include <ZXing/DecodeHints.h>
#include <ZXing/ReadBarcode.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quillon::test {

// Built with ZX_USE_UTF8, so text() is UTF-8.
// Decodes a grey image (0 black, 255 white) with ZXing-C++; every symbol's
// text in reading order, nothing when none was found.
// With bytes set, each symbol's raw bytes instead of its text, so a test can
// tell which code page the symbol carries.
inline std::vector<std::string> DecodeGrey(const std::uint8_t* grey, int width, int height, int stride,
                                           ZXing::BarcodeFormats formats, bool bytes = false)
{
    ZXing::DecodeHints hints;
    hints.setFormats(formats);
    hints.setTryHarder(true);
    hints.setTryRotate(false);
    std::vector<std::string> texts;
    const ZXing::ImageView image(grey, width, height, ZXing::ImageFormat::Lum, stride);
    for (const auto& result : ZXing::ReadBarcodes(image, hints))
        if (result.isValid())
            texts.push_back(bytes ? std::string(result.bytes().begin(), result.bytes().end()) : result.text());
    return texts;
}

// A raster of EncodeSymbol (1 dark) as a grey image with a quiet zone of
// margin pixels around it, then decoded.
inline std::vector<std::string> DecodeRaster(const std::vector<std::uint8_t>& raster, int width, int height,
                                             ZXing::BarcodeFormats formats, int margin = 20, bool bytes = false)
{
    const int w = width + 2 * margin;
    const int h = height + 2 * margin;
    std::vector<std::uint8_t> grey(static_cast<std::size_t>(w) * h, 255);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (raster[static_cast<std::size_t>(y) * width + x] == 1)
                grey[static_cast<std::size_t>(y + margin) * w + x + margin] = 0;
    return DecodeGrey(grey.data(), w, h, w, formats, bytes);
}

}  // namespace quillon::test
