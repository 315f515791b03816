#pragma once
#include "app/CommandTable.h"
#include "app/ConfigFile.h"
#include "app/PaneLayout.h"
#include "catalogue/CustomCodeGesture.h"
#include "catalogue/FormHost.h"
#include "catalogue/SelectionTargets.h"
#include "device/CaptureDialogs.h"
#include "device/DeviceCapture.h"
#include "device/DeviceSession.h"
#include "device/SaveCommands.h"
#include "serial/HotplugRules.h"

#include <QMainWindow>
#include <QPrinter>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QSplitter;

namespace quillon {

class CFormTree;
class CRightView;
class CRightViewDown;
class QtCommNotifier;
class QtDeviceTimers;
class FormViewOptions;
class CnComm;
class CommandInteraction;
class CRsParaSet;
class PortWatch;
class ReconnectButton;
class CQuillonDoc;
class CWndInfoFrm;
class LockIndicators;
class ProfileMenu;
class IConfigurationTarget;
class IParameterDialogRunner;
class IPrompt;
class ISettingSender;
class SavePathStore;
class TraceMenu;

// What the window works with; anything left empty is the real thing
// (Qt message boxes, the parameter dialogs, the document, the per-user
// saved-paths store, the desktop's "open").
struct MainFrameParts {
    IPrompt* prompt = nullptr;
    IParameterDialogRunner* dialogs = nullptr;
    IConfigurationTarget* document = nullptr;
    // Where settings chosen online go; empty: the device link.
    ISettingSender* device = nullptr;
    SavePathStore* savePaths = nullptr;
    CustomCodeGesture::Clock clock;
    // Opens a file with the desktop's viewer; false when nothing could.
    std::function<bool(const QString& path)> openDocument;
    std::string helpGuide;  // empty: the guide installed with the program
    SaveFileChooser chooseSaveFile;
    OpenFileChooser chooseOpenFile;
    std::string configPath = kDefaultConfigFile;
    std::string catalogue;  // --catalogue: loaded instead of the one configPath names
    // The version, image-size and progress dialogs.
    ICaptureDialogs* captureDialogs = nullptr;
    // When devices are unplugged and come back; empty: the steady clock.
    std::function<HotplugRules::Clock::time_point()> hotplugClock;
};

// The single main window: catalogue tree on the left, document view upper
// right, monitor pane lower right, with toolbar, information bar and status
// bar.  It switches between the configuration and the monitor view, splits
// the right column from the view and the form's check boxes, and carries the
// menu commands to their handlers.
class CMainFrame : public QMainWindow,
                   public IFormHost,
                   private ISettingSender,
                   private IDeviceHost,
                   private ICaptureHost,
                   private IImageExtractionHost {
    Q_OBJECT
public:
    explicit CMainFrame(CQuillonDoc& doc, MainFrameParts parts = {}, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The views' first update: the form loads the catalogue and the panes are laid out.
    void InitialUpdate();

    // IFormHost
    ViewMode CurrentView() const override { return viewState_.CurrentView(); }
    bool PortConfigured() const override;
    void LayoutPanes() override;
    void SwitchToConfigurationView() override;
    void DiscardInput() override;
    void RestingRouteChanged() override;
    void RedrawDocumentPane() override;
    void RedrawMonitorPane() override;
    void AddCustomEntry(const std::string& command, const std::string& caption) override;
    void StartImageExtraction(int width, int height) override;
    void FormResized() override;

    void SwitchToMonitorView();
    void Execute(CommandId id);

    // The firmware download dialog, run while the channel is closed.
    void SetFirmwareDownload(std::function<void()> run) { firmwareDownload_ = std::move(run); }

    DeviceSession& Session() { return *session_; }
    CnComm& Comm() { return *comm_; }
    CRightViewDown* SerialMonitorPane() const { return monitorView_; }

    QAction* Action(CommandId id) const;
    CFormTree* Form() const { return form_; }
    CWndInfoFrm* InfoBar() const { return infoBar_; }
    QSplitter* OuterSplitter() const { return outer_; }
    QSplitter* InnerSplitter() const { return inner_; }
    QWidget* DocumentPane() const { return upperPane_; }
    QWidget* MonitorPane() const { return lowerPane_; }
    IPrompt& Prompt() const { return *prompt_; }
    TraceMenu& Trace() const { return *traceMenu_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // ISettingSender: the tree's online writes.
    void SendSettingFrame(int recordIndex, const ValueTriple& value) override;
    // IDeviceHost
    void ShowOnline(int portNumber) override;
    void ShowOffline() override;
    void ShowStatus(const std::string& text) override;
    ReplyRoute RestingRoute() const override;
    void MonitorChanged() override { RedrawMonitorPane(); }
    // ICaptureHost: called inside the reply dispatch, so the dialogs run
    // from the event loop afterwards.
    void VersionComplete() override;
    void ResolutionArrived() override;
    void ImageArrived() override { RedrawMonitorPane(); }
    void ImageRefused(const char* message) override;
    void DecodedCaptured() override { RedrawDocumentPane(); }
    // IImageExtractionHost
    bool ExtractChecked() const override;
    void SetExtractChecked(bool checked) override;
    void PrepareForImage() override;
    void ExtractionEnded() override { RestingRouteChanged(); }
    void ShowErrorLater(const char* message) override;

    void CreateDeviceLink();
    void OnCommNotified(unsigned message, int port, long argument);
    // The connected device unplugged and plugged in again.
    void CreatePortWatch();
    void DisconnectLostPort();
    void OnPortVanished(int port);
    void OnPortReturned(int port);
    void OnReconnect(int port);
    void CreatePanes();
    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    void CreateStatusBar();
    void CreateProfileMenu();
    void UpdateCommandStates();
    void ShowView(ViewMode view);
    void RefreshRightPanes();
    void FocusNextPane(int step);
    bool RefuseWithoutPort();

    void OnClearDocument();
    void OnPrintDocument();
    void OnPrintSetup();
    void OnStandardPrint();
    void OnConnect();
    void OnDisconnect();
    void OnFirmwareDownload();
    void OnDeviceVersion();
    void OnCommandInteraction();
    void OnUndo();
    void OnConvertDocument();
    void OnImageExtract();
    void OnImageSave();
    void OnDecodedOutputSave();
    void OnHelp();
    void OnAbout();
    void ShutdownSerialChannel();

    CQuillonDoc& doc_;
    LockIndicators* lockIndicators_ = nullptr;
    std::unique_ptr<IPrompt> ownedPrompt_;
    std::unique_ptr<IParameterDialogRunner> ownedDialogs_;
    std::unique_ptr<SavePathStore> ownedSavePaths_;
    std::unique_ptr<ICaptureDialogs> ownedCaptureDialogs_;
    IPrompt* prompt_;
    SavePathStore* savePaths_;
    std::function<bool(const QString&)> openDocument_;
    MainFrameParts parts_;

    ViewModeState viewState_;
    bool splittersReady_ = false;
    std::map<CommandId, QAction*> actions_;
    QPrinter printer_{QPrinter::HighResolution};

    QSplitter* outer_ = nullptr;
    QSplitter* inner_ = nullptr;
    CFormTree* form_ = nullptr;
    std::unique_ptr<FormViewOptions> viewOptions_;
    CRightView* documentView_ = nullptr;
    QWidget* upperPane_ = nullptr;
    QWidget* lowerPane_ = nullptr;
    CRightViewDown* monitorView_ = nullptr;
    CWndInfoFrm* infoBar_ = nullptr;

    std::unique_ptr<CnComm> comm_;
    CRsParaSet* portDialog_ = nullptr;  // created on first use, kept so it remembers its choices
    QtCommNotifier* notifier_ = nullptr;
    QtDeviceTimers* timers_ = nullptr;
    std::unique_ptr<DeviceSession> session_;
    std::unique_ptr<DeviceCapture> capture_;
    std::unique_ptr<CommandInteraction> interaction_;
    std::unique_ptr<ImageExtraction> extraction_;
    PortWatch* portWatch_ = nullptr;
    // Set while the link goes down because its port was lost, so that the
    // port stays watched for its return.
    bool portLost_ = false;
    ReconnectButton* reconnectButton_ = nullptr;
    std::function<void()> firmwareDownload_;
    ProfileMenu* profileMenu_ = nullptr;
    TraceMenu* traceMenu_ = nullptr;
};

}  // namespace quillon
