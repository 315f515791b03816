#include "catalogue/DocumentText.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/CodePages.h"
#include "base/Utf.h"

namespace quillon {

namespace {

constexpr std::size_t kPrefixBytes = 1024;
constexpr std::size_t kPieceBytes = std::size_t{1} << 20;
constexpr std::uint64_t kMaxUnits = UINT32_MAX - 1;

// The system's text for an error number, cut before its first line break.
std::string ErrorText(int error)
{
    char buffer[256];
    const char* text = strerror_r(error, buffer, sizeof buffer);
    std::string result(text ? text : "Unknown error");
    const std::size_t cut = result.find_first_of("\r\n");
    if (cut != std::string::npos)
        result.resize(cut);
    return result;
}

// A file descriptor open for reading, closed at scope exit.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const std::string& path)
    {
        // O_NONBLOCK: opening a FIFO must not wait for a writer (lseek then
        // refuses it); regular files ignore the flag.
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (fd_ < 0)
            error_ = errno;
    }
    ~ReadOnlyFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    int Error() const { return error_; }

    // Seek to end, tell, seek back to 0.  Directories are refused here
    // (EISDIR) rather than trusting their size.
    bool Length(std::uint64_t& length)
    {
        struct stat info {};
        if (::fstat(fd_, &info) != 0)
            return Fail();
        if (S_ISDIR(info.st_mode)) {
            error_ = EISDIR;
            return false;
        }
        const off_t end = ::lseek(fd_, 0, SEEK_END);
        if (end < 0 || ::lseek(fd_, 0, SEEK_SET) < 0)
            return Fail();
        length = static_cast<std::uint64_t>(end);
        return true;
    }

    // Reads up to `size` bytes at `offset`; `got` is less than `size` only at
    // the end of the file.
    bool ReadAt(std::uint64_t offset, char* to, std::size_t size, std::size_t& got)
    {
        got = 0;
        while (got < size) {
            const ssize_t n = ::pread(fd_, to + got, size - got, static_cast<off_t>(offset + got));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return Fail();
            }
            if (n == 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        return true;
    }

private:
    bool Fail()
    {
        error_ = errno;
        return false;
    }

    int fd_ = -1;
    int error_ = 0;
};

// Removes zero bytes in place; returns the new size.
std::size_t RemoveZeroBytes(char* bytes, std::size_t size)
{
    char* end = bytes + size;
    char* first = std::find(bytes, end, '\0');
    if (first == end)
        return size;
    char* out = first;
    for (char* p = first; p != end; ++p) {
        if (*p != '\0')
            *out++ = *p;
    }
    return static_cast<std::size_t>(out - bytes);
}

// The units of a UTF-16 file.
bool ReadUtf16(ReadOnlyFile& file, const std::string& prefix, std::size_t markLength, std::uint64_t remaining,
               bool bigEndian, DocumentText& out, std::string& readResult)
{
    // Room for every byte (an odd last byte is read and then dropped).
    const std::size_t capacity = static_cast<std::size_t>(remaining / 2 + 1);
    char* bytes = reinterpret_cast<char*>(out.text.Extend(capacity));
    const std::size_t fromPrefix = prefix.size() - markLength;
    std::memcpy(bytes, prefix.data() + markLength, fromPrefix);
    std::size_t got = 0;
    if (!file.ReadAt(prefix.size(), bytes + fromPrefix, static_cast<std::size_t>(remaining) - fromPrefix, got)) {
        return false;
    }
    std::size_t units = (fromPrefix + got) / 2;
    readResult = "length " + std::to_string(units) + " ";

    char16_t* text = out.text.Data();
    char16_t* end = text + units;
    char16_t* first = std::find(text, end, u'\0');
    if (first != end) {
        char16_t* kept = first;
        for (char16_t* p = first; p != end; ++p) {
            if (*p != u'\0')
                *kept++ = *p;
        }
        const std::size_t nulls = static_cast<std::size_t>(end - kept);
        units -= nulls;
        readResult += "(" + std::to_string(nulls) + " nulls removed) ";
    }
    if (bigEndian) {
        for (std::size_t i = 0; i < units; ++i)
            text[i] = static_cast<char16_t>((text[i] >> 8) | (text[i] << 8));
        readResult += "endian swap ";
    }
    out.text.Commit(units);
    return true;
}

// The bytes of an 8-bit file, converted piece by piece.
// `encodingName` is empty when not known; the UTF-8 test may set it.
// `prefix` holds the first document bytes, which start at file offset `base`.
bool Read8Bit(ReadOnlyFile& file, std::uint64_t base, const std::string& prefix, std::uint64_t remaining,
              std::string& encodingName, DocumentText& out, std::string& readResult)
{
    // A piece buffer no larger than the file (uninitialised: it is written first).
    const std::size_t pieceBytes = static_cast<std::size_t>(
        std::max<std::uint64_t>(prefix.size(), std::min<std::uint64_t>(kPieceBytes, remaining)));
    auto piece = std::make_unique_for_overwrite<char[]>(pieceBytes);
    // Calls `each(bytes, size)` for the file's bytes after the prefix, zero
    // bytes removed, one piece at a time; counts the bytes read and the nulls.
    std::uint64_t total = 0;
    std::uint64_t nulls = 0;
    auto walk = [&](auto&& each) -> bool {
        total = prefix.size();
        nulls = 0;
        std::memcpy(piece.get(), prefix.data(), prefix.size());
        std::size_t size = RemoveZeroBytes(piece.get(), prefix.size());
        nulls += prefix.size() - size;
        each(piece.get(), size);
        while (total < remaining) {
            std::size_t got = 0;
            const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(pieceBytes, remaining - total));
            if (!file.ReadAt(base + total, piece.get(), want, got))
                return false;
            if (got == 0)
                break;  // the file shrank meanwhile
            total += got;
            size = RemoveZeroBytes(piece.get(), got);
            nulls += got - size;
            each(piece.get(), size);
        }
        return true;
    };

    const bool detect = encodingName.empty();
    if (detect) {
        Utf8Test test;
        if (!walk([&](const char* bytes, std::size_t size) {
                test.Feed(reinterpret_cast<const unsigned char*>(bytes), size);
            })) {
            return false;
        }
        if (test.Passed())
            encodingName = "UTF-8";
    }

    CodePageDecoder decoder(CodePageFromName(encodingName));
    out.text.Reserve(static_cast<std::size_t>(remaining));  // an upper bound, touched only where written
    if (!walk([&](const char* bytes, std::size_t size) { decoder.Feed(bytes, size, out.text); }))
        return false;
    decoder.Finish(out.text);
    if (out.text.Size() > kMaxUnits)
        out.text.Truncate(kMaxUnits);

    readResult = "length " + std::to_string(total) + " ";
    if (nulls > 0)
        readResult += "(" + std::to_string(nulls) + " nulls removed) ";
    if (detect)
        readResult += "(used UTF-8 detection) ";
    readResult += "to " + std::to_string(out.text.Size()) + " wide chars ";
    return true;
}

}  // namespace

DocumentText ReadDocumentText(const std::string& path)
{
    DocumentText out;
    ReadOnlyFile file(path);
    std::uint64_t length = 0;
    if (!file.IsOpen() || !file.Length(length)) {
        out.resultText = ErrorText(file.Error());
        return out;
    }

    // The first bytes: byte-order mark and declared encoding.
    std::string prefix(static_cast<std::size_t>(std::min<std::uint64_t>(length, kPrefixBytes)), '\0');
    std::size_t got = 0;
    if (!file.ReadAt(0, prefix.data(), prefix.size(), got)) {
        out.resultText = ErrorText(file.Error());
        return out;
    }
    if (got < prefix.size()) {
        prefix.resize(got);
        length = got;  // the file shrank meanwhile
    }

    const ByteOrderMarkMatch mark = DetectByteOrderMark(prefix);
    out.mark = mark.mark;
    std::string encodingName(mark.name);
    if (mark.mark == ByteOrderMark::None) {
        encodingName = Utf16ToUtf8(FindDeclaredEncoding(Utf8ToUtf16(prefix)));
        if (encodingName.empty() && !prefix.empty() && prefix[0] == '<')
            encodingName = "UTF-8";
    }
    std::string openResult;
    if (!encodingName.empty())
        openResult = encodingName + (mark.length > 0 ? " BOM + " : " ");

    const std::uint64_t remaining = length - mark.length;
    const bool utf16 = mark.mark == ByteOrderMark::Utf16Le || mark.mark == ByteOrderMark::Utf16Be;
    if (remaining / (utf16 ? 2 : 1) > kMaxUnits) {
        out.resultText = "File too large";
        return out;
    }
    std::string readResult;
    if (remaining == 0) {
        readResult = "0 length ";
    } else if (utf16) {
        if (!ReadUtf16(file, prefix, mark.length, remaining, mark.mark == ByteOrderMark::Utf16Be, out, readResult)) {
            out.text.Clear();
            out.resultText = ErrorText(file.Error());
            return out;
        }
    } else {
        // Drop the mark from the prefix so that it holds document bytes only.
        const std::string body = prefix.substr(mark.length);
        if (!Read8Bit(file, mark.length, body, remaining, encodingName, out, readResult)) {
            out.text.Clear();
            out.resultText = ErrorText(file.Error());
            return out;
        }
    }
    out.text.ShrinkToFit();

    if (!openResult.empty()) {
        out.resultText = openResult;
    } else {
        out.resultText = encodingName.empty() ? "ANSI " : encodingName + " ";
    }
    out.resultText += readResult;
    out.read = true;
    return out;
}

}  // namespace quillon
