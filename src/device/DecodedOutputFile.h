#pragma once
#include "document/RsTransDataStr.h"

#include <string>
#include <vector>

namespace quillon {

inline constexpr const char* kNoDecodedOutputText = "当前文档没有解码输出数据！";
inline constexpr const char* kDecodedFileFailedText = "创建解码输出文件失败！";
inline constexpr const char* kDecodedWriteFailedText = "写入解码输出文件失败！";

// The text file of "解码保存": UTF-16LE with a byte-order mark, every record
// followed by "\r\n", flushed after each record so that what was written
// before a failure is on disk.
enum class DecodedSaveResult { Written, NotCreated, WriteFailed };
DecodedSaveResult SaveDecodedOutput(const std::string& path, const std::vector<RsTransDataStr>& lines);

// The message for a result, nullptr for Written.
const char* DecodedSaveMessage(DecodedSaveResult result);

}  // namespace quillon
