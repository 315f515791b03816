#include "device/DecodedText.h"

#include "catalogue/CodePages.h"
#include "catalogue/Utf.h"

#include <algorithm>
#include <cstring>

namespace quillon {

namespace {

constexpr char kReplacementUtf8[] = "\xEF\xBF\xBD";

// Bytes a UTF-8 sequence starting with `lead` has, and the range its second
// byte must fall in (excluding overlongs and surrogates); 0 for a bad lead.
struct LeadRule {
    std::size_t length;
    std::uint8_t secondLow;
    std::uint8_t secondHigh;
};

LeadRule RuleFor(std::uint8_t lead)
{
    if (lead < 0x80) return {1, 0, 0};
    if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF};
    if (lead == 0xE0) return {3, 0xA0, 0xBF};
    if (lead == 0xED) return {3, 0x80, 0x9F};
    if (lead >= 0xE1 && lead <= 0xEF) return {3, 0x80, 0xBF};
    if (lead == 0xF0) return {4, 0x90, 0xBF};
    if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF};
    if (lead == 0xF4) return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

}  // namespace

Utf8Check CheckUtf8(const std::string& bytes)
{
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    while (i < size) {
        const LeadRule rule = RuleFor(p[i]);
        if (rule.length == 0)
            return {false, i};
        std::size_t k = 1;
        for (; k < rule.length && i + k < size; ++k) {
            const std::uint8_t low = k == 1 ? rule.secondLow : 0x80;
            const std::uint8_t high = k == 1 ? rule.secondHigh : 0xBF;
            if (p[i + k] < low || p[i + k] > high)
                return {false, i};
        }
        if (k < rule.length)
            return {true, i};  // valid so far, cut off by the end
        i += rule.length;
    }
    return {true, i};
}

DecodedTextConverter::DecodedTextConverter() : gbk_(std::make_unique<CodePageDecoder>(kAnsiCodePage)) {}
DecodedTextConverter::~DecodedTextConverter() = default;
DecodedTextConverter::DecodedTextConverter(DecodedTextConverter&&) noexcept = default;
DecodedTextConverter& DecodedTextConverter::operator=(DecodedTextConverter&&) noexcept = default;

void DecodedTextConverter::SetEncoding(OutputEncoding encoding)
{
    encoding_ = encoding;
    Forget();
}

void DecodedTextConverter::Forget()
{
    gbk_ = std::make_unique<CodePageDecoder>(kAnsiCodePage);
    utf8Carry_.clear();
}

std::string DecodedTextConverter::Convert(const std::uint8_t* bytes, std::size_t count)
{
    // The text ends at the first zero byte; a character cut off by it is broken.
    const auto* zero = static_cast<const std::uint8_t*>(std::memchr(bytes, 0, count));
    const bool ended = zero != nullptr;
    const std::size_t length = ended ? static_cast<std::size_t>(zero - bytes) : count;
    std::string text;
    if (encoding_ == OutputEncoding::Gbk)
        return ReadGbk(std::string(reinterpret_cast<const char*>(bytes), length), ended);

    text.swap(utf8Carry_);
    text.append(reinterpret_cast<const char*>(bytes), length);
    const Utf8Check check = CheckUtf8(text);
    if (!check.valid) {
        // Not UTF-8 at all: the GBK reading, whole (nothing held back).
        CodePageDecoder gbk(kAnsiCodePage);
        U16Buffer out;
        gbk.Feed(text.data(), text.size(), out);
        gbk.Finish(out);
        return Utf16ToUtf8(out.View());
    }
    if (ended) {
        if (check.complete < text.size())
            text.replace(check.complete, std::string::npos, kReplacementUtf8);
    } else {
        utf8Carry_.assign(text, check.complete, std::string::npos);
        text.resize(check.complete);
    }
    return text;
}

std::string DecodedTextConverter::ReadGbk(const std::string& bytes, bool ended)
{
    U16Buffer out;
    for (std::size_t at = 0; at < bytes.size(); at += kConversionArea)
        gbk_->Feed(bytes.data() + at, std::min(kConversionArea, bytes.size() - at), out);
    if (ended)
        gbk_->Finish(out);
    return Utf16ToUtf8(out.View());
}

}  // namespace quillon
