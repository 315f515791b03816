#include "app/AboutDialog.h"

#include "base/QtText.h"

#include "app/ProductInfo.h"
#include "app/ToolbarIcons.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace quillon {

AboutDialog::AboutDialog(const std::string& catalogue, const std::string& traces, QWidget* parent)
    : QDialog(parent),
      version_(new QLineEdit(this)),
      catalogue_(new QLineEdit(this)),
      traces_(new QLineEdit(this))
{
    setWindowTitle(Tr("关于配置工具软件"));
    auto* icon = new QLabel(this);
    icon->setPixmap(WindowIcon().pixmap(48, 48));
    auto* name = new QLabel(Tr("Quillon 条码扫描器配置工具"), this);
    QFont nameFont = name->font();
    nameFont.setBold(true);
    name->setFont(nameFont);
    version_->setObjectName("version1078");
    version_->setReadOnly(true);
    version_->setFrame(false);
    version_->setText(QString::fromStdString("Quillon" + ProductVersion()));
    catalogue_->setObjectName("catalogueInUse");
    catalogue_->setReadOnly(true);
    catalogue_->setFrame(false);
    catalogue_->setMinimumWidth(360);
    catalogue_->setText(QFileInfo(QString::fromStdString(catalogue)).absoluteFilePath());
    catalogue_->setCursorPosition(0);
    traces_->setObjectName("traceFiles");
    traces_->setReadOnly(true);
    traces_->setFrame(false);
    traces_->setText(QString::fromStdString(traces));
    traces_->setCursorPosition(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(name, 0, 1);
    layout->addWidget(version_, 1, 1);
    layout->addWidget(new QLabel(Tr("配置文件："), this), 2, 0);
    layout->addWidget(catalogue_, 2, 1);
    layout->addWidget(new QLabel(Tr("通信记录："), this), 3, 0);
    layout->addWidget(traces_, 3, 1);
    layout->addWidget(buttons, 4, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace quillon
