#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace quillon {

class CodePageDecoder;

// The character sets of the "输出格式：" drop-down, in its order.
enum class OutputEncoding { Gbk = 0, Utf8 = 1 };

// Turns each burst of decoded data the device sends into UTF-8 text.
//
// The text of a burst ends at its first zero byte.  "GBK" is code page 936
// whatever the locale.  With "UTF-8", valid UTF-8 is kept exactly as sent
// (no detour through GBK, so emoji and Korean survive) and each broken
// sequence in it becomes one U+FFFD; a burst with no UTF-8 character of
// more than one byte but broken bytes is not UTF-8 at all and is read as
// GBK, as a scanner left in GBK would need.  A multi-byte character cut off
// at the end of a burst is held back and put in front of the next one
// instead of being lost as two broken halves.  Long bursts are converted
// piece by piece, whole.
class DecodedTextConverter {
public:
    // Bytes converted at a time.
    static constexpr std::size_t kConversionArea = 10240;

    DecodedTextConverter();
    ~DecodedTextConverter();
    DecodedTextConverter(const DecodedTextConverter&) = delete;
    DecodedTextConverter& operator=(const DecodedTextConverter&) = delete;
    DecodedTextConverter(DecodedTextConverter&&) noexcept;
    DecodedTextConverter& operator=(DecodedTextConverter&&) noexcept;

    // A new choice drops any held-back part of a character.
    void SetEncoding(OutputEncoding encoding);
    // Drops a held-back part of a character (the input it belonged to is gone).
    void Forget();

    std::string Convert(const std::uint8_t* bytes, std::size_t count);

private:
    std::string ReadGbk(const std::string& bytes, bool ended);

    OutputEncoding encoding_ = OutputEncoding::Gbk;
    std::unique_ptr<CodePageDecoder> gbk_;
    std::string utf8Carry_;
};

// UTF-8 text as read: each broken sequence (the longest start of one that
// could have been valid) replaced by U+FFFD, and an incomplete sequence at
// the end held back in `carry` unless the input has ended.
struct Utf8Reading {
    std::string text;
    std::string carry;
    std::size_t multiByte = 0;  // well-formed characters of more than one byte
    std::size_t broken = 0;     // sequences broken before the end
};
Utf8Reading ReadUtf8(const std::string& bytes, bool ended);

}  // namespace quillon
