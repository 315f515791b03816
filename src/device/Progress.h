#pragma once
#include "device/TransferProgress.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QTimer;

namespace quillon {

// The image transfer's progress, looked at once a second.  It closes itself
// (Accepted) when the transfer is done and gives up (Rejected) when the
// device stops sending; ProgressWatch decides which.
class CProgress : public QDialog {
    Q_OBJECT
public:
    CProgress(const TransferProgress& progress, QWidget* parent = nullptr);

    // Tests shorten the tick.
    void SetTickInterval(int milliseconds);

    int exec() override;

private:
    void OnTick();

    const TransferProgress& progress_;
    ProgressWatch watch_;
    QProgressBar* bar_;
    QLabel* text_;
    QTimer* timer_;
};

}  // namespace quillon
