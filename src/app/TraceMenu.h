#pragma once
#include "device/SaveCommands.h"
#include "serial/ProgramTrace.h"

#include <QObject>

#include <string>

class QAction;
class QLabel;
class QStatusBar;

namespace quillon {

class IPrompt;

inline constexpr const char* kTraceRecordingText = "正在保存通信记录：";
inline constexpr const char* kTraceSavedText = "通信记录已保存：";
inline constexpr const char* kTraceFailedText = "无法保存通信记录：";
inline constexpr const char* kTraceStoppedText = "通信记录已停止：";

// Help > "保存通信记录…": starts a wire trace of the window's session into a
// file the operator chooses and stops it again; the status bar says where
// it records while it does.  Started from --trace or $QUILLON_TRACE too.
class TraceMenu : public QObject {
public:
    struct Parts {
        QStatusBar* statusBar;
        QAction* action;  // checked while recording
        IPrompt& prompt;
        SaveFileChooser chooseSave;
    };
    TraceMenu(Parts parts, QObject* parent);

    // The menu command: asks for a file and starts, or stops.
    void Toggle();
    // A refused file is told in a message box; false then.
    bool Start(const std::string& path);
    void Stop();
    bool Recording() const { return trace_.Recording(); }
    // For the about box: the file being written, or how to record one.
    std::string AboutText() const;

private:
    void ShowState();
    void Failed(const std::string& message);

    Parts parts_;
    ProgramTrace trace_;
    QLabel* label_;
};

}  // namespace quillon
