#pragma once
#include <QString>

#include <functional>

class QWidget;

namespace quillon {

class CQuillonDoc;
class IPrompt;
class SavePathStore;

inline constexpr const char* kNoImageText = "当前没有可以保存的图像数据！";
inline constexpr const char* kImageFileFailedText = "创建图像文件失败！";

// A save-file dialog: (start path, filter) -> the chosen path, empty on Cancel.
using SaveFileChooser = std::function<QString(const QString& start, const QString& filter)>;
// Qt's save-file dialog over `parent`.
SaveFileChooser QtSaveFileChooser(QWidget* parent);
// An open-file dialog, asked the same way; it returns only an existing file.
using OpenFileChooser = std::function<QString(const QString& start, const QString& filter)>;
OpenFileChooser QtOpenFileChooser(QWidget* parent);

// "图像保存": the image last taken as an 8-bit grey BMP, where the operator
// chooses (starting at the file saved last), ".bmp" added when missing.
// true when written.
bool SaveImageCommand(const CQuillonDoc& doc, SavePathStore& paths, IPrompt& prompt, const SaveFileChooser& choose);

// "解码保存": the decoded-output records as a UTF-16LE text file, ".txt"
// added when missing.  true when written.
bool SaveDecodedOutputCommand(const CQuillonDoc& doc, SavePathStore& paths, IPrompt& prompt,
                              const SaveFileChooser& choose);

}  // namespace quillon
