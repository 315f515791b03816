#include "device/DecodedOutputFile.h"

#include "catalogue/Utf.h"

#include <cstdio>

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
