#pragma once
#include "device/PicSizeRules.h"

#include <QDialog>

#include <optional>

class QButtonGroup;
class QLineEdit;

namespace quillon {

class IPrompt;

// "图像提取参数设置": the size of the image to ask the device for, by one
// of six scales of what is held or by typed pixel counts.  The rules are
// PicSizeRules'; the dialog only collects the presses and the typed texts.
class CPicSizeDlg : public QDialog {
    Q_OBJECT
public:
    CPicSizeDlg(IPrompt& prompt, QWidget* parent = nullptr);

    // Opens with "原始比例" chosen, both fields empty and read-only, holding
    // width x height; the size chosen, or nothing on Cancel.
    std::optional<ImageSize> Ask(int width, int height);
    // The same state without running the dialog (tests drive it themselves).
    void Prepare(int width, int height);
    ImageSize Held() const { return {rules_.Width(), rules_.Height()}; }

    void accept() override;

private:
    void OnScale(int id);
    void SetFieldsWritable(bool writable);

    IPrompt& prompt_;
    PicSizeRules rules_{0, 0};
    QButtonGroup* buttons_;
    QLineEdit* width_;
    QLineEdit* height_;
};

}  // namespace quillon
