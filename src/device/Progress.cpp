#include "device/Progress.h"

#include "base/QtText.h"

#include <QBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

namespace quillon {

CProgress::CProgress(const TransferProgress& progress, QWidget* parent)
    : QDialog(parent),
      progress_(progress),
      bar_(new QProgressBar(this)),
      text_(new QLabel(this)),
      timer_(new QTimer(this))
{
    setWindowTitle(Tr("图像提取"));
    bar_->setObjectName("bar");
    text_->setObjectName("text");
    bar_->setRange(0, 100);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar_);
    layout->addWidget(text_);
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &CProgress::OnTick);
}

void CProgress::SetTickInterval(int milliseconds)
{
    timer_->setInterval(milliseconds);
}

int CProgress::exec()
{
    watch_ = ProgressWatch{};
    bar_->setValue(0);
    text_->setText(Tr(watch_.Text()));
    timer_->start();
    const int result = QDialog::exec();
    timer_->stop();
    return result;
}

void CProgress::OnTick()
{
    switch (watch_.Tick(progress_)) {
    case ProgressWatch::Step::Close: accept(); return;
    case ProgressWatch::Step::Stalled: reject(); return;
    case ProgressWatch::Step::Show:
        bar_->setValue(watch_.Percent());
        text_->setText(Tr(watch_.Text()));
        return;
    }
}

}  // namespace quillon
