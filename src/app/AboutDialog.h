#pragma once
#include <QDialog>

#include <string>

class QLineEdit;

namespace quillon {

// "关于配置工具软件": the program's name, the product version, the
// catalogue file in use, which may come from one of several folders, and
// where wire traces go.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(const std::string& catalogue, const std::string& traces, QWidget* parent = nullptr);
    QLineEdit* VersionField() const { return version_; }
    QLineEdit* CatalogueField() const { return catalogue_; }
    QLineEdit* TraceField() const { return traces_; }

private:
    QLineEdit* version_;
    QLineEdit* catalogue_;
    QLineEdit* traces_;
};

}  // namespace quillon
