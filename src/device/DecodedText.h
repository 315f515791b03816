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
// (no detour through GBK, so emoji and Korean survive); a burst that is not
// UTF-8 at all is read as GBK, as a scanner left in GBK would need.  A
// multi-byte character cut off at the end of a burst is held back and put in
// front of the next one instead of being lost as two broken halves.  Broken
// input becomes U+FFFD.  Long bursts are converted piece by piece, whole.
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
    OutputEncoding Encoding() const { return encoding_; }

    std::string Convert(const std::uint8_t* bytes, std::size_t count);

private:
    std::string ReadGbk(const std::string& bytes, bool ended);

    OutputEncoding encoding_ = OutputEncoding::Gbk;
    std::unique_ptr<CodePageDecoder> gbk_;
    std::string utf8Carry_;
};

// Length of the longest prefix of `bytes` that is well-formed UTF-8 and of
// the incomplete (but so far valid) sequence after it; `valid` is false when
// something else follows.
struct Utf8Check {
    bool valid = true;
    std::size_t complete = 0;
};
Utf8Check CheckUtf8(const std::string& bytes);

}  // namespace quillon
