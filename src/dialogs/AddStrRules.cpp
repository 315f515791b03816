#include "dialogs/AddStrRules.h"

#include "base/HexText.h"
#include "base/Utf.h"
#include "dialogs/DialogTexts.h"
#include "dialogs/FieldText.h"

#include <algorithm>

namespace quillon {

namespace {

// Where needle first occurs, when that is after the first character.
std::size_t FindAfterFirst(const std::u16string& text, std::u16string_view needle)
{
    const std::size_t at = text.find(needle);
    return at == 0 ? std::u16string::npos : at;
}

}  // namespace

AddStrRules::Fields AddStrRules::FieldsFor(std::string_view bytes)
{
    Fields fields;
    if (bytes.ends_with("\r\n")) {
        fields.lineBreak = true;
        bytes.remove_suffix(2);
    }
    if (bytes.ends_with('\t')) {
        fields.tab = true;
        bytes.remove_suffix(1);
    }
    fields.hex = std::ranges::any_of(bytes, [](char c) { return c < 32 || c > 126; });
    if (!fields.hex) {
        fields.text = std::string(bytes);
        return fields;
    }
    fields.text = ToHex(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return fields;
}

AddStrRules::Fields AddStrRules::Opening() const
{
    if (deviceValue_)
        return FieldsFor(*deviceValue_);
    const std::u16string text = Utf8ToUtf16(initialText_);
    Fields fields;
    fields.tab = FindAfterFirst(text, u"\\t") != std::u16string::npos;
    fields.lineBreak = FindAfterFirst(text, u"\\r\\n") != std::u16string::npos;

    const std::size_t colon = FindAfterFirst(text, u":");
    if (colon != std::u16string::npos) {
        std::size_t end = text.find(u'\\');
        if (end == std::u16string::npos || end == 0)
            end = text.size();
        const std::size_t begin = colon + 2;
        if (begin < end)
            fields.text = Utf16ToUtf8(std::u16string_view(text).substr(begin, end - begin));
    }
    return fields;
}

DialogOutcome AddStrRules::Accept(const Fields& fields)
{
    namespace t = dialog_texts;
    const bool hex = fields.hex && (!fields.text.empty() || fields.tab || fields.lineBreak);
    std::string result = fields.text;

    if (hex) {
        isHex_ = true;
        if (CountUnits(fields.text) % 2 != 0)
            return DialogOutcome::Refuse(t::kAddStrHexLength);
        if (!IsHexText(fields.text))
            return DialogOutcome::Refuse(t::kIllegalHex);
        // The message is hex bytes here, so the tab and line break must be
        // appended as bytes too; raw control characters would corrupt it.
        if (fields.tab)
            result += "09";
        if (fields.lineBreak)
            result += "0D0A";
        if (result.size() / 2 > kMaxLength) {
            resultText_.clear();
            return DialogOutcome::Refuse(t::kAddStrTooLong, true);
        }
    } else {
        isHex_ = false;
        if (fields.tab)
            result += '\t';
        if (fields.lineBreak)
            result += "\r\n";
        const std::u16string units = Utf8ToUtf16(result);
        if (std::any_of(units.begin(), units.end(), [](char16_t c) { return c >= 256; })) {
            resultText_.clear();
            return DialogOutcome::Refuse(t::kAddStrNotAscii, true);
        }
        if (units.size() > kMaxLength) {
            resultText_.clear();
            return DialogOutcome::Refuse(t::kAddStrTooLong, true);
        }
    }

    resultText_ = result;
    DialogOutput out;
    out.text = resultText_;
    out.hex = isHex_;
    return DialogOutcome::Close(std::move(out));
}

}  // namespace quillon
