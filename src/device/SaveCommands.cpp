#include "device/SaveCommands.h"

#include "base/Prompt.h"
#include "base/SavePathStore.h"
#include "device/DecodedOutputFile.h"
#include "device/KlsBmpFile.h"
#include "device/SaveFileName.h"
#include "document/QuillonDoc.h"

#include <QFileDialog>

namespace quillon {

namespace {

// The chosen path, remembered for next time, with the extension added; empty on Cancel.
std::string ChoosePath(SavePathStore& paths, const char* key, const QString& filter, const char* extension,
                       const SaveFileChooser& choose)
{
    const QString chosen = choose(paths.StartPath(key), filter);
    if (chosen.isEmpty())
        return {};
    paths.Write(key, chosen);
    return WithExtension(chosen.toStdString(), extension);
}

}  // namespace

SaveFileChooser QtSaveFileChooser(QWidget* parent)
{
    return [parent](const QString& start, const QString& filter) {
        return QFileDialog::getSaveFileName(parent, QString(), start, filter);
    };
}

OpenFileChooser QtOpenFileChooser(QWidget* parent)
{
    return [parent](const QString& start, const QString& filter) {
        return QFileDialog::getOpenFileName(parent, QString(), start, filter);
    };
}

bool SaveImageCommand(const CQuillonDoc& doc, SavePathStore& paths, IPrompt& prompt, const SaveFileChooser& choose)
{
    CKlsBmpFile bmp;
    const DeviceImage& image = doc.image;
    if (!image.Present() || !bmp.Build(image.pixels.data(), image.pixels.size(), image.width, image.height)) {
        prompt.ShowError(kNoImageText);
        return false;
    }
    const std::string path = ChoosePath(paths, SavePathStore::kImagePath,
                                        QStringLiteral("Bmp Files (*bmp);;All Files (*.*)"), ".bmp", choose);
    if (path.empty())
        return false;
    if (bmp.Save(path) != 1) {
        prompt.ShowError(kImageFileFailedText);
        return false;
    }
    return true;
}

bool SaveDecodedOutputCommand(const CQuillonDoc& doc, SavePathStore& paths, IPrompt& prompt,
                              const SaveFileChooser& choose)
{
    if (doc.decodedLines.empty()) {
        prompt.ShowError(kNoDecodedOutputText);
        return false;
    }
    const std::string path = ChoosePath(paths, SavePathStore::kDecodedOutputPath,
                                        QStringLiteral("Txt Files (*txt);;All Files (*.*)"), ".txt", choose);
    if (path.empty())
        return false;
    if (const char* message = DecodedSaveMessage(SaveDecodedOutput(path, doc.decodedLines))) {
        prompt.ShowError(message);
        return false;
    }
    return true;
}

}  // namespace quillon
