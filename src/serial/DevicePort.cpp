#include "serial/DevicePort.h"

#include "serial/CnComm.h"

namespace quillon {

bool OpenDevicePort(CnComm& comm, int port, int baud)
{
    if (comm.IsOpen())
        comm.Shutdown(500);
    return comm.OpenByNumber(port, baud);
}

}  // namespace quillon
