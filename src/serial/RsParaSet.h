#pragma once
#include <QDialog>

#include "serial/PortDiscovery.h"
#include "serial/RsParaSetRules.h"

class QComboBox;
class QLabel;

namespace quillon {
class PortWatch;
}

namespace quillon {

// The port parameter dialog ("通讯参数配置").  Created once by the main
// window and reused; each showing lists the present ports afresh, and the
// list follows devices plugged and unplugged while it is shown.  exec()
// returns Accepted only when the port was opened.
class CRsParaSet : public QDialog {
    Q_OBJECT
public:
    CRsParaSet(CQuillonDoc& doc, CnComm& comm, IPrompt& prompt, QWidget* parent = nullptr,
               CRsParaSetRules::Discover discover = DiscoverPorts);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Rebuild();
    // Devices came or went while the dialog is open.
    void RefreshPorts();
    // Which device the port text names, below the list.
    void ShowPortDescription();
    void OnConnect();

    CRsParaSetRules rules_;
    QComboBox* port_;
    QComboBox* baud_;
    QComboBox* dataBits_;
    QComboBox* stopBits_;
    QComboBox* parity_;
    QLabel* portDescription_;
    PortWatch* watch_;
};

}  // namespace quillon
