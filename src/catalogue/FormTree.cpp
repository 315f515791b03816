#include "catalogue/FormTree.h"

#include "base/Prompt.h"
#include "base/QtText.h"
#include "catalogue/FormHost.h"
#include "catalogue/FormTreeLayout.h"
#include "catalogue/TreeIcons.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTreeWidget>

namespace quillon {

namespace {

constexpr int kItemIdRole = Qt::UserRole + 1;

void Place(QWidget* widget, const Rect& r)
{
    widget->setGeometry(r.x, r.y, r.width, r.height);
}

// The boxes share a narrow row, so a caption that does not fit on one line
// goes on two, as the box is tall enough for that.
void PlaceCheckBox(QCheckBox* box, const Rect& r)
{
    Place(box, r);
    const QString caption = box->property("caption").toString();
    const int indicator = box->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box) + 8;
    const bool fits = box->fontMetrics().horizontalAdvance(caption) + indicator <= r.width;
    box->setText(fits ? caption : QString::fromStdString(TwoLineCaption(caption.toStdString())));
}

}  // namespace

CFormTree::CFormTree(CatalogueLists& lists, Services services, QWidget* parent)
    : QWidget(parent),
      lists_(lists),
      services_(std::move(services)),
      applier_(services_.dialogs, services_.document, services_.device, services_.clock)
{
    tree_.SetObserver(this);
    CreateControls();
}

CFormTree::~CFormTree()
{
    tree_.SetObserver(nullptr);
}

void CFormTree::CreateControls()
{
    treeWidget_ = new QTreeWidget(this);
    treeWidget_->setObjectName("tree1003");
    treeWidget_->setHeaderHidden(true);
    treeWidget_->setColumnCount(1);
    treeWidget_->setRootIsDecorated(true);
    treeWidget_->setIconSize(QSize(16, 16));
    treeWidget_->setSelectionMode(QAbstractItemView::SingleSelection);

    description_ = new QPlainTextEdit(this);
    description_->setObjectName("description1006");
    description_->setReadOnly(true);

    auto box = [this](const char* name, const char* caption) {
        auto* check = new QCheckBox(Tr(caption), this);
        check->setObjectName(name);
        check->setProperty("caption", check->text());
        return check;
    };
    makeBarcode_ = box("makeBarcode1007", "生成配置条码");
    invertColours_ = box("invertColours1009", "条码颜色反转");
    sendToDevice_ = box("sendToDevice1008", "修改设备参数");
    qrCode_ = box("qrCode1081", "生成QR配置码");
    decodeOutput_ = box("decodeOutput1020", "解码输出");
    imageExtract_ = box("imageExtract1024", "图像提取");
    decodeOutput_->hide();
    imageExtract_->hide();

    addButton_ = new QPushButton("ADD", this);
    addButton_->setObjectName("add1082");
    codeEdit_ = new QLineEdit(this);
    codeEdit_->setObjectName("code1083");
    noteEdit_ = new QLineEdit(this);
    noteEdit_->setObjectName("note1084");
    codeLabel_ = new QLabel(Tr("配置码"), this);
    codeLabel_->setObjectName("codeLabel1085");
    noteLabel_ = new QLabel(Tr("说明"), this);
    noteLabel_->setObjectName("noteLabel1086");
    for (QWidget* hidden : std::initializer_list<QWidget*>{addButton_, codeEdit_, noteEdit_, codeLabel_, noteLabel_})
        hidden->hide();

    // The selection, not the current item: a tree that gets the focus makes
    // its first item current without selecting it, and that is no choice
    // of the operator's to leave the monitor view for.
    connect(treeWidget_, &QTreeWidget::itemSelectionChanged, this, &CFormTree::OnSelectionChanged);
    connect(treeWidget_, &QTreeWidget::itemDoubleClicked, this, &CFormTree::ApplySelection);
    connect(makeBarcode_, &QCheckBox::clicked, this, &CFormTree::OnMakeBarcodeClicked);
    connect(invertColours_, &QCheckBox::clicked, this, &CFormTree::OnAppearanceClicked);
    connect(qrCode_, &QCheckBox::clicked, this, &CFormTree::OnAppearanceClicked);
    connect(sendToDevice_, &QCheckBox::clicked, this, &CFormTree::OnSendToDeviceClicked);
    connect(decodeOutput_, &QCheckBox::clicked, this, &CFormTree::OnDecodeOutputClicked);
    connect(imageExtract_, &QCheckBox::clicked, this, &CFormTree::OnImageExtractClicked);
    connect(addButton_, &QPushButton::clicked, this, &CFormTree::AddCustomCode);
}

void CFormTree::InitialUpdate()
{
    catalogue_ = services_.catalogue();
    LoadCatalogue();
    makeBarcode_->setChecked(true);
    if (services_.host.CurrentView() != ViewMode::Monitor)
        services_.host.LayoutPanes();
    initialised_ = true;
    LayoutControls();
}

int CFormTree::LoadCatalogue()
{
    CatalogueLoadHooks hooks;
    hooks.hideCustomCodeBox = [this] { codeEdit_->hide(); };
    hooks.resetCustomCodeGesture = [this] { applier_.Gesture().Reset(); };
    CatalogueLoader loader(reader_, lists_, tree_, services_.prompt, std::move(hooks));
    return loader.LoadCatalogue(catalogue_);
}

void CFormTree::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!initialised_)
        return;
    LayoutControls();
    services_.host.FormResized();
}

void CFormTree::LayoutControls()
{
    const ViewMode viewMode = services_.host.CurrentView();
    const FormTreeGeometry g = LayoutFormControls(width(), height(), viewMode);
    PlaceCheckBox(makeBarcode_, g.makeBarcode);
    PlaceCheckBox(invertColours_, g.invertColours);
    PlaceCheckBox(sendToDevice_, g.sendToDevice);
    PlaceCheckBox(qrCode_, g.qrCode);
    PlaceCheckBox(imageExtract_, g.imageExtract);
    PlaceCheckBox(decodeOutput_, g.imageExtract);
    ShowModeButtons(viewMode);
    Place(treeWidget_, g.tree);
    Place(description_, g.description);
    Place(codeLabel_, g.codeLabel);
    Place(codeEdit_, g.codeEdit);
    Place(noteLabel_, g.noteLabel);
    Place(noteEdit_, g.noteEdit);
    Place(addButton_, g.addButton);
}

void CFormTree::ShowModeButtons(ViewMode viewMode)
{
    const ModeButtonVisibility visibility = ModeButtons(viewMode);
    for (QCheckBox* box : {makeBarcode_, sendToDevice_, invertColours_, qrCode_})
        box->setVisible(visibility.configurationBoxes);
}

TreeItemId CFormTree::SelectedItem() const
{
    const QTreeWidgetItem* item = treeWidget_->currentItem();
    return item ? item->data(0, kItemIdRole).value<TreeItemId>() : kNoTreeItem;
}

void CFormTree::OnSelectionChanged()
{
    services_.host.SwitchToConfigurationView();
    const TreeItemId id = SelectedItem();
    const int index = tree_.IsValid(id) ? tree_.Item(id).data : -1;
    description_->setPlainText(Q(GetOptionInfo(lists_.treeNodes, index)));
}

void CFormTree::ApplySelection()
{
    if (services_.host.CurrentView() == ViewMode::Monitor)
        services_.host.SwitchToConfigurationView();
    ApplyRequest request;
    request.addToDocument = makeBarcode_->isChecked();
    request.sendToDevice = sendToDevice_->isChecked();
    const ApplyResult result = applier_.Apply(lists_.treeNodes, tree_, SelectedItem(), request);
    if (result.revealCustomCode)
        ShowCustomCodeControls();
    if (result.documentChanged)
        services_.host.RedrawDocumentPane();
    if (result.sent)
        services_.host.RedrawMonitorPane();
}

void CFormTree::ShowCustomCodeControls()
{
    for (QWidget* widget : std::initializer_list<QWidget*>{codeEdit_, noteEdit_, addButton_, codeLabel_, noteLabel_})
        widget->show();
}

void CFormTree::AddCustomCode()
{
    const std::string code = codeEdit_->text().toStdString();
    const std::string note = noteEdit_->text().toStdString();
    if (code.empty() || note.empty())
        return;
    services_.host.AddCustomEntry(code, note);
    services_.host.RedrawDocumentPane();
}

void CFormTree::OnMakeBarcodeClicked()
{
    if (services_.host.CurrentView() != ViewMode::Monitor)
        services_.host.LayoutPanes();
}

void CFormTree::OnAppearanceClicked()
{
    if (services_.host.CurrentView() == ViewMode::Monitor)
        return;
    services_.host.RedrawDocumentPane();
    services_.host.LayoutPanes();
}

void CFormTree::OnSendToDeviceClicked()
{
    if (!services_.host.PortConfigured()) {
        services_.prompt.ShowError(kNoPortText);
        sendToDevice_->setChecked(false);
        return;
    }
    if (services_.host.CurrentView() == ViewMode::Monitor)
        return;
    services_.host.DiscardInput();
    services_.host.LayoutPanes();
    services_.host.RestingRouteChanged();
}

void CFormTree::OnDecodeOutputClicked()
{
    if (!services_.host.PortConfigured()) {
        services_.prompt.ShowError(kNoPortText);
        return;
    }
    if (services_.host.CurrentView() != ViewMode::Monitor)
        return;
    services_.host.DiscardInput();
    services_.host.RestingRouteChanged();
    services_.host.RedrawDocumentPane();
    services_.host.LayoutPanes();
}

void CFormTree::OnImageExtractClicked()
{
    AskImageSize(-1, -1);
}

void CFormTree::AskImageSize(int width, int height)
{
    if (!services_.host.PortConfigured()) {
        services_.prompt.ShowError(kNoPortText);
        return;
    }
    if (services_.host.CurrentView() == ViewMode::Monitor && imageExtract_->isChecked())
        services_.host.StartImageExtraction(width, height);
}

bool CFormTree::MakeBarcodeChecked() const
{
    return makeBarcode_->isChecked();
}
bool CFormTree::InvertColoursChecked() const
{
    return invertColours_->isChecked();
}
bool CFormTree::SendToDeviceChecked() const
{
    return sendToDevice_->isChecked();
}
bool CFormTree::QrCodeChecked() const
{
    return qrCode_->isChecked();
}
bool CFormTree::DecodeOutputChecked() const
{
    return decodeOutput_->isChecked();
}
bool CFormTree::ImageExtractChecked() const
{
    return imageExtract_->isChecked();
}
void CFormTree::SetSendToDeviceChecked(bool checked)
{
    sendToDevice_->setChecked(checked);
}
void CFormTree::SetDecodeOutputChecked(bool checked)
{
    decodeOutput_->setChecked(checked);
}
void CFormTree::SetImageExtractChecked(bool checked)
{
    imageExtract_->setChecked(checked);
}

QTreeWidgetItem* CFormTree::WidgetItem(TreeItemId id) const
{
    const auto found = widgetItems_.find(id);
    return found == widgetItems_.end() ? nullptr : found->second;
}

void CFormTree::OnTreeCleared()
{
    // Emptying the tree is a reload, not the operator picking something, so
    // it must not switch views.
    const QSignalBlocker quiet(treeWidget_);
    widgetItems_.clear();
    treeWidget_->clear();
    description_->clear();
}

void CFormTree::OnItemInserted(TreeItemId id)
{
    const TreeItem& item = tree_.Item(id);
    QTreeWidgetItem* parent = WidgetItem(item.parent);
    auto* widgetItem = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(treeWidget_);
    widgetItem->setData(0, kItemIdRole, QVariant::fromValue(id));
    widgetItems_[id] = widgetItem;
    OnItemChanged(id);
}

void CFormTree::OnItemChanged(TreeItemId id)
{
    QTreeWidgetItem* widgetItem = WidgetItem(id);
    if (!widgetItem)
        return;
    const TreeItem& item = tree_.Item(id);
    widgetItem->setText(0, Q(item.text));
    widgetItem->setIcon(0, TreeItemIcon(item.image, item.selectedImage));
    widgetItem->setSizeHint(0, QSize(-1, tree_.itemHeight));
}

}  // namespace quillon
