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

// The same file written record by record as the records arrive, so that an
// end of any kind (a signal, a lost port, a crash) keeps every record that
// came before it.  Each record goes to the system as it is appended.
class DecodedRecordWriter {
public:
    DecodedRecordWriter() = default;
    ~DecodedRecordWriter();
    DecodedRecordWriter(const DecodedRecordWriter&) = delete;
    DecodedRecordWriter& operator=(const DecodedRecordWriter&) = delete;

    // Opens the file, creating it when there is none (a terminal or pipe is
    // written where it stands), so that a path that cannot be written is
    // known at once; what it held stays until Begin.  Empty, or why not.
    std::string Open(const std::string& path);
    // A descriptor someone else opened (standard output).
    void Attach(int fd) { fd_ = fd; }
    // Empties the file and writes the byte-order mark: empty, or why not.
    std::string Begin();
    // Closes a file that was never begun, removing it when Open made it.
    void Abandon();
    // One record and its line end: empty, or why not.  A record that could
    // not be written whole is cut off again, so the file ends on a record.
    std::string Append(const std::string& utf8Text);
    // Empty, or why the last bytes did not reach the file.
    std::string Close();

private:
    std::string Put(const std::string& bytes);

    int fd_ = -1;
    bool owned_ = false;
    std::string created_;  // the path, when Open made the file
    long long whole_ = 0;  // bytes up to the end of the last whole record
};

}  // namespace quillon
