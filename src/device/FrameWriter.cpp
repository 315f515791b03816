#include "device/FrameWriter.h"

#include "serial/CnComm.h"

namespace quillon {

void CommFrameWriter::Write(const std::uint8_t* bytes, std::size_t count)
{
    comm_.Send(bytes, static_cast<std::uint32_t>(count));
}

}  // namespace quillon
