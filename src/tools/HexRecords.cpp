#include "tools/HexRecords.h"

#include <numeric>

#include "base/HexDigit.h"

namespace quillon {

namespace {
constexpr std::size_t kRecordOverhead = 5;  // count, two address bytes, type, checksum
constexpr std::uint8_t kEndOfFileType = 0x01;
}  // namespace

std::span<const std::uint8_t> HexRecords::Record(std::size_t index) const
{
    const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::span(bytes_).subspan(begin, ends_[index] - begin);
}

void HexRecords::Add(std::span<const std::uint8_t> record)
{
    bytes_.insert(bytes_.end(), record.begin(), record.end());
    ends_.push_back(bytes_.size());
}

std::optional<HexFault> DecodeRecordLine(std::string_view line, std::vector<std::uint8_t>& record)
{
    record.clear();
    if (line.empty() || line.front() != ':')
        return HexFault::NoColon;
    const std::string_view digits = line.substr(1);
    for (const char c : digits)
        if (HexDigitValue(c) < 0)
            return HexFault::BadDigit;
    if (digits.size() % 2 != 0)
        return HexFault::OddDigits;
    for (std::size_t i = 0; i < digits.size(); i += 2)
        record.push_back(static_cast<std::uint8_t>(HexDigitValue(digits[i]) * 16 + HexDigitValue(digits[i + 1])));
    if (record.size() < kRecordOverhead)
        return HexFault::TooShort;
    if (record.size() != record[0] + kRecordOverhead)
        return HexFault::LengthMismatch;
    if (static_cast<std::uint8_t>(std::accumulate(record.begin(), record.end(), 0u)) != 0)
        return HexFault::Checksum;
    return std::nullopt;
}

HexParse ParseHexText(std::string_view text)
{
    HexParse parse;
    std::vector<std::uint8_t> record;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.empty())
            continue;
        if (const auto fault = DecodeRecordLine(line, record)) {
            parse.problem = HexProblem{lineNumber, *fault};
            return parse;
        }
        parse.records.Add(record);
        // The file ends here: what tools append after it (a DOS ^Z, a
        // trailer) is no record.
        if (record[3] == kEndOfFileType)
            break;
    }
    return parse;
}

}  // namespace quillon
