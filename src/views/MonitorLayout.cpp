#include "views/MonitorLayout.h"

#include "base/ShownText.h"

#include <algorithm>
#include <string_view>

namespace quillon {

namespace {

constexpr int kLineHeight = 17;
constexpr int kGrowth = 200;

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

std::string MonitorLineText(const RsComStr& line)
{
    if (line.direction != RsComStr::kSent && line.direction != RsComStr::kReturned)
        return {};
    std::string_view digits = Trimmed(line.hexText);
    std::string text =
        Filled(Shown(line.direction == RsComStr::kSent ? " 发送->  长度:%1  数据:" : " 返回->  长度:%1  数据:"),
               {std::to_string(digits.size() / 2)});
    text.reserve(text.size() + digits.size() / 2 * 5 + 5);
    while (!digits.empty()) {
        text += "0x";
        text += digits.substr(0, 2);
        text += ' ';
        digits.remove_prefix(std::min<std::size_t>(2, digits.size()));
    }
    return text;
}

void DrawMonitor(IPainter& painter, const std::vector<RsComStr>& lines, int top, int bottom)
{
    painter.SetFont(FontRole::Heading);
    painter.SetTextColour(kBlack);
    painter.Text(5, 1, Shown(kMonitorHeading));
    painter.SetFont(FontRole::Body);
    auto first = std::ranges::lower_bound(lines, top - kLineHeight, {}, &RsComStr::lineY);
    for (auto line = first; line != lines.end() && line->lineY < bottom; ++line) {
        if (line->direction != RsComStr::kSent && line->direction != RsComStr::kReturned)
            continue;
        painter.SetTextColour(line->direction == RsComStr::kSent ? kBlack : kBlue);
        painter.Text(line->lineX, line->lineY, MonitorLineText(*line));
    }
}

int MonitorTotalHeight(const std::vector<RsComStr>& lines, int totalHeight)
{
    auto line = std::ranges::lower_bound(lines, totalHeight, {}, &RsComStr::lineY);
    for (; line != lines.end(); ++line) {
        if (line->lineY >= totalHeight)
            totalHeight += kGrowth;
    }
    return totalHeight;
}

}  // namespace quillon
