#pragma once
#include "device/PicSizeRules.h"
#include "device/TransferProgress.h"
#include "document/DeviceInfo.h"

#include <optional>
#include <vector>

class QWidget;

namespace quillon {

class IPrompt;

// The modal dialogs of the capture commands, behind one seam so that a test
// can answer them while the window talks to a real device.
class ICaptureDialogs {
public:
    virtual ~ICaptureDialogs() = default;
    // "条码识别设备版本信息" with the fields, until closed.
    virtual void ShowVersion(const std::vector<VersionField>& fields) = 0;
    // "图像提取参数设置" holding width x height: the size chosen, or nothing
    // on Cancel.
    virtual std::optional<ImageSize> AskImageSize(int width, int height) = 0;
    // The progress dialog over a running transfer: true when it closed on a
    // finished transfer, false when it gave up.
    virtual bool RunProgress(const TransferProgress& progress) = 0;
};

// The real dialogs, parented to the window.
class QtCaptureDialogs : public ICaptureDialogs {
public:
    QtCaptureDialogs(IPrompt& prompt, QWidget* parent) : prompt_(prompt), parent_(parent) {}

    void ShowVersion(const std::vector<VersionField>& fields) override;
    std::optional<ImageSize> AskImageSize(int width, int height) override;
    bool RunProgress(const TransferProgress& progress) override;

private:
    IPrompt& prompt_;
    QWidget* parent_;
};

}  // namespace quillon
