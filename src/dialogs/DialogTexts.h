#pragma once

// The fixed captions and messages of the parameter dialogs, shared by the
// rules (which decide) and the windows (which show).
namespace quillon::dialog_texts {

inline constexpr char kOk[] = "确定";
inline constexpr char kCancel[] = "取消";
inline constexpr char kMilliseconds[] = "ms";

// Time-interval, register and station-address entry.
inline constexpr char kValueOutOfRange[] = "值超出设置范围";

// Trigger, command-decode and sleep time-outs.
inline constexpr char kTimeoutOverLimit[] = "触发超时超过最大限制！";

// Trigger time-out (mode 0 and any unknown mode), command-decode time-out
// (mode 1) and sleep delay (mode 2).
struct Caption {
    const char* title;
    const char* prompt;
};
inline Caption ExTimeSetCaption(int mode)
{
    switch (mode) {
    case 1: return {"命令解码超时设置", "命令解码超时时长，有效值为0－65535毫秒："};
    case 2: return {"进入休眠时长设置", "进入休眠状态等待时长，有效值为0－65535毫秒："};
    default: return {"触发超时设置", "触发模式下的超时限制，有效值为0－65535毫秒："};
    }
}

// Shutter exposure.
inline constexpr char kSpeedSetTitle[] = "快门曝光控制";
inline constexpr char kSpeedSetPrompt[] = "镜头曝光值设置(0-65535)：";
inline constexpr char kSpeedOverLimit[] = "曝光值超限最大限制！";

// Multi-code output.
inline constexpr char kCodeNumTitle[] = "条码输出个数设置";
inline constexpr char kCodeNumPrompt[] = "设置条码输出个数(2-6):";
inline constexpr char kCodeNumOverLimit[] = "条码输出个数超限最大限制！";
inline constexpr char kMcbTimeoutTitle[] = "多条码输出超时设置";
inline constexpr char kMcbTimeoutPrompt[] = "条码输出超时设置(0-65535):";
inline constexpr char kMbcSpStrTitle[] = "多码输出分隔符号配置";
inline constexpr char kMbcSpStrPrompt[] = "多条码输出分隔符号设置(0-8个字符)：";
inline constexpr char kMbcSpStrTooLong[] = "分隔符数量超过最大8个字符！";
inline constexpr char kMbcStrOrderTitle[] = "条码输出顺序设置";
inline constexpr char kMbcStrOrderPrompt[] = "条码输出顺序内容设置：";
inline constexpr char kAnyOrder[] = "任意输出模式";
inline constexpr char kSpecifiedOrder[] = "制定输出模式";
inline constexpr char kUnknownSymbology[] = "条码类型名称不在列表中，请从列表中选择！";

// M1 card block.
inline constexpr char kM1Title[] = "M1卡扇区读取参数设置";
inline constexpr char kM1Sector[] = "扇区 0-15";
inline constexpr char kM1Block[] = "块号 0-2";
inline constexpr char kM1KeyA[] = "KEY A";
inline constexpr char kM1KeyB[] = "KEY B";
inline constexpr char kM1Key[] = "密钥-16进制字符";
inline constexpr char kM1SectorEmpty[] = "扇区号不能为空";
inline constexpr char kM1SectorWrong[] = "扇区号错误(0-15)!";
inline constexpr char kM1BlockEmpty[] = "块号不能为空";
inline constexpr char kM1BlockWrong[] = "扇区块错误(0-2)!";
inline constexpr char kM1KeyFormat[] = "密钥格式错误，请重试！";

// Hexadecimal input (M1 key and extra text message).
inline constexpr char kIllegalHex[] = "非法的16进制字符，请重试！";

// Extra text message.
inline constexpr char kAddStrTitle[] = "添加文字附加信息";
inline constexpr char kAddStrPrompt[] = "附加信息（最多40个字符；勾选HEX时输入16进制字节）：";
inline constexpr char kAddStrTab[] = "制表符";
inline constexpr char kAddStrLineBreak[] = "换行符";
inline constexpr char kAddStrHex[] = "HEX";
inline constexpr char kAddStrHexLength[] = "输入16进制长度错误，请重试！";
inline constexpr char kAddStrNotAscii[] = "只能输入ASCII打印字符，或使用HEX格式输入";
inline constexpr char kAddStrTooLong[] = "消息长度超过40字符！";

}  // namespace quillon::dialog_texts
