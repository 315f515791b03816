#include "catalogue/SelectionDispatch.h"

#include "base/HexDigit.h"
#include "base/Utf.h"
#include "dialogs/DialogInputs.h"

#include <cstdint>
#include <cstdio>

namespace quillon {

namespace {

struct Row {
    int b1;
    int b2;
    ParameterDialog dialog;
    int mode;
    bool passOptionText;
};

// Keyed by the setting's two bytes; anything not listed takes no value.
// A row a line.
// clang-format off
constexpr Row kRows[] = {
    {0x45, 0xCE, ParameterDialog::M1Block, -1, false},
    {0x51, 0xC1, ParameterDialog::AddStr, -1, true},
    {0x51, 0xC2, ParameterDialog::AddStr, -1, true},
    {0x51, 0xD1, ParameterDialog::AddStr, -1, true},
    {0x51, 0xD2, ParameterDialog::AddStr, -1, true},
    {0x31, 0xC4, ParameterDialog::MbcSpStr, -1, true},
    {0x31, 0x81, ParameterDialog::CodeNum, -1, true},
    {0x31, 0x83, ParameterDialog::McbTimeout, -1, false},
    {0x31, 0x85, ParameterDialog::MbcStrOrder, -1, true},
    {0x31, 0x86, ParameterDialog::MbcStrOrder, -1, true},
    {0x31, 0x87, ParameterDialog::MbcStrOrder, -1, true},
    {0x31, 0x88, ParameterDialog::MbcStrOrder, -1, true},
    {0x31, 0x89, ParameterDialog::MbcStrOrder, -1, true},
    {0x31, 0x8A, ParameterDialog::MbcStrOrder, -1, true},
    {0x61, 0x82, ParameterDialog::ExTimeSet, 0, true},
    {0x61, 0x8A, ParameterDialog::ExTimeSet, 1, true},
    {0x61, 0x88, ParameterDialog::ExTimeSet, 2, true},
    {0x71, 0x81, ParameterDialog::SpeedSet, -1, true},
    {0x64, 0x82, ParameterDialog::DiffResultTime, 0, false},
    {0x64, 0x81, ParameterDialog::DiffResultTime, 1, false},
    {0x45, 0x91, ParameterDialog::DiffResultTime, 3, false},
    {0x45, 0x92, ParameterDialog::DiffResultTime, 4, false},
    {0x50, 0x83, ParameterDialog::DiffResultTime, 5, false},
    {0x50, 0x84, ParameterDialog::DiffResultTime, 6, false},
    {0x50, 0x42, ParameterDialog::DiffResultTime, 7, false},
};
// clang-format on

ValueTriple TwoByteNumber(std::string_view text)
{
    return {Hex16Normalise(text), 2, 2, {}};
}

ValueTriple HexBytes(std::string text)
{
    const int length = CharacterCount(text) / 2;
    return {std::move(text), length, 3, {}};
}

ValueTriple PlainText(std::string text)
{
    const int length = CharacterCount(text);
    return {std::move(text), length, 1, {}};
}

ValueTriple HexNumberAsTyped(std::string text)
{
    const int length = CharacterCount(text) / 2;
    return {std::move(text), length, 2, {}};
}

AppliedValue AppliedValueOf(ParameterDialog dialog, const DialogOutput& output)
{
    switch (dialog) {
    case ParameterDialog::None: return {};
    case ParameterDialog::M1Block: return {HexBytes(output.text), {}};
    case ParameterDialog::AddStr: return {output.hex ? HexBytes(output.text) : PlainText(output.text), {}};
    case ParameterDialog::MbcSpStr: return {PlainText(output.text), {}};
    case ParameterDialog::CodeNum:
        // The count goes out as its decimal digits read as hex, which is how
        // the device expects counts (5 -> 0005, 12 -> 0012).
        return {TwoByteNumber(std::to_string(output.number)), {}};
    case ParameterDialog::McbTimeout:
    case ParameterDialog::ExTimeSet: return {TwoByteNumber(output.text), {}};
    case ParameterDialog::MbcStrOrder: {
        char hex[17];
        std::snprintf(hex, sizeof hex, "%lx", static_cast<unsigned long>(output.number));
        return {TwoByteNumber(hex), {}};
    }
    case ParameterDialog::SpeedSet: return {HexNumberAsTyped(output.text), {}};
    case ParameterDialog::DiffResultTime: return {HexNumberAsTyped(output.text), output.captionText};
    }
    return {};
}

}  // namespace

int CodeByte(std::string_view code, std::size_t offset)
{
    int value = 0;
    for (std::size_t i = offset; i < offset + 2 && i < code.size(); ++i) {
        const int digit = HexDigitValue(code[i]);
        if (digit < 0)
            break;
        value = value * 16 + digit;
    }
    return value;
}

DialogChoice ChooseParameterDialog(std::string_view optionCode)
{
    const int b1 = CodeByte(optionCode, 0);
    const int b2 = CodeByte(optionCode, 2);
    for (const Row& row : kRows) {
        if (row.b1 == b1 && row.b2 == b2)
            return {row.dialog, row.mode, row.passOptionText};
    }
    return {};
}

std::string Hex16Normalise(std::string_view text)
{
    std::uint32_t value = 0;
    for (char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            value = 0xFFFF;
            break;
        }
        value = (value * 16 + static_cast<std::uint32_t>(digit)) & 0xFFFF;
    }
    char out[5];
    std::snprintf(out, sizeof out, "%04X", static_cast<unsigned>(value));
    return out;
}

int CharacterCount(std::string_view utf8)
{
    return static_cast<int>(Utf8ToUtf16(utf8).size());
}

AppliedValue BuildAppliedValue(ParameterDialog dialog, const DialogOutput& output)
{
    AppliedValue applied = AppliedValueOf(dialog, output);
    applied.value.dialogInput = DialogInputText(dialog, output);
    return applied;
}

}  // namespace quillon
