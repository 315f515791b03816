#include "device/CaptureDialogs.h"

#include "device/PicSizeDlg.h"
#include "device/Progress.h"
#include "device/ReadToolsVer.h"

namespace quillon {

void QtCaptureDialogs::ShowVersion(const std::vector<VersionField>& fields)
{
    CReadToolsVer dialog(parent_);
    dialog.SetFields(fields);
    dialog.exec();
}

std::optional<ImageSize> QtCaptureDialogs::AskImageSize(int width, int height)
{
    CPicSizeDlg dialog(prompt_, parent_);
    return dialog.Ask(width, height);
}

bool QtCaptureDialogs::RunProgress(const TransferProgress& progress)
{
    CProgress dialog(progress, parent_);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace quillon
