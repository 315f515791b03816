#pragma once
#include "base/ViewMode.h"
#include "catalogue/CatalogueLoader.h"
#include "catalogue/CatalogueTree.h"
#include "catalogue/SelectionApplier.h"
#include "catalogue/XmlReader.h"

#include <QWidget>

#include <functional>

#include <string>
#include <unordered_map>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace quillon {

class IFormHost;
class IPrompt;

// The left pane: the settings tree, the description of the chosen option,
// the check boxes that say where an applied option goes, and the hidden
// custom-code entry.  Decisions live in SelectionApplier and the layout
// functions; this class wires them to widgets.
class CFormTree : public QWidget, private CatalogueTree::Observer {
    Q_OBJECT
public:
    struct Services {
        IFormHost& host;
        IPrompt& prompt;
        IParameterDialogRunner& dialogs;
        IConfigurationTarget& document;
        ISettingSender& device;
        CustomCodeGesture::Clock clock;
        // The catalogue to load, asked when the tree first loads.
        std::function<std::string()> catalogue;
    };

    CFormTree(CatalogueLists& lists, Services services, QWidget* parent = nullptr);
    ~CFormTree() override;

    // Reads the catalogue name, loads the catalogue and lays out the panes.
    void InitialUpdate();
    // Rebuilds the tree from the catalogue file (at start and after a disconnect).
    int LoadCatalogue();

    void LayoutControls();
    void ShowModeButtons(ViewMode viewMode);
    void ApplySelection();
    void AddCustomCode();
    void AskImageSize(int width, int height);

    bool MakeBarcodeChecked() const;
    bool InvertColoursChecked() const;
    bool SendToDeviceChecked() const;
    bool QrCodeChecked() const;
    bool DecodeOutputChecked() const;
    bool ImageExtractChecked() const;
    void SetSendToDeviceChecked(bool checked);
    void SetDecodeOutputChecked(bool checked);
    void SetImageExtractChecked(bool checked);

    // The catalogue file loaded, as a path.
    const std::string& CatalogueInUse() const { return catalogue_; }
    const CatalogueTree& Tree() const { return tree_; }
    CatalogueTree& Tree() { return tree_; }
    QTreeWidget* TreeWidget() const { return treeWidget_; }
    QTreeWidgetItem* WidgetItem(TreeItemId id) const;
    CustomCodeGesture& Gesture() { return applier_.Gesture(); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnTreeCleared() override;
    void OnItemInserted(TreeItemId id) override;
    void OnItemChanged(TreeItemId id) override;

    void CreateControls();
    void OnSelectionChanged();
    void OnMakeBarcodeClicked();
    void OnAppearanceClicked();
    void OnSendToDeviceClicked();
    void OnDecodeOutputClicked();
    void OnImageExtractClicked();
    void ShowCustomCodeControls();
    TreeItemId SelectedItem() const;

    CatalogueLists& lists_;
    Services services_;
    CXmlReader reader_;
    CatalogueTree tree_;
    SelectionApplier applier_;
    std::string catalogue_;
    bool initialised_ = false;
    std::unordered_map<TreeItemId, QTreeWidgetItem*> widgetItems_;

    QTreeWidget* treeWidget_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
    QCheckBox* makeBarcode_ = nullptr;
    QCheckBox* invertColours_ = nullptr;
    QCheckBox* sendToDevice_ = nullptr;
    QCheckBox* qrCode_ = nullptr;
    QCheckBox* decodeOutput_ = nullptr;
    QCheckBox* imageExtract_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QLineEdit* codeEdit_ = nullptr;
    QLineEdit* noteEdit_ = nullptr;
    QLabel* codeLabel_ = nullptr;
    QLabel* noteLabel_ = nullptr;
};

}  // namespace quillon
