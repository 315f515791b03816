#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "serial/BlockBuffer.h"
#include "serial/CommSink.h"
#include "serial/CommTimeouts.h"
#include "serial/LineEvents.h"
#include "serial/WireTap.h"
#include "serial/WriteQueue.h"

namespace quillon {

enum CommNotification : unsigned {
    kNotifyReceived = 0x66A,     // argument 0
    kNotifyCts = 0x66B,          // argument: CTS state 0/1
    kNotifyDsr = 0x66C,          // argument: DSR state 0/1
    kNotifyRing = 0x66D,         // argument: ring state 0/1
    kNotifyCarrier = 0x66E,      // argument: carrier-detect state 0/1
    kNotifyBreak = 0x66F,        // argument 0
    kNotifyTxEmpty = 0x670,      // argument 0
    kNotifyLineError = 0x671,    // argument: LineErrorBit bits
    kNotifyPortFailure = 0x678,  // argument 0
    kNotifyLineQuiet = 0x679,    // argument: Input().Appended() when the line went quiet
};

// The serial channel: owns one port, watches it from an event worker that
// moves incoming bytes into Input() and notifies a sink, and writes through a
// transmit worker.
//
// Thread-safety contract:
//  - OpenByNumber, Shutdown, Send, ReadRaw, DrainTransmit and the setters are
//    called from one owner thread (the window's thread).
//  - The event worker fills Input() under Input().Mutex(); the owner takes
//    bytes out under the same lock and re-reads Total() under it.  The worker
//    never holds the lock while it waits on the device: bytes are read into
//    a scratch buffer first and appended under the lock.
//  - Nothing the owner calls waits on the device except ReadRaw and
//    DrainTransmit: Send hands the bytes to the transmit worker and returns
//    at once.
//  - Input that stops for the read interval ends a burst: kNotifyLineQuiet
//    follows the burst's last kNotifyReceived and says where in the input
//    stream the burst ended, so that unframed data (a barcode at 1,200 baud
//    comes a byte at a time) can be cut where the device paused, not where
//    a read happened to end.
//  - Notifications reach the sink on a worker thread; the sink posts them on.
//    The sink may be changed while open; it is never called after Shutdown
//    returns.
//  - Writes are serialised, so frames written back to back leave whole and
//    in order.
class CnComm {
public:
    using BlockBuffer = quillon::BlockBuffer;

    CnComm();
    virtual ~CnComm();
    CnComm(const CnComm&) = delete;
    CnComm& operator=(const CnComm&) = delete;

    void SetNotificationSink(ICommSink* sink) { sink_.store(sink); }
    // The reply route in effect, for the wire trace (WireTap): whoever owns
    // the route tells the channel each time it changes; -1 until then.
    void SetTraceRoute(int route) { traceRoute_.store(route, std::memory_order_relaxed); }
    // A receive notification is raised only once this many bytes are available.
    void SetReceiveThreshold(uint32_t bytes) { threshold_ = bytes; }

    // Opens COMn (1..1024, resolved through the port links and the port
    // map) as raw 8-N-1 at `baud` bits per second and starts the workers.
    // A port number out of range or a speed of 0 or below is refused before
    // anything is touched; any other failure leaves the port closed.
    bool OpenByNumber(int port, int baud);
    // Stops the workers and closes the port; does nothing when closed.  Every
    // wait of a worker also watches a stop descriptor, so each ends within
    // milliseconds and none has to be killed or waited for longer: callers
    // allow 500 ms, never needed.  What is still handed over and unwritten
    // goes with the port.
    virtual void Shutdown(int waitMs = 500);

    bool IsOpen() const { return fd_ >= 0; }
    // The errno of the last OpenByNumber that failed (EINVAL for a refused
    // number or speed, ENOENT when COMn names no device), so that the
    // operator can be told why.
    int LastOpenError() const { return lastOpenError_; }
    int PortNumber() const { return port_; }
    const std::string& DevicePath() const { return devicePath_; }

    // Hands the bytes to the transmit worker, which writes each call's bytes
    // whole and in the order of the calls (giving up at the write time-out),
    // and returns the count at once; 0 when the port is closed.
    uint32_t Send(const void* bytes, uint32_t count);
    // Reads until `count` bytes have come, 100 ms pass between two bytes, or
    // the total read time-out passes.
    uint32_t ReadRaw(void* buffer, uint32_t count);
    // Waits until handed-over output is written and the port has sent it, but only while it keeps leaving: when the
    // line takes nothing for StallMs (the device stopped reading) it returns, and the rest still leaves, in order, once
    // the device reads again.
    void DrainTransmit();

    BlockBuffer& Input() { return input_; }

    uint32_t BytesWritten() const { return bytesWritten_; }
    uint32_t BytesRead() const { return bytesRead_; }
    void ResetCounters()
    {
        bytesWritten_ = 0;
        bytesRead_ = 0;
    }

protected:
    virtual void PostNotification(unsigned message, long argument);
    virtual void NotifyReceived() { PostNotification(kNotifyReceived, 0); }
    virtual void NotifyCts() { PostNotification(kNotifyCts, ModemBitSet(kModemCts)); }
    virtual void NotifyDsr() { PostNotification(kNotifyDsr, ModemBitSet(kModemDsr)); }
    virtual void NotifyRing() { PostNotification(kNotifyRing, ModemBitSet(kModemRing)); }
    virtual void NotifyCarrier() { PostNotification(kNotifyCarrier, ModemBitSet(kModemCarrier)); }
    virtual void NotifyBreak() { PostNotification(kNotifyBreak, 0); }
    virtual void NotifyTxEmpty() { PostNotification(kNotifyTxEmpty, 0); }
    virtual void NotifyLineError(unsigned errors) { PostNotification(kNotifyLineError, errors); }
    virtual void NotifyPortFailure() { PostNotification(kNotifyPortFailure, 0); }
    virtual void NotifyLineQuiet(uint64_t appended) { PostNotification(kNotifyLineQuiet, static_cast<long>(appended)); }
    // Returns false once the port has failed and the worker should stop.
    virtual bool DispatchEvents(uint32_t events);
    // The read and write time-outs an open port runs with.
    virtual CommTimeouts LineTimeouts() const { return ChannelTimeouts(); }

private:
    enum Worker { kEventWorker, kTransmitWorker, kWorkerCount };

    bool StartThreads();
    void StopThreads();
    void RunWorker(Worker worker);
    void EventLoop();
    void TransmitLoop();
    uint32_t WaitForPortEvent();
    bool HandleReceived();
    // How long the line may stay quiet before the burst under way ends; -1
    // when none is.
    int QuietDueMs() const;
    void NotifyIfQuiet();
    void EndBurst();
    void FillReceiveBuffer(uint32_t count);
    uint32_t WriteWithinBudget(const void* bytes, uint32_t count);
    bool WritePendingOnce();
    bool WriterRunning() const { return alive_[kTransmitWorker]; }
    bool SleepUnlessStopped(int ms);
    void Wake(int eventFd);
    void MarkFailed() { failed_ = true; }
    void Trace(WireEvent::Kind kind, const void* bytes = nullptr, uint32_t count = 0);
    long ModemBitSet(unsigned bit) const { return (lines_.modem & bit) ? 1 : 0; }

    std::atomic<ICommSink*> sink_{nullptr};
    uint32_t threshold_ = 0;
    int fd_ = -1;
    int port_ = -1;
    std::string devicePath_;
    std::string portName_;  // COMn, for the wire trace
    std::atomic<int> traceRoute_{-1};
    int lastOpenError_ = 0;
    CommTimeouts timeouts_{};

    // Signalled by Shutdown and read by nobody, so that every wait of every
    // worker ends at once; drained again at the next open.
    int stopFd_ = -1;
    int wakeFd_[kWorkerCount] = {-1, -1};
    std::thread workers_[kWorkerCount];
    std::atomic<bool> running_{false};
    std::atomic<bool> failed_{false};
    std::atomic<bool> failureReported_{false};
    std::atomic<bool> alive_[kWorkerCount] = {false, false};

    bool watchLines_ = false;
    LineSnapshot lines_;
    unsigned pendingErrors_ = 0;
    std::atomic<bool> txPending_{false};

    std::mutex writeMutex_;
    WriteQueue pending_;                  // handed over, not yet written
    std::vector<unsigned char> scratch_;  // the receiving worker's read buffer
    // When the receiving worker last took input; set while a burst is open.
    std::optional<std::chrono::steady_clock::time_point> lastInput_;
    std::atomic<uint32_t> bytesWritten_{0};
    std::atomic<uint64_t> bytesOnLine_{0};  // taken by the driver
    unsigned bitsPerSecond_ = 0;
    std::atomic<uint32_t> bytesRead_{0};

    BlockBuffer input_;
};

}  // namespace quillon
