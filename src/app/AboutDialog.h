#pragma once
#include <QDialog>

#include <string>

class QLineEdit;

namespace quillon {

// "关于配置工具软件": the program's name, the product version and the
// catalogue file in use, which may come from one of several folders.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(const std::string& catalogue, QWidget* parent = nullptr);
    QLineEdit* VersionField() const { return version_; }
    QLineEdit* CatalogueField() const { return catalogue_; }

private:
    QLineEdit* version_;
    QLineEdit* catalogue_;
};

}  // namespace quillon
