#pragma once
#include <string>
#include <string_view>

namespace quillon {

// Writes an output file without ever replacing anything but a regular file.
// A regular file, or a name that names nothing yet, is written whole or not
// at all: the bytes go to a new file beside it, are flushed to the disk, and
// that file is then renamed over the target; an existing target keeps its
// permission bits, and a symbolic link is followed, so the file it names is
// replaced and the link stays.  A terminal, a pipe or another character
// device (/dev/stdout, /dev/null) is written directly, as a shell's
// redirection writes it.  A folder, a block device or a socket is refused.
// Empty on success, otherwise why not (the system's reason).
std::string WriteOutputFile(const std::string& path, std::string_view bytes);

// Why a path cannot take an output at all (a folder, a block device, a
// socket), before anything is made for it; empty when it can.
std::string OutputRefusal(const std::string& path);

}  // namespace quillon
