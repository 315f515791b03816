#pragma once
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

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

inline std::string ReadFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
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
