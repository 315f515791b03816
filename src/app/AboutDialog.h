#pragma once
#include <QDialog>

class QLineEdit;

namespace quillon {

// "关于配置工具软件": the program's name and the product version.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
    QLineEdit* VersionField() const { return version_; }

private:
    QLineEdit* version_;
};

}  // namespace quillon
