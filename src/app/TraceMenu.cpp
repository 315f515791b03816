#include "app/TraceMenu.h"

#include "base/Prompt.h"
#include "base/QtText.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMetaObject>
#include <QStatusBar>

namespace quillon {

TraceMenu::TraceMenu(Parts parts, QObject* parent)
    : QObject(parent),
      parts_(std::move(parts)),
      label_(new QLabel(parts_.statusBar))
{
    label_->setObjectName("traceRecording");
    parts_.statusBar->addPermanentWidget(label_);
    parts_.action->setCheckable(true);
    ShowState();
}

void TraceMenu::Toggle()
{
    if (Recording()) {
        Stop();
        return;
    }
    const QString path = parts_.chooseSave(QDir::home().filePath(QStringLiteral("quillon.trace")),
                                           Tr("通信记录 (*.trace);;所有文件 (*)"));
    if (path.isEmpty()) {
        ShowState();
        return;
    }
    Start(path.toStdString());
}

bool TraceMenu::Start(const std::string& path)
{
    // The writer reports a failing file on the thread that wrote; the
    // window hears of it on its own.
    const std::string error = trace_.Start(path, "quillon", "the window", [this](const std::string& message) {
        QMetaObject::invokeMethod(
            this, [this, message] { Failed(message); }, Qt::QueuedConnection);
    });
    if (!error.empty())
        parts_.prompt.ShowError(kTraceFailedText + error);
    ShowState();
    return error.empty();
}

void TraceMenu::Stop()
{
    if (!Recording())
        return;
    const std::string path = trace_.Path();
    trace_.Stop("the window stopped the trace");
    ShowState();
    parts_.statusBar->showMessage(Tr(kTraceSavedText) + Q(path));
}

void TraceMenu::Failed(const std::string& message)
{
    trace_.Stop();
    ShowState();
    parts_.statusBar->showMessage(Tr(kTraceStoppedText) + Tr(message));
}

void TraceMenu::ShowState()
{
    parts_.action->setChecked(Recording());
    label_->setText(Recording() ? Tr(kTraceRecordingText) + Q(trace_.Path()) : QString());
    label_->setVisible(Recording());
}

std::string TraceMenu::AboutText() const
{
    if (Recording())
        return trace_.Path();
    return "帮助 > 保存通信记录…，或 quillon --trace 文件、QUILLON_TRACE=文件";
}

}  // namespace quillon
