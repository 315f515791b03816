#include "tools/FileDownLoad.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/Prompt.h"
#include "base/QtText.h"
#include "base/SavePathStore.h"
#include "serial/PortDiscovery.h"

namespace quillon {

const char* const CFileDownLoad::kFileFilter = "CI Files(*.ci);;DSP LDR Files (*.ldr);;All Files (*.*)";

// Hands the worker's reports to the dialog's thread.  The dialog is the
// context of each queued call, so a call still queued when it is gone is
// dropped instead of reaching a destroyed widget.
class CFileDownLoad::Relay : public IDownloadObserver {
public:
    explicit Relay(CFileDownLoad* dialog) : dialog_(dialog) {}

    void OnProgress(int percent) override
    {
        QMetaObject::invokeMethod(
            dialog_, [d = dialog_, percent] { d->ShowProgress(percent); }, Qt::QueuedConnection);
    }
    void OnFinished(const DownloadOutcome& outcome)
    {
        QMetaObject::invokeMethod(
            dialog_, [d = dialog_, outcome] { d->ShowOutcome(outcome); }, Qt::QueuedConnection);
    }

private:
    CFileDownLoad* dialog_;
};

FileDownLoadHooks FileDownLoadHooks::Defaults()
{
    FileDownLoadHooks hooks;
    hooks.listPorts = ListPortNames;
    hooks.chooseFile = [](QWidget* parent, const QString& startPath, const QString& filter) {
        return QFileDialog::getOpenFileName(parent, QString(), startPath, filter);
    };
    return hooks;
}

CFileDownLoad::CFileDownLoad(IPrompt& prompt, SavePathStore& savePaths, QWidget* parent, FileDownLoadHooks hooks)
    : QDialog(parent),
      prompt_(prompt),
      savePaths_(savePaths),
      hooks_(std::move(hooks)),
      relay_(std::make_unique<Relay>(this))
{
    setWindowTitle(Tr("固件下载"));

    const auto named = [](QWidget* widget, const char* name) {
        widget->setObjectName(name);
        return widget;
    };
    start_ = new QPushButton(Tr("开始"), this);
    close_ = new QPushButton(Tr("取消"), this);
    auto* choose = new QPushButton(Tr("选择文件"), this);
    path_ = new QLabel(this);
    progress_ = new QProgressBar(this);
    port_ = new QComboBox(this);
    progressText_ = new QLabel(this);
    erase_ = new QCheckBox(Tr("设备配置擦除"), this);
    repair_ = new QCheckBox(Tr("固件修复升级"), this);
    named(start_, "start");
    named(close_, "close");
    named(choose, "chooseFile");
    named(path_, "path");
    named(progress_, "progress");
    named(port_, "port");
    named(progressText_, "progressText");
    named(erase_, "erase");
    named(repair_, "repair");

    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    port_->setEditable(true);
    port_->setInsertPolicy(QComboBox::NoInsert);
    for (const auto& name : hooks_.listPorts())
        port_->addItem(Q(name));
    port_->setCurrentIndex(port_->count() > 0 ? 0 : -1);
    erase_->setChecked(false);
    path_->setMinimumWidth(320);
    path_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(Tr("端口选择："), this), 0, 0);
    grid->addWidget(port_, 0, 1);
    grid->addWidget(erase_, 0, 2);
    grid->addWidget(repair_, 0, 3);
    grid->addWidget(choose, 1, 0);
    grid->addWidget(path_, 1, 1, 1, 3);
    grid->addWidget(progress_, 2, 0, 1, 3);
    grid->addWidget(progressText_, 2, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(start_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(choose, &QPushButton::clicked, this, &CFileDownLoad::OnChooseFile);
    connect(start_, &QPushButton::clicked, this, &CFileDownLoad::OnStart);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
}

CFileDownLoad::~CFileDownLoad()
{
    worker_.Cancel();
}

void CFileDownLoad::done(int result)
{
    // The port must be closed before the window takes its channel back.
    worker_.Cancel();
    QDialog::done(result);
}

void CFileDownLoad::OnChooseFile()
{
    const QString chosen =
        hooks_.chooseFile(this, savePaths_.StartPath(SavePathStore::kFirmwarePath), QString::fromLatin1(kFileFilter));
    if (chosen.isEmpty())
        return;
    filePath_ = chosen;
    savePaths_.Write(SavePathStore::kFirmwarePath, filePath_);
    path_->setText(filePath_);
}

void CFileDownLoad::OnStart()
{
    DownloadRequest request{port_->currentText().toStdString(),
                            filePath_.toStdString(),
                            {erase_->isChecked(), repair_->isChecked(), hooks_.settleMs},
                            hooks_.timeouts};
    Relay* relay = relay_.get();
    if (!worker_.Start(std::move(request), *relay,
                       [relay](const DownloadOutcome& outcome) { relay->OnFinished(outcome); }))
        return;
    start_->setEnabled(false);
    close_->setText(Tr("取消"));
    progress_->setValue(0);
    progressText_->clear();
}

void CFileDownLoad::ShowProgress(int percent)
{
    progress_->setValue(percent);
    progressText_->setText(QString::number(percent) + '%');
}

void CFileDownLoad::ShowOutcome(const DownloadOutcome& outcome)
{
    const OutcomeText text = DescribeOutcome(outcome);
    if (Succeeded(outcome.result)) {
        progress_->setValue(100);
        close_->setText(Tr("关闭"));
    }
    if (text.shown == OutcomeShown::Label)
        progressText_->setText(Tr(text.text));
    start_->setEnabled(true);
    if (text.shown == OutcomeShown::MessageBox)
        prompt_.ShowError(text.text);
}

void RunFirmwareDownloadDialog(QWidget* parent, IPrompt& prompt, SavePathStore& savePaths)
{
    CFileDownLoad dialog(prompt, savePaths, parent);
    dialog.exec();
}

}  // namespace quillon
