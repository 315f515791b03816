#include "tools/FirmwareFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

#include "tools/RawImage.h"

namespace quillon {

namespace {

bool EndsWithHexSuffix(std::string_view name)
{
    constexpr std::string_view kSuffix = ".hex";
    return name.size() >= kSuffix.size() &&
           std::equal(kSuffix.begin(), kSuffix.end(), name.end() - kSuffix.size(),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

bool FirstLineIsRecord(std::span<const std::uint8_t> content)
{
    std::string_view text(reinterpret_cast<const char*>(content.data()), content.size());
    text = text.substr(0, text.find('\n'));
    if (text.ends_with('\r'))
        text.remove_suffix(1);
    std::vector<std::uint8_t> record;
    return !DecodeRecordLine(text, record).has_value();
}

// The whole file, or a fault when it cannot be read or exceeds `limit`.
FileFault ReadWhole(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& bytes)
{
    // Without O_NONBLOCK a FIFO would hold the open until a writer came.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return FileFault::Unreadable;
    struct stat info {};
    FileFault fault = FileFault::None;
    // Only a regular file is firmware: a FIFO, a terminal or another device
    // would be read for as long as it gives bytes, or for ever.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        fault = FileFault::Unreadable;
    } else if (static_cast<std::uint64_t>(info.st_size) > limit) {
        fault = FileFault::TooLarge;
    } else {
        // Not trusting st_size alone: the file may grow.
        constexpr std::size_t kChunk = 1 << 16;
        bytes.reserve(static_cast<std::size_t>(info.st_size) + kChunk);
        while (fault == FileFault::None) {
            const std::size_t used = bytes.size();
            bytes.resize(used + kChunk);
            const ssize_t n = ::read(fd, bytes.data() + used, kChunk);
            bytes.resize(used + static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
            if (n == 0)
                break;
            if (n < 0 && errno != EINTR)
                fault = FileFault::Unreadable;
            else if (bytes.size() > limit)
                fault = FileFault::TooLarge;
        }
    }
    ::close(fd);
    return fault;
}

}  // namespace

FirmwareKind DetectFirmwareKind(std::string_view fileName, std::span<const std::uint8_t> content)
{
    if (content.size() >= 2 && content[0] == ':' && content[1] == '0')
        return FirmwareKind::Hex;
    if (EndsWithHexSuffix(fileName))
        return FirmwareKind::Hex;
    return !content.empty() && content[0] == ':' && FirstLineIsRecord(content) ? FirmwareKind::Hex : FirmwareKind::Raw;
}

FirmwareFile LoadFirmwareFile(const std::string& path, std::size_t limit)
{
    FirmwareFile file;
    file.fault = ReadWhole(path, limit, file.bytes);
    if (file.fault != FileFault::None) {
        file.bytes.clear();
        return file;
    }
    file.kind = DetectFirmwareKind(path, file.bytes);
    if (file.kind == FirmwareKind::Raw) {
        file.headerLength = ImageHeaderLength(file.bytes);
        if (file.Payload().empty())
            file.fault = FileFault::Empty;
        return file;
    }
    HexParse parse =
        ParseHexText(std::string_view(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()));
    file.bytes.clear();
    file.bytes.shrink_to_fit();
    if (parse.problem) {
        file.fault = FileFault::BadHex;
        file.problem = *parse.problem;
    } else if (parse.records.Count() == 0) {
        file.fault = FileFault::Empty;
    }
    file.records = std::move(parse.records);
    return file;
}

}  // namespace quillon
