#pragma once
#include <QObject>

class QLabel;
class QStatusBar;

namespace quillon {

// The status bar's caps, num and scroll lock indicators: each shows its
// caption while its lock is on and stays blank otherwise.  Qt gives no lock
// state of its own, so the indicators follow the keyboard events the program
// receives: caps and num lock from the X11 modifier state carried by each key
// event (Lock and Mod2), scroll lock by counting its key presses.
class LockIndicators : public QObject {
    Q_OBJECT
public:
    static constexpr quint32 kCapsLockMask = 0x02;  // X11 LockMask
    static constexpr quint32 kNumLockMask = 0x10;   // X11 Mod2Mask

    // Adds the three indicators to the bar and watches the application's keys.
    explicit LockIndicators(QStatusBar* bar);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Show(QLabel* label, bool on);

    QLabel* caps_;
    QLabel* num_;
    QLabel* scroll_;
    bool scrollLock_ = false;
};

}  // namespace quillon
