#pragma once
#include "serial/WireTraceWriter.h"

#include <memory>
#include <string>

namespace quillon {

// The wire trace of the running program: a file that every port's traffic
// goes into from Start to Stop (WireTap).  One at a time; starting another
// stops the first.
class ProgramTrace {
public:
    // The file asked for: `option` (--trace) when given, else $QUILLON_TRACE;
    // empty for none.
    static std::string RequestedPath(const std::string& option);

    ProgramTrace() = default;
    ~ProgramTrace() { Stop(); }
    ProgramTrace(const ProgramTrace&) = delete;
    ProgramTrace& operator=(const ProgramTrace&) = delete;

    // Opens `path` with the header naming `program` and `session`; an error
    // text (nothing is traced then), empty once recording.  `failed` is
    // told, on whatever thread wrote, when the file fails later.
    std::string Start(const std::string& path, std::string_view program, std::string_view session,
                      WireTraceWriter::FailureReport failed);
    // A last comment line (how the session ended, say), then the file is closed.
    void Stop(std::string_view lastNote = {});
    bool Recording() const { return writer_ != nullptr; }
    // The file being written, empty when not recording.
    std::string Path() const { return writer_ ? writer_->Path() : std::string(); }
    void Note(std::string_view text);

private:
    std::shared_ptr<WireTraceWriter> writer_;
};

}  // namespace quillon
