#pragma once

namespace quillon {

class CQuillonDoc;
class CnComm;

// Opens the channel on the document's portNumber and baudRate, closing it
// first if it is open.  The channel's owner sets its notification sink once;
// it stays across reopenings.
bool OpenDevicePort(const CQuillonDoc& doc, CnComm& comm);

}  // namespace quillon
