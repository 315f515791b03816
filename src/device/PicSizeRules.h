#pragma once
#include <string_view>

namespace quillon {

inline constexpr const char* kPicSizeCaption = "图像提取参数设置";
inline constexpr const char* kPixelMinimumText = "提取图片设定像素超过最小限制";
inline constexpr const char* kPixelMaximumText = "提取图片设定像素超过最大限制";

// The width and height of an image to ask the device for.
struct ImageSize {
    int width;
    int height;
};

// The scale buttons of the image-size dialog, in the dialog's order.
enum class PicScale { Original, Half, Quarter, Eighth, Sixteenth, ThirtySecond };

// What the image-size dialog decides: the size to ask the device for.  Every
// scale works on the size held, so pressing two scales applies both; pixel
// entry takes the typed size instead.  Sizes are whole multiples of 4.
class PicSizeRules {
public:
    // Smallest side the device is asked for in pixel entry.
    static constexpr int kMinimumSide = 10;
    // Largest image the receive area takes: 11 header bytes and the pixels
    // within 1 MiB, each side within the request's 16 bits.
    static constexpr long long kMaximumPixels = 1048576 - 11;
    static constexpr int kMaximumSide = 0xFFFF;

    PicSizeRules(int width, int height) : width_(width), height_(height) {}

    void ApplyScale(PicScale scale);
    void EnterPixelEntry() { pixelEntry_ = true; }
    bool PixelEntry() const { return pixelEntry_; }

    // OK: in pixel entry the typed decimal texts (empty = 0) become the size,
    // rounded down to multiples of 4.  Any size too large for the receive
    // area is refused.  nullptr when accepted, else the message to show (the
    // dialog stays open).
    const char* Accept(std::string_view widthText, std::string_view heightText);

    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_;
    int height_;
    bool pixelEntry_ = false;
};

}  // namespace quillon
