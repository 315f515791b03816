#pragma once
#include <string>
#include <string_view>

namespace quillon {

// Writes bytes to a file so that the file is either what it was before or
// the whole new content, never a part: the bytes go to a new file beside it,
// are flushed to the disk, and that file is then renamed over the target.
// An existing target keeps its permission bits; a symbolic link is followed,
// so the file it names is replaced and the link stays.  Empty on success,
// otherwise why not (the system's reason).
std::string WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace quillon
