#pragma once
#include "document/DeviceInfo.h"

#include <QDialog>

#include <vector>

class QLabel;

namespace quillon {

// "条码识别设备版本信息": the device's information fields, filled before it
// is shown; closing it is all it does.
class CReadToolsVer : public QDialog {
    Q_OBJECT
public:
    explicit CReadToolsVer(QWidget* parent = nullptr);

    // Empties the eight fields, then fills them in the dialog's order.
    void SetFields(const std::vector<VersionField>& fields);

    // The heading's face: "华文行楷" where installed, else a CJK face that is.
    static QString HeadingFamily();

private:
    std::vector<QLabel*> fields_;
};

}  // namespace quillon
