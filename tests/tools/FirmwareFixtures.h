#pragma once
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "tools/LoaderSession.h"

namespace quillon::test {

namespace fs = std::filesystem;

// A firmware-like payload that differs at every offset; `first` is its first
// byte (the loader in the simulator decides HEX or raw on the first bytes).
inline std::string Payload(std::size_t size, unsigned char first = 0xA7)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 131 + i / 4096 + 17) & 0xFF);
    if (size > 0)
        bytes[0] = static_cast<char>(first);
    return bytes;
}

inline void WriteFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Intel HEX of `binary` as objcopy writes it (CR LF line ends, upper-case
// digits), placed at `address`.
inline std::string ObjcopyHex(const fs::path& binary, const fs::path& hex, unsigned address = 0)
{
    const std::string command = "objcopy -I binary -O ihex --change-addresses " + std::to_string(address) + " '" +
                                binary.string() + "' '" + hex.string() + "'";
    if (std::system(command.c_str()) != 0)
        return {};
    return ReadFile(hex);
}

// Intel HEX as some other tools write it: extended linear address records
// only, 16 data bytes a line, CR LF line ends.
inline std::string LinearHex(std::uint32_t address, const std::string& data)
{
    std::string text;
    const auto addRecord = [&text](std::uint16_t offset, std::uint8_t type, const std::string& bytes) {
        const std::string head{char(bytes.size()), char(offset >> 8), char(offset), char(type)};
        std::uint8_t sum = 0;
        for (const char c : head + bytes)
            sum = std::uint8_t(sum + std::uint8_t(c));
        text += ':';
        for (const char c : head + bytes + char(-sum))
            text += {"0123456789ABCDEF"[std::uint8_t(c) >> 4], "0123456789ABCDEF"[std::uint8_t(c) & 15]};
        text += "\r\n";
    };
    for (std::size_t at = 0; at < data.size();) {
        const std::uint32_t here = address + std::uint32_t(at);
        if (at == 0 || (here & 0xFFFF) == 0)
            addRecord(0, 4, {char(here >> 24), char(here >> 16)});
        const std::size_t size = std::min<std::size_t>({16, data.size() - at, 0x10000 - (here & 0xFFFF)});
        addRecord(std::uint16_t(here), 0, data.substr(at, size));
        at += size;
    }
    addRecord(0, 1, {});
    return text;
}

// Every position the bar was given, in order; filled on the worker thread.
class ProgressLog : public IDownloadObserver {
public:
    void OnProgress(int percent) override
    {
        std::lock_guard lock(mutex_);
        percents_.push_back(percent);
    }
    std::vector<int> Percents() const
    {
        std::lock_guard lock(mutex_);
        return percents_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<int> percents_;
};

}  // namespace quillon::test
