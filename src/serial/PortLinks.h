#pragma once
#include <optional>
#include <string>

namespace quillon {

// Operators speak of ports as COMn.  A folder of symbolic links named COMn
// maps any number to any device path (a pseudo-terminal, a USB adapter);
// a link there wins over the hardware port map.  The folder is
// $QUILLON_PORT_LINKS, else $XDG_RUNTIME_DIR/quillon/ports, else
// /tmp/quillon-<uid>/ports.
std::string PortLinkFolder();

// "COMn", the name operators and the links use for port number n.
std::string PortName(int number);

// The device path that link COMn points to, when there is such a link and
// the path exists.  A relative target counts from the link folder, as the
// kernel reads it; a target that is gone (the line of a simulator that was
// killed) is no port.
std::optional<std::string> ResolvePortLink(int number);

// Creates (or replaces) link COMn -> devicePath, creating the folder.
// False with errno set when that fails.
bool PublishPortLink(int number, const std::string& devicePath);

// Removes link COMn; missing links are not an error.
void RemovePortLink(int number);

}  // namespace quillon
