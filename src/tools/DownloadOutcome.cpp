#include "tools/DownloadOutcome.h"

#include <cstdio>

#include "tools/FirmwareFile.h"

namespace quillon {

namespace {

const char* FaultText(HexFault fault)
{
    switch (fault) {
    case HexFault::NoColon: return "不是以冒号开头的记录";
    case HexFault::OddDigits: return "十六进制位数为奇数";
    case HexFault::BadDigit: return "含有非十六进制字符";
    case HexFault::TooShort: return "记录不足5个字节";
    case HexFault::LengthMismatch: return "长度与字节数不符";
    case HexFault::Checksum: return "校验和错误";
    }
    return "";
}

std::string ReplyText(std::uint8_t reply)
{
    char text[8];
    if (reply >= 0x21 && reply < 0x7F)
        std::snprintf(text, sizeof text, "\"%c\"", reply);
    else
        std::snprintf(text, sizeof text, "0x%02X", reply);
    return text;
}

}  // namespace

bool Succeeded(DownloadResult result)
{
    return result == DownloadResult::HexLoaded || result == DownloadResult::ImageUpgraded;
}

OutcomeText DescribeOutcome(const DownloadOutcome& outcome)
{
    using enum OutcomeShown;
    switch (outcome.result) {
    case DownloadResult::HexLoaded: return {"加载完毕!", Label};
    case DownloadResult::ImageUpgraded: return {"升级完毕!", Label};
    case DownloadResult::NoFile: return {"未指定文件名！", MessageBox};
    case DownloadResult::FileEmpty: return {"固件文件中没有可发送的数据！", MessageBox};
    case DownloadResult::FileTooLarge:
        return {"固件文件超过" + std::to_string(kMaxFirmwareBytes >> 20) + "MB，不能下载！", MessageBox};
    case DownloadResult::BadHexLine:
        return {"HEX文件第" + std::to_string(outcome.problem.line) + "行" + FaultText(outcome.problem.fault) +
                    "，未发送任何数据！",
                MessageBox};
    case DownloadResult::PortUnavailable: return {"不能打开指定的COM，请尝试别的端口！", MessageBox};
    case DownloadResult::HandshakeFailed: return {"固件修复升级错误，请确认是否固件软件是否支持该功能！", MessageBox};
    case DownloadResult::ImageRefused: return {"升级失败，请重新升级！", MessageBox};
    case DownloadResult::ReplyRefused: return {"设备应答" + ReplyText(outcome.reply) + "，传输停止！", Nothing};
    case DownloadResult::HexUnfinished: return {"记录已全部发送，设备未报告加载完毕！", Label};
    case DownloadResult::NoReply: return {"设备无应答，传输停止！", Label};
    case DownloadResult::PortLost: return {"串口连接中断，传输停止！", Label};
    case DownloadResult::Cancelled: return {"传输已取消！", Nothing};
    }
    return {"", Nothing};
}

}  // namespace quillon
