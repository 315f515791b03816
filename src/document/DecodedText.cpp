#include "document/DecodedText.h"

#include "base/CodePages.h"
#include "base/Utf.h"

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
    if (lead < 0x80)
        return {1, 0, 0};
    if (lead >= 0xC2 && lead <= 0xDF)
        return {2, 0x80, 0xBF};
    if (lead == 0xE0)
        return {3, 0xA0, 0xBF};
    if (lead == 0xED)
        return {3, 0x80, 0x9F};
    if (lead >= 0xE1 && lead <= 0xEF)
        return {3, 0x80, 0xBF};
    if (lead == 0xF0)
        return {4, 0x90, 0xBF};
    if (lead >= 0xF1 && lead <= 0xF3)
        return {4, 0x80, 0xBF};
    if (lead == 0xF4)
        return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

}  // namespace

Utf8Reading ReadUtf8(const std::string& bytes, bool ended)
{
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const std::size_t size = bytes.size();
    Utf8Reading reading;
    std::size_t i = 0;
    while (i < size) {
        const LeadRule rule = RuleFor(p[i]);
        std::size_t k = 1;
        for (; rule.length > 0 && k < rule.length && i + k < size; ++k) {
            const std::uint8_t low = k == 1 ? rule.secondLow : 0x80;
            const std::uint8_t high = k == 1 ? rule.secondHigh : 0xBF;
            if (p[i + k] < low || p[i + k] > high)
                break;
        }
        if (rule.length > 0 && k == rule.length) {
            reading.text.append(bytes, i, k);
            reading.multiByte += k > 1;
        } else if (rule.length > 0 && i + k == size) {
            // Valid so far, cut off by the end: the rest may follow.
            if (ended)
                reading.text += kReplacementUtf8;
            else
                reading.carry.assign(bytes, i, k);
        } else {
            // The longest start of a sequence that could still have been
            // valid is one broken character.
            reading.text += kReplacementUtf8;
            ++reading.broken;
        }
        i += k;
    }
    return reading;
}

DecodedTextConverter::DecodedTextConverter() : gbk_(std::make_unique<CodePageDecoder>(kAnsiCodePage))
{
}
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
    if (encoding_ == OutputEncoding::Gbk)
        return ReadGbk(std::string(reinterpret_cast<const char*>(bytes), length), ended);
    std::string text;

    text.swap(utf8Carry_);
    text.append(reinterpret_cast<const char*>(bytes), length);
    Utf8Reading reading = ReadUtf8(text, ended);
    if (reading.broken > 0 && reading.multiByte == 0) {
        // Not UTF-8 at all: the GBK reading, whole (nothing held back).
        CodePageDecoder gbk(kAnsiCodePage);
        U16Buffer out;
        gbk.Feed(text.data(), text.size(), out);
        gbk.Finish(out);
        return Utf16ToUtf8(out.View());
    }
    utf8Carry_ = std::move(reading.carry);
    return std::move(reading.text);
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
