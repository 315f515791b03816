#include "device/DecodedOutputFile.h"

#include "base/Utf.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

std::string Utf16Le(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

}  // namespace

DecodedSaveResult SaveDecodedOutput(const std::string& path, const std::vector<RsTransDataStr>& lines)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return DecodedSaveResult::NotCreated;
    bool ok = std::fwrite("\xFF\xFE", 1, 2, file) == 2;
    const std::string lineEnd = Utf16Le(u"\r\n");
    for (const RsTransDataStr& line : lines) {
        if (!ok)
            break;
        const std::string bytes = Utf16Le(Utf8ToUtf16(line.lineText)) + lineEnd;
        ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
    }
    ok = std::fclose(file) == 0 && ok;
    return ok ? DecodedSaveResult::Written : DecodedSaveResult::WriteFailed;
}

DecodedRecordWriter::~DecodedRecordWriter()
{
    Close();
}

std::string DecodedRecordWriter::Open(const std::string& path)
{
    constexpr int kFlags = O_WRONLY | O_NOCTTY | O_CLOEXEC;
    int fd = ::open(path.c_str(), kFlags | O_CREAT | O_EXCL, 0666);
    if (fd >= 0)
        created_ = path;
    else if (errno == EEXIST)
        fd = ::open(path.c_str(), kFlags);
    if (fd < 0)
        return std::strerror(errno);
    owned_ = true;
    fd_ = fd;
    return {};
}

std::string DecodedRecordWriter::Begin()
{
    struct stat file {};
    if (::fstat(fd_, &file) == 0 && S_ISREG(file.st_mode) && ::ftruncate(fd_, 0) != 0)
        return std::strerror(errno);
    return Put("\xFF\xFE");
}

void DecodedRecordWriter::Abandon()
{
    Close();
    if (!created_.empty())
        ::unlink(created_.c_str());
}

std::string DecodedRecordWriter::Append(const std::string& utf8Text)
{
    return Put(Utf16Le(Utf8ToUtf16(utf8Text)) + Utf16Le(u"\r\n"));
}

std::string DecodedRecordWriter::Put(const std::string& bytes)
{
    std::string_view rest = bytes;
    while (!rest.empty()) {
        const ssize_t written = ::write(fd_, rest.data(), rest.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            const std::string reason = std::strerror(written == 0 ? EIO : errno);
            struct stat file {};
            if (::fstat(fd_, &file) == 0 && S_ISREG(file.st_mode)) [[maybe_unused]]
                const int ignored = ::ftruncate(fd_, whole_);
            return reason;
        }
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
    whole_ += static_cast<long long>(bytes.size());
    return {};
}

std::string DecodedRecordWriter::Close()
{
    if (fd_ < 0 || !owned_)
        return {};
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 ? std::string() : std::strerror(errno);
}

const char* DecodedSaveMessage(DecodedSaveResult result)
{
    switch (result) {
    case DecodedSaveResult::Written: return nullptr;
    case DecodedSaveResult::NotCreated: return kDecodedFileFailedText;
    case DecodedSaveResult::WriteFailed: return kDecodedWriteFailedText;
    }
    return nullptr;
}

}  // namespace quillon
