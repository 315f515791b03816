#pragma once
#include <QDialog>
#include <QString>

#include <functional>
#include <string>
#include <vector>

#include "tools/FirmwareDownload.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace quillon {

class IPrompt;
class SavePathStore;

// What the download dialog reaches the world through; tests replace the
// file dialog and shorten the waits.
struct FileDownLoadHooks {
    std::function<std::vector<std::string>()> listPorts;
    // Returns the chosen file, empty when cancelled.
    std::function<QString(QWidget* parent, const QString& startPath, const QString& filter)> chooseFile;
    CommTimeouts timeouts = LoaderTimeouts();
    int settleMs = LoaderOptions{}.settleMs;

    static FileDownLoadHooks Defaults();
};

// The firmware download dialog ("固件下载").  The transfer runs on a
// CFirmwareWorker that opens the port itself; its progress and outcome come
// back as queued calls, so the worker never touches a widget.  Closing the
// dialog cancels a running transfer and waits for its port to be closed.
class CFileDownLoad : public QDialog {
    Q_OBJECT
public:
    static const char* const kFileFilter;

    CFileDownLoad(IPrompt& prompt, SavePathStore& savePaths, QWidget* parent = nullptr,
                  FileDownLoadHooks hooks = FileDownLoadHooks::Defaults());
    ~CFileDownLoad() override;

    void done(int result) override;

private:
    class Relay;

    void OnChooseFile();
    void OnStart();
    void ShowProgress(int percent);
    void ShowOutcome(const DownloadOutcome& outcome);

    IPrompt& prompt_;
    SavePathStore& savePaths_;
    FileDownLoadHooks hooks_;
    QString filePath_;
    std::unique_ptr<Relay> relay_;
    CFirmwareWorker worker_;

    QPushButton* start_;
    QPushButton* close_;
    QLabel* path_;
    QProgressBar* progress_;
    QComboBox* port_;
    QLabel* progressText_;
    QCheckBox* erase_;
    QCheckBox* repair_;
};

// The window's "固件下载" command: shows a new download dialog modally.
// The caller closes its own channel before and reopens it after, since the
// dialog opens the port for itself.
void RunFirmwareDownloadDialog(QWidget* parent, IPrompt& prompt, SavePathStore& savePaths);

}  // namespace quillon
