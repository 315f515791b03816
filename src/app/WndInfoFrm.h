#pragma once
#include <QWidget>

#include <string>

class QComboBox;
class QLabel;

namespace quillon {

// The information bar under the toolbar: connection state, current view and,
// in the monitor view, the character set of decoded output.
class CWndInfoFrm : public QWidget {
    Q_OBJECT
public:
    explicit CWndInfoFrm(QWidget* parent = nullptr);

    // Offline, view "条码配置", output format GBK hidden.
    void Reset();
    void SetConnected(int portNumber);
    bool Connected() const { return connected_; }

    // The view name, and whether the output-format choice belongs to it.
    void SetView(const std::string& viewName, bool showOutputFormat);
    // Keeps the view caption aligned with the splitter at x.
    void PlaceViewCaption(int x);
    // 0 GBK, 1 UTF-8.
    int OutputFormat() const;

    QSize sizeHint() const override;

    QLabel* statusCaption() const { return statusCaption_; }
    QLabel* statusText() const { return statusText_; }
    QLabel* viewCaption() const { return viewCaption_; }
    QLabel* viewText() const { return viewText_; }
    QLabel* formatCaption() const { return formatCaption_; }
    QComboBox* formatList() const { return formatList_; }

private:
    void ApplyStatusColour();
    void PlaceOutputFormat();

    QLabel* statusCaption_;  // 1052
    QLabel* statusText_;     // 1051
    QLabel* viewCaption_;    // 1054
    QLabel* viewText_;       // 1053
    QLabel* formatCaption_;  // 1074
    QComboBox* formatList_;  // 1075
    bool connected_ = false;
};

}  // namespace quillon
