#pragma once
#include <cstddef>
#include <cstdint>

namespace quillon {

class CnComm;

// Where built frames go: one Write per frame, its full length at once.
class IFrameWriter {
public:
    virtual ~IFrameWriter() = default;
    virtual void Write(const std::uint8_t* bytes, std::size_t count) = 0;
};

// The serial channel as the frames' way out.  The write result is not
// looked at: callers make sure a port is open before they build.
class CommFrameWriter : public IFrameWriter {
public:
    explicit CommFrameWriter(CnComm& comm) : comm_(comm) {}
    void Write(const std::uint8_t* bytes, std::size_t count) override;

private:
    CnComm& comm_;
};

}  // namespace quillon
