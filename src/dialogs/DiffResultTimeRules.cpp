#include "dialogs/DiffResultTimeRules.h"

#include "dialogs/DialogTexts.h"
#include "dialogs/FieldText.h"

#include <cstdio>

namespace quillon {

namespace {

struct ModeRow {
    int mode;
    const char* title;
    const char* prompt;
    long long maximum;
};

constexpr ModeRow kModes[] = {
    {0, "相同译码结果时间间隔设置", "译码相同结果时间间隔，有效值为0－65535，单位ms：", 65535},
    {1, "不同译码结果时间间隔设置", "译码不同结果时间间隔，有效值为0－65535，单位ms：", 65535},
    {3, "NFC不同结果时间间隔设置", "NFC不同结果时间间隔，有效值为0－65535，单位ms：", 65535},
    {4, "NFC相同结果时间间隔设置", "NFC相同结果时间间隔，有效值为0－65535，单位ms：", 65535},
    {5, "写保持寄存器数量", "设置写保持寄存器数量，有效值为0－1024：", 1024},
    {6, "写保持寄存器起始地址", "设置写保持寄存器起止地址，有效值为0－65535：", 65535},
    {7, "服务端标识", "Modbus RTU 访问服务地址标识 0-255：", 255},
};

constexpr int kStationAddressMode = 7;
constexpr int kLastMillisecondMode = 4;

}  // namespace

void DiffResultTimeRules::SetMode(int mode)
{
    mode_ = mode;
    for (const ModeRow& row : kModes) {
        if (row.mode == mode) {
            title_ = row.title;
            prompt_ = row.prompt;
            maximum_ = row.maximum;
        }
    }
}

DialogOutcome DiffResultTimeRules::Accept(const std::string& fieldText)
{
    const long long value = ReadFieldNumber(fieldText);
    // Negative readings only come from non-digit text; they fit no field.
    if (value < 0 || value > maximum_)
        return DialogOutcome::Refuse(dialog_texts::kValueOutOfRange);

    const int v = static_cast<int>(value);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, mode_ == kStationAddressMode ? "%02X" : "%04X", v);
    resultText_ = buffer;
    std::snprintf(buffer, sizeof buffer, mode_ > kLastMillisecondMode ? "%d" : "%d ms", v);
    displayText_ = buffer;

    DialogOutput out;
    out.text = resultText_;
    out.captionText = displayText_;
    out.number = v;
    return DialogOutcome::Close(std::move(out));
}

}  // namespace quillon
