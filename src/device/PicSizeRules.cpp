#include "device/PicSizeRules.h"

#include <charconv>

namespace quillon {

namespace {

int DownToFour(long long value)
{
    return static_cast<int>(value / 4 * 4);
}

// The factors as exact fractions (0.707, 1/2, 0.35, 1/4, 0.18): in floating
// point 640 x 0.35 comes out just below 224 and would truncate to 223.
struct Fraction {
    long long numerator;
    long long denominator;
};
constexpr Fraction kFactors[] = {{1, 1}, {707, 1000}, {1, 2}, {35, 100}, {1, 4}, {18, 100}};

// A typed side; digits only reach here, and anything longer than the
// largest side is simply too large.
long long ParseSide(std::string_view text)
{
    long long value = 0;
    if (text.empty())
        return 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range)
        return static_cast<long long>(PicSizeRules::kMaximumSide) + 1;
    return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

}  // namespace

void PicSizeRules::ApplyScale(PicScale scale)
{
    const Fraction f = kFactors[static_cast<int>(scale)];
    width_ = DownToFour(width_ * f.numerator / f.denominator);
    height_ = DownToFour(height_ * f.numerator / f.denominator);
    pixelEntry_ = false;
}

const char* PicSizeRules::Accept(std::string_view widthText, std::string_view heightText)
{
    long long width = width_;
    long long height = height_;
    if (pixelEntry_) {
        width = ParseSide(widthText) / 4 * 4;
        height = ParseSide(heightText) / 4 * 4;
        if (width < kMinimumSide || height < kMinimumSide)
            return kPixelMinimumText;
    }
    // A camera larger than the receive area must be scaled down before the
    // request goes out: refusing the image when it arrives would leave the
    // device sending it for minutes.
    if (width > kMaximumSide || height > kMaximumSide || width * height > kMaximumPixels)
        return kPixelMaximumText;
    width_ = static_cast<int>(width);
    height_ = static_cast<int>(height);
    return nullptr;
}

}  // namespace quillon
