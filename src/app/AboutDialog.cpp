#include "app/AboutDialog.h"

#include "app/ProductInfo.h"
#include "app/ToolbarIcons.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace quillon {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent), version_(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("关于配置工具软件"));
    auto* icon = new QLabel(this);
    icon->setPixmap(WindowIcon().pixmap(48, 48));
    auto* name = new QLabel(QStringLiteral("Quillon 条码扫描器配置工具"), this);
    QFont nameFont = name->font();
    nameFont.setBold(true);
    name->setFont(nameFont);
    version_->setObjectName("version1078");
    version_->setReadOnly(true);
    version_->setFrame(false);
    version_->setText(QString::fromStdString("Quillon" + ProductVersion()));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(name, 0, 1);
    layout->addWidget(version_, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace quillon
