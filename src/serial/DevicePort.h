#pragma once

namespace quillon {

class CnComm;

// Opens the channel on COM`port` at `baud`, closing it first if it is open.
// The channel's owner sets its notification sink once; it stays across
// reopenings.
bool OpenDevicePort(CnComm& comm, int port, int baud);

}  // namespace quillon
