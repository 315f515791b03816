#include "app/MainFrame.h"

#include "app/AboutDialog.h"
#include "app/ConfigLocation.h"
#include "app/FormViewOptions.h"
#include "app/HelpGuide.h"
#include "app/InfoBarLayout.h"
#include "app/LockIndicators.h"
#include "app/ProductInfo.h"
#include "app/ProfileMenu.h"
#include "app/QtPrompt.h"
#include "app/ToolbarIcons.h"
#include "app/TraceMenu.h"
#include "app/WndInfoFrm.h"
#include "base/QtText.h"
#include "base/SavePathStore.h"
#include "catalogue/FormTree.h"
#include "device/QtDeviceTimers.h"
#include "device/RestingReplyRoute.h"
#include "dialogs/QtParameterDialogRunner.h"
#include "document/QuillonDoc.h"
#include "serial/CnComm.h"
#include "serial/DevicePort.h"
#include "serial/PortWatch.h"
#include "serial/QtCommNotifier.h"
#include "serial/ReconnectButton.h"
#include "serial/RsParaSet.h"
#include "tools/ComDebugDlg.h"
#include "views/RightView.h"
#include "views/RightViewDown.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>

#include <ranges>

namespace quillon {

namespace {

// The caption without its mnemonic and shortcut label, for tooltips.
QString ToolTipText(std::string_view caption)
{
    QString text = Tr(caption);
    text = text.left(text.indexOf('\t'));
    const int mnemonic = text.indexOf(QStringLiteral("(&"));
    if (mnemonic >= 0)
        text = text.left(mnemonic);
    text.remove(QStringLiteral("..."));
    text.remove(QLatin1Char('&'));  // an English caption marks its key inside a word
    return text;
}

// A scroll area draws its content in its viewport: repainting the area
// alone redraws only its frame and leaves the old content on the screen.
void Repaint(QWidget* pane)
{
    if (auto* area = qobject_cast<QAbstractScrollArea*>(pane))
        area->viewport()->update();
    else
        pane->update();
}

bool OpenWithDesktop(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace

CMainFrame::CMainFrame(CQuillonDoc& doc, MainFrameParts parts, QWidget* parent)
    : QMainWindow(parent),
      doc_(doc),
      parts_(std::move(parts)),
      comm_(std::make_unique<CnComm>())
{
    if (parts_.prompt) {
        prompt_ = parts_.prompt;
    } else {
        ownedPrompt_ = std::make_unique<QtPrompt>(this);
        prompt_ = ownedPrompt_.get();
    }
    if (!parts_.dialogs) {
        ownedDialogs_ = std::make_unique<QtParameterDialogRunner>(this, *prompt_);
        parts_.dialogs = ownedDialogs_.get();
    }
    if (!parts_.document)
        parts_.document = &doc_;
    if (!parts_.device)
        parts_.device = this;
    if (parts_.savePaths) {
        savePaths_ = parts_.savePaths;
    } else {
        ownedSavePaths_ = std::make_unique<SavePathStore>();
        savePaths_ = ownedSavePaths_.get();
    }
    openDocument_ = parts_.openDocument ? parts_.openDocument : OpenWithDesktop;
    if (!parts_.chooseSaveFile)
        parts_.chooseSaveFile = QtSaveFileChooser(this);
    if (!parts_.chooseOpenFile)
        parts_.chooseOpenFile = QtOpenFileChooser(this);
    if (!parts_.captureDialogs) {
        ownedCaptureDialogs_ = std::make_unique<QtCaptureDialogs>(*prompt_, this);
        parts_.captureDialogs = ownedCaptureDialogs_.get();
    }
    doc_.SetPrompt(prompt_);

    setWindowTitle(Q(MainWindowTitle()));
    resize(1200, 800);
    CreatePanes();
    CreateDeviceLink();
    CreateActions();
    CreateToolBars();
    CreateStatusBar();
    CreatePortWatch();
    setWindowIcon(WindowIcon());
    savePaths_->EnsureCreated();
    CreateProfileMenu();
    CreateMenus();
    UpdateCommandStates();
}

CMainFrame::~CMainFrame()
{
    doc_.SetPrompt(nullptr);
}

void CMainFrame::CreatePanes()
{
    const int W = width();
    const int H = height();
    outer_ = new QSplitter(Qt::Horizontal, this);
    outer_->setObjectName("outerSplitter");
    // --catalogue FILE, else the one config.ini names, read when the tree loads.
    auto catalogue = [this] { return parts_.catalogue.empty() ? NamedCatalogue(parts_.configPath) : parts_.catalogue; };
    CFormTree::Services services{*this,          *prompt_,     *parts_.dialogs, *parts_.document,
                                 *parts_.device, parts_.clock, catalogue};
    form_ = new CFormTree(doc_.catalogue, services, outer_);
    form_->setObjectName("formTree");
    inner_ = new QSplitter(Qt::Vertical, outer_);
    inner_->setObjectName("innerSplitter");
    viewOptions_ = std::make_unique<FormViewOptions>(*this, *form_);
    documentView_ = new CRightView(doc_, *viewOptions_, inner_);
    documentView_->setObjectName("documentPane");
    upperPane_ = documentView_;
    monitorView_ = new CRightViewDown(
        doc_, [this] { return CurrentView(); }, [this] { return form_->SendToDeviceChecked(); },
        [this] { OnImageSave(); }, inner_);
    monitorView_->setObjectName("monitorPane");
    lowerPane_ = monitorView_;
    outer_->addWidget(form_);
    outer_->addWidget(inner_);
    outer_->setSizes({3 * W / 10, 7 * W / 10});
    inner_->setSizes({2 * H / 3, H / 3});
    outer_->setStretchFactor(1, 1);
    setCentralWidget(outer_);
    inner_->installEventFilter(this);
    splittersReady_ = true;
}

void CMainFrame::CreateDeviceLink()
{
    timers_ = new QtDeviceTimers([this](DeviceTimer timer) { session_->OnTimer(timer); }, this);
    session_ =
        std::make_unique<DeviceSession>(DeviceSession::Parts{doc_, *comm_, form_->Tree(), *timers_, *this, *prompt_});
    capture_ = std::make_unique<DeviceCapture>(doc_, session_->Frames(), session_->Dispatcher(), session_->Link(),
                                               static_cast<ICaptureHost&>(*this));
    extraction_ = std::make_unique<ImageExtraction>(*capture_, *parts_.captureDialogs, *prompt_,
                                                    static_cast<IImageExtractionHost&>(*this));
    interaction_ = std::make_unique<CommandInteraction>(*session_);
    // The channel's notifications arrive on its worker and are handled here,
    // on the window's thread.
    notifier_ = new QtCommNotifier(this);
    connect(notifier_, &QtCommNotifier::notified, this,
            [this](unsigned message, int port, long argument) { OnCommNotified(message, port, argument); });
    comm_->SetNotificationSink(notifier_);
}

void CMainFrame::OnCommNotified(unsigned message, int port, long argument)
{
    if (message == kNotifyReceived)
        session_->OnDeviceData(port);
    else if (message == kNotifyLineQuiet)
        session_->Dispatcher().OnLineQuiet(port, static_cast<std::uint64_t>(argument));
    else if (message == kNotifyPortFailure && port == doc_.portNumber) {
        DisconnectLostPort();
        // Unplugged, or a failure of a device that stays: the watch tells.
        portWatch_->Recheck();
    }
}

void CMainFrame::CreatePortWatch()
{
    if (!parts_.hotplugClock)
        parts_.hotplugClock = &HotplugRules::Clock::now;
    portWatch_ = new PortWatch(this, parts_.hotplugClock);
    portWatch_->setObjectName("portWatch");
    connect(portWatch_, &PortWatch::portVanished, this, &CMainFrame::OnPortVanished);
    connect(portWatch_, &PortWatch::portReturned, this, &CMainFrame::OnPortReturned);

    // The offer's minute is measured on the watch's clock.
    reconnectButton_ = new ReconnectButton(parts_.hotplugClock, statusBar());
    statusBar()->addPermanentWidget(reconnectButton_);
    connect(reconnectButton_, &ReconnectButton::reconnect, this, &CMainFrame::OnReconnect);
}

void CMainFrame::DisconnectLostPort()
{
    portLost_ = true;
    session_->OnPortFailure();
    portLost_ = false;
}

void CMainFrame::OnPortVanished(int port)
{
    // A device can go without the channel noticing, when nothing was being
    // read or written at the time.
    if (doc_.portNumber == port)
        DisconnectLostPort();
    reconnectButton_->Withdraw();
    ShowStatus(ReconnectOffer::UnpluggedText(port));
}

void CMainFrame::OnPortReturned(int port)
{
    if (doc_.portNumber > 0)
        return;  // the operator has connected meanwhile
    reconnectButton_->Offer(port);
    ShowStatus(ReconnectOffer::ReturnedText(port));
}

// The connect command without its dialog: the port and speed of the lost
// connection, then the probe and the read-back.
void CMainFrame::OnReconnect(int port)
{
    if (doc_.portNumber > 0)
        return;
    doc_.portNumber = port;
    if (!OpenDevicePort(*comm_, doc_.portNumber, doc_.baudRate)) {
        doc_.portNumber = 0;
        prompt_->ShowError(PortOpenFailedText(*comm_));
        return;
    }
    session_->BeginConnect();
}

void CMainFrame::SendSettingFrame(int recordIndex, const ValueTriple& value)
{
    session_->SendSettingFrame(recordIndex, value);
}

void CMainFrame::ShowOnline(int portNumber)
{
    infoBar_->SetConnected(portNumber);
    // Replaces what was said of the port before, such as its return.
    ShowStatus(ReconnectOffer::ConnectedText(portNumber));
    reconnectButton_->Withdraw();
    portWatch_->Connected(portNumber);
}

void CMainFrame::ShowOffline()
{
    // Refused or failed links are not watched: only a lost port may return.
    if (!portLost_)
        portWatch_->Disconnected();
    infoBar_->Reset();
    form_->SetSendToDeviceChecked(false);
    form_->LoadCatalogue();
    // An image under way is abandoned: its progress dialog closes.
    capture_->AbandonImage();
    // The monitor view keeps its boxes, so capture goes on after a
    // reconnect; only the configuration view's rows follow the cleared box.
    if (CurrentView() == ViewMode::Configuration)
        LayoutPanes();
}

void CMainFrame::ShowStatus(const std::string& text)
{
    statusBar()->showMessage(Tr(text));
}

ReplyRoute CMainFrame::RestingRoute() const
{
    return RestingReplyRoute(
        {CurrentView(), form_->SendToDeviceChecked(), form_->DecodeOutputChecked(), form_->ImageExtractChecked()});
}

void CMainFrame::RestingRouteChanged()
{
    session_->Link().RestingChanged();
}

void CMainFrame::CreateActions()
{
    for (const CommandInfo& command : Commands()) {
        auto* action = new QAction(Tr(command.caption), this);
        action->setObjectName(QString::number(static_cast<int>(command.id)));
        action->setToolTip(ToolTipText(command.caption));
        action->setStatusTip(ToolTipText(command.caption));
        const QIcon icon = ToolbarIcon(command.id);
        if (!icon.isNull())
            action->setIcon(icon);
        const CommandId id = command.id;
        connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
        actions_[id] = action;
    }
    for (QAction* action : actions_ | std::views::values)
        addAction(action);
    // One action per key, so that a key shared by two commands runs the one
    // the current view enables (the captions show the keys as labels).
    for (const std::string_view key : CommandKeys()) {
        auto* keyAction = new QAction(this);
        keyAction->setObjectName(QStringLiteral("key ") + Q(key));
        keyAction->setShortcut(QKeySequence::fromString(Q(key), QKeySequence::PortableText));
        connect(keyAction, &QAction::triggered, this, [this, key] {
            if (const std::optional<CommandId> id = CommandForKey(key, viewState_))
                Execute(*id);
        });
        addAction(keyAction);
    }

    auto* nextPane = new QAction(this);
    nextPane->setShortcut(QKeySequence(Qt::Key_F6));
    connect(nextPane, &QAction::triggered, this, [this] { FocusNextPane(1); });
    auto* previousPane = new QAction(this);
    previousPane->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
    connect(previousPane, &QAction::triggered, this, [this] { FocusNextPane(-1); });
    addActions({nextPane, previousPane});
}

void CMainFrame::CreateProfileMenu()
{
    ProfileMenu::Parts parts{doc_,
                             form_->Tree(),
                             *prompt_,
                             *savePaths_,
                             parts_.chooseSaveFile,
                             parts_.chooseOpenFile,
                             [this] {
                                 documentView_->ResetGeometry();
                                 RedrawDocumentPane();
                             },
                             [this](const std::string& text) { ShowStatus(text); }};
    profileMenu_ = new ProfileMenu(std::move(parts), this);
}

void CMainFrame::CreateMenus()
{
    const auto titles = MenuTitles();
    for (int menuIndex = 0; menuIndex < static_cast<int>(titles.size()); ++menuIndex) {
        // View switching is reached through the toolbar and the tree, not the menu.
        if (menuIndex == kViewSwitchMenu)
            continue;
        QMenu* menu = menuBar()->addMenu(Tr(titles[static_cast<std::size_t>(menuIndex)]));
        for (const CommandInfo& command : Commands()) {
            if (command.menu != menuIndex)
                continue;
            if (command.id == CommandId::ClearDocument)
                menu->addSeparator();  // below the profile commands
            if (command.id == CommandId::Exit)
                profileMenu_->Attach(menu, menu->addSeparator());
            menu->addAction(actions_[command.id]);
        }
    }
}

void CMainFrame::CreateToolBars()
{
    auto* toolBar = addToolBar(Tr("工具栏"));
    toolBar->setObjectName("toolBar");
    toolBar->setIconSize(QSize(32, 32));
    toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (CommandId id : ToolbarLayout()) {
        if (id == kToolbarSeparator)
            toolBar->addSeparator();
        else
            toolBar->addAction(actions_[id]);
    }

    addToolBarBreak();
    auto* infoToolBar = addToolBar(Tr("信息栏"));
    infoToolBar->setObjectName("infoToolBar");
    infoBar_ = new CWndInfoFrm(infoToolBar);
    infoToolBar->addWidget(infoBar_);
    connect(infoBar_->formatList(), &QComboBox::currentIndexChanged, this,
            [this](int index) { doc_.decodedText.SetEncoding(static_cast<OutputEncoding>(index)); });
}

void CMainFrame::CreateStatusBar()
{
    statusBar()->showMessage(Tr("就绪"));
    lockIndicators_ = new LockIndicators(statusBar());
    traceMenu_ = new TraceMenu({statusBar(), actions_[CommandId::SaveTrace], *prompt_, parts_.chooseSaveFile}, this);
}

void CMainFrame::InitialUpdate()
{
    form_->InitialUpdate();
    FormResized();
}

bool CMainFrame::PortConfigured() const
{
    return doc_.portNumber > 0;
}

QAction* CMainFrame::Action(CommandId id) const
{
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

void CMainFrame::UpdateCommandStates()
{
    for (const auto& [id, action] : actions_)
        action->setEnabled(viewState_.IsEnabled(id));
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == inner_ && event->type() == QEvent::Resize && splittersReady_)
        LayoutPanes();
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::LayoutPanes()
{
    if (!splittersReady_)
        return;
    PaneLayoutInput input;
    input.viewMode = viewState_.CurrentView();
    input.makeBarcode = form_->MakeBarcodeChecked();
    input.sendToDevice = form_->SendToDeviceChecked();
    input.decodeOutput = form_->DecodeOutputChecked();
    input.imageExtract = form_->ImageExtractChecked();
    input.portConfigured = PortConfigured();
    // The rows share what the splitter bar leaves of the column.
    input.height = inner_->height() - inner_->handleWidth();
    const std::optional<PaneRows> rows = ComputePaneRows(input);
    if (!rows) {
        prompt_->ShowError(kNoPortText);
        // Clear the boxes that asked for the device, so the next resize does
        // not ask again.
        if (input.viewMode == ViewMode::Monitor) {
            form_->SetDecodeOutputChecked(false);
            form_->SetImageExtractChecked(false);
            RestingRouteChanged();
        } else {
            form_->SetSendToDeviceChecked(false);
        }
        return;
    }
    // As with any splitter, the last row takes what integer division leaves over.
    inner_->setSizes({rows->document, input.height - rows->document});
    RefreshRightPanes();
}

void CMainFrame::SwitchToMonitorView()
{
    if (!PortConfigured()) {
        prompt_->ShowError(kNoPortText);
        return;
    }
    if (viewState_.CurrentView() != ViewMode::Monitor)
        ShowView(ViewMode::Monitor);
}

void CMainFrame::SwitchToConfigurationView()
{
    if (viewState_.CurrentView() == ViewMode::Monitor)
        ShowView(ViewMode::Configuration);
}

// Either view starts at the top of its panes, with its own check boxes,
// resting route, commands and rows.
void CMainFrame::ShowView(ViewMode view)
{
    const bool monitor = view == ViewMode::Monitor;
    if (monitor)
        viewState_.EnterMonitorView();
    else
        viewState_.EnterConfigurationView();
    doc_.upperGeometry = ScrollGeometry{};
    doc_.lowerGeometry = ScrollGeometry{};
    documentView_->ResetGeometry();
    form_->LayoutControls();
    if (monitor)
        form_->SetDecodeOutputChecked(true);
    RestingRouteChanged();
    RefreshRightPanes();
    form_->ShowModeButtons(view);
    infoBar_->SetView(std::string(monitor ? kViewMonitor : kViewConfiguration), monitor);
    UpdateCommandStates();
    // The rows follow the view at once rather than at the next resize.
    LayoutPanes();
}

void CMainFrame::RefreshRightPanes()
{
    RedrawDocumentPane();
    RedrawMonitorPane();
}

void CMainFrame::RedrawDocumentPane()
{
    Repaint(upperPane_);
}

void CMainFrame::RedrawMonitorPane()
{
    Repaint(lowerPane_);
}

void CMainFrame::AddCustomEntry(const std::string& command, const std::string& caption)
{
    doc_.AddEntry(command, caption);
}

void CMainFrame::FormResized()
{
    // The form is resized before the right column while the splitter moves, so
    // the left width is taken from the form and the bar between the columns.
    infoBar_->PlaceViewCaption(form_->width() + outer_->handleWidth());
}

void CMainFrame::FocusNextPane(int step)
{
    QWidget* const panes[] = {form_->TreeWidget(), upperPane_, lowerPane_};
    const QWidget* focus = QApplication::focusWidget();
    int current = 0;
    for (int i = 0; i < 3; ++i) {
        if (focus && (panes[i] == focus || panes[i]->isAncestorOf(focus)))
            current = i;
    }
    panes[(current + step + 3) % 3]->setFocus(Qt::OtherFocusReason);
}

bool CMainFrame::RefuseWithoutPort()
{
    if (PortConfigured())
        return false;
    prompt_->ShowError(kNoPortText);
    return true;
}

void CMainFrame::Execute(CommandId id)
{
    if (!viewState_.IsEnabled(id))
        return;
    switch (id) {
    case CommandId::ClearDocument: OnClearDocument(); break;
    case CommandId::Print: OnPrintDocument(); break;
    case CommandId::PrintSetup: OnPrintSetup(); break;
    case CommandId::Exit: close(); break;
    case CommandId::Connect: OnConnect(); break;
    case CommandId::Disconnect: OnDisconnect(); break;
    case CommandId::ConfigurationView: SwitchToConfigurationView(); break;
    case CommandId::MonitorView: SwitchToMonitorView(); break;
    case CommandId::FirmwareDownload: OnFirmwareDownload(); break;
    case CommandId::DeviceVersion: OnDeviceVersion(); break;
    case CommandId::CommandInteraction: OnCommandInteraction(); break;
    case CommandId::Undo: OnUndo(); break;
    case CommandId::ConvertDocument: OnConvertDocument(); break;
    case CommandId::ImageExtract: OnImageExtract(); break;
    case CommandId::ImageSave: OnImageSave(); break;
    case CommandId::DecodedOutputSave: OnDecodedOutputSave(); break;
    case CommandId::Help: OnHelp(); break;
    case CommandId::About: OnAbout(); break;
    case CommandId::SaveTrace: traceMenu_->Toggle(); break;
    case CommandId::OpenProfile: profileMenu_->Open(); break;
    case CommandId::SaveProfile: profileMenu_->Save(); break;
    case CommandId::StandardPrint: OnStandardPrint(); break;
    }
}

void CMainFrame::OnClearDocument()
{
    if (!doc_.ClearDocument(viewState_.CurrentView()))
        return;
    documentView_->ResetGeometry();
    doc_.lowerGeometry = ScrollGeometry{};
    RefreshRightPanes();
}

void CMainFrame::OnUndo()
{
    if (doc_.RemoveLastEntry(viewState_.CurrentView()))
        RedrawDocumentPane();
}

void CMainFrame::OnConvertDocument()
{
    if (doc_.ConversionCommand(form_->QrCodeChecked()))
        RedrawDocumentPane();
}

void CMainFrame::OnPrintDocument()
{
    documentView_->PrintDocument(*prompt_, printer_);
}

void CMainFrame::OnStandardPrint()
{
    documentView_->PrintStandard(*prompt_, printer_);
}

void CMainFrame::OnPrintSetup()
{
    QPageSetupDialog dialog(&printer_, this);
    dialog.exec();
}

void CMainFrame::OnHelp()
{
    const std::string installed = parts_.helpGuide.empty() ? LocateInstalledGuide() : parts_.helpGuide;
    const QString guide = QString::fromStdString(ChooseHelpGuide(".", installed));
    const bool exists = QFileInfo::exists(guide);
    if (exists && openDocument_(guide))
        return;
    prompt_->ShowInfo(HelpNotOpenedText(guide.toStdString(), exists));
}

void CMainFrame::OnAbout()
{
    AboutDialog dialog(form_->CatalogueInUse(), traceMenu_->AboutText(), this);
    dialog.exec();
}

void CMainFrame::OnDeviceVersion()
{
    if (RefuseWithoutPort())
        return;
    capture_->RequestVersion();
}

void CMainFrame::VersionComplete()
{
    QTimer::singleShot(0, this, [this] { parts_.captureDialogs->ShowVersion(VersionFields(doc_.deviceInfo)); });
}

void CMainFrame::ResolutionArrived()
{
    QTimer::singleShot(0, this, [this] { StartImageExtraction(doc_.deviceInfo.width, doc_.deviceInfo.height); });
}

void CMainFrame::OnCommandInteraction()
{
    if (RefuseWithoutPort())
        return;
    CComDebugDlg dialog(*interaction_, *prompt_, this);
    dialog.setWindowIcon(ToolbarIcon(CommandId::CommandInteraction));
    dialog.exec();
}

void CMainFrame::OnImageExtract()
{
    if (RefuseWithoutPort())
        return;
    form_->SetImageExtractChecked(true);
    capture_->RequestResolution();
}

void CMainFrame::StartImageExtraction(int width, int height)
{
    if (RefuseWithoutPort())
        return;
    if (CurrentView() != ViewMode::Monitor || !form_->ImageExtractChecked())
        return;
    extraction_->Run(width, height);
}

void CMainFrame::ImageRefused(const char* message)
{
    extraction_->Refused(message);
}

bool CMainFrame::ExtractChecked() const
{
    return form_->ImageExtractChecked();
}

void CMainFrame::SetExtractChecked(bool checked)
{
    form_->SetImageExtractChecked(checked);
}

void CMainFrame::PrepareForImage()
{
    DiscardInput();
    LayoutPanes();
}

void CMainFrame::ShowErrorLater(const char* message)
{
    QTimer::singleShot(0, this, [this, message] { prompt_->ShowError(message); });
}

void CMainFrame::OnImageSave()
{
    SaveImageCommand(doc_, *savePaths_, *prompt_, parts_.chooseSaveFile);
}

void CMainFrame::OnDecodedOutputSave()
{
    SaveDecodedOutputCommand(doc_, *savePaths_, *prompt_, parts_.chooseSaveFile);
}

void CMainFrame::DiscardInput()
{
    session_->DiscardInput();
}

void CMainFrame::OnConnect()
{
    reconnectButton_->Withdraw();
    if (!portDialog_)
        portDialog_ = new CRsParaSet(doc_, *comm_, *prompt_, this);
    const bool accepted = portDialog_->exec() == QDialog::Accepted;
    // A failed open closed the port the link had: the window goes offline.
    if (!comm_->IsOpen())
        session_->Disconnect();
    else if (accepted && doc_.portNumber > 0)
        session_->BeginConnect();
}

void CMainFrame::OnDisconnect()
{
    reconnectButton_->Withdraw();
    portWatch_->Disconnected();
    session_->Disconnect();
}

void CMainFrame::OnFirmwareDownload()
{
    session_->RunWithPortClosed([this] {
        if (firmwareDownload_)
            firmwareDownload_();
    });
}

void CMainFrame::ShutdownSerialChannel()
{
    comm_->Shutdown();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (doc_.portNumber > 0) {
        ShutdownSerialChannel();
        doc_.portNumber = 0;
    }
    QMainWindow::closeEvent(event);
}

}  // namespace quillon
