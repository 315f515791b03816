#include "serial/ProgramTrace.h"

#include <cstdlib>

namespace quillon {

std::string ProgramTrace::RequestedPath(const std::string& option)
{
    if (!option.empty())
        return option;
    const char* path = std::getenv("QUILLON_TRACE");
    return path ? path : "";
}

std::string ProgramTrace::Start(const std::string& path, std::string_view program, std::string_view session,
                                WireTraceWriter::FailureReport failed)
{
    Stop();
    auto writer = std::make_shared<WireTraceWriter>();
    if (std::string error = writer->Open(path, WireTraceHeader(program, session)); !error.empty())
        return error;
    writer->SetFailureReport(std::move(failed));
    writer_ = std::move(writer);
    WireTap::Install(writer_);
    return {};
}

void ProgramTrace::Stop(std::string_view lastNote)
{
    if (!writer_)
        return;
    WireTap::Install(nullptr);
    if (!lastNote.empty())
        writer_->Note(lastNote);
    writer_->Close();
    writer_.reset();
}

void ProgramTrace::Note(std::string_view text)
{
    if (writer_)
        writer_->Note(text);
}

}  // namespace quillon
