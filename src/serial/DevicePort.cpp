#include "serial/DevicePort.h"

#include "document/QuillonDoc.h"
#include "serial/CnComm.h"

namespace quillon {

bool OpenDevicePort(const CQuillonDoc& doc, CnComm& comm)
{
    if (comm.IsOpen())
        comm.Shutdown(500);
    return comm.OpenByNumber(doc.portNumber, doc.baudRate);
}

}  // namespace quillon
