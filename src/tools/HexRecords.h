#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace quillon {

// Why a line of an Intel HEX file is not a record the loader can be given.
enum class HexFault {
    NoColon,         // the line does not start with ':'
    OddDigits,       // an odd number of hex digits after the colon
    BadDigit,        // a character that is no hex digit
    TooShort,        // fewer than the five bytes every record has
    LengthMismatch,  // the byte count disagrees with the line's length
    Checksum,        // the bytes do not add up to zero
};

struct HexProblem {
    int line;  // 1-based line of the file
    HexFault fault;
};

// The records of a HEX file as the loader receives them, each the bytes of
// one line (count, address, type, data, checksum), kept in one buffer.
class HexRecords {
public:
    std::size_t Count() const { return ends_.size(); }
    std::span<const std::uint8_t> Record(std::size_t index) const;
    void Add(std::span<const std::uint8_t> record);

private:
    std::vector<std::uint8_t> bytes_;
    std::vector<std::size_t> ends_;
};

// The bytes of one record line (without its line end); the fault when the
// line is not a well-formed record.  Digits of either case are accepted.
std::optional<HexFault> DecodeRecordLine(std::string_view line, std::vector<std::uint8_t>& record);

struct HexParse {
    HexRecords records;
    std::optional<HexProblem> problem;  // set: the file must not be sent at all
};

// Every line of the text, whatever its length; "\r\n" and "\n" both end a
// line, the last line may have no line end, blank lines are passed over.
// The first malformed line stops the parse and is named in `problem`.
HexParse ParseHexText(std::string_view text);

}  // namespace quillon
