#pragma once
#include "catalogue/SelectionTargets.h"
#include "device/ConnectProbeProcessor.h"
#include "device/DeviceSettingMarks.h"
#include "device/DeviceTimers.h"
#include "device/FrameBuilder.h"
#include "device/FrameWriter.h"
#include "device/LinkState.h"
#include "device/ReadBackProcessor.h"
#include "device/ReplyDispatcher.h"
#include "device/SettingWriteProcessor.h"

#include <functional>
#include <string>
#include <vector>

namespace quillon {

class CatalogueTree;
class CnComm;
class CQuillonDoc;
class IPrompt;

inline constexpr const char* kConnectFailedText = "不支持该设备或该端口不是设备对应端口，连接失败！";
inline constexpr const char* kWriteRefusedText = "配置命令返回错误，请重试！";
inline constexpr const char* kLinkHidText = "设备通信设置成HID模式，无法继续联机！";
inline constexpr const char* kLinkHidPosText = "设备通信设置成HID-POS模式，无法继续联机！";
inline constexpr const char* kBaudChangedText = "设备通信波特率修改，请重新联机！";
inline constexpr const char* kSettingTooLongText = "设置值过长，命令帧超过1024字节，未发送！";
inline constexpr const char* kReadBackStalledText = "读取设备参数未完成：设备已停止应答。";
inline constexpr const char* kNoPortForReadText = "无法连接设备，请先设置串口参数！";

inline constexpr int kConnectTimeoutMs = 3000;
// A read-back whose replies stop for this long is ended.
inline constexpr int kReadBackQuietMs = 3000;

// What a person sees of the link, supplied by the window (or the
// command-line tool).
class IDeviceHost {
public:
    virtual ~IDeviceHost() = default;
    virtual void ShowOnline(int portNumber) = 0;  // "COM%d，联机"
    // Offline text, "修改设备参数" cleared, the catalogue loaded again.
    virtual void ShowOffline() = 0;
    virtual void ShowStatus(const std::string& text) = 0;
    virtual ReplyRoute RestingRoute() const = 0;
    virtual void MonitorChanged() = 0;
};

// The device link of the program: connecting with the probe and its
// time-out, dispatching replies to the route's processor, writing settings
// online, reading them back into the tree, and disconnecting.  Its
// LinkState holds the route, the port, the device's answer and the
// timers; everyone else asks it.  Runs on one thread (the window's); the
// channel's notifications are handed to OnDeviceData and OnPortFailure
// there.
class DeviceSession : public ISettingSender, private ISettingWriteOutcome, private IReadBackOutcome {
public:
    struct Parts {
        CQuillonDoc& doc;
        CnComm& comm;
        CatalogueTree& tree;
        IDeviceTimers& timers;
        IDeviceHost& host;
        IPrompt& prompt;
    };
    explicit DeviceSession(Parts parts);

    // The channel was opened on the document's portNumber (by the port
    // dialog, or a command-line verb that talks without the probe).
    void PortOpened();
    // After the port dialog opened portNumber: probe for the device.
    void BeginConnect();
    // 1: the probe was answered; anything else: the connect failed.
    void OnConnectResult(int result);
    void Disconnect();
    void OnDeviceData(int port);
    void OnPortFailure() { Disconnect(); }
    void OnTimer(DeviceTimer timer);

    void DiscardInput() { dispatcher_.DiscardInput(); }
    // 1 started, -1 without an open port (the operator is told), -2 while a
    // read-back runs (nothing is sent).
    int BeginReadSettings();
    int ShowDeviceSetting(std::string_view frameText, int kind) { return marks_.ShowDeviceSetting(frameText, kind); }

    // Sends a setting chosen in the tree; its reply comes on the resting
    // route.  While a read-back runs the setting waits for its end, so the
    // write's reply is not lost among the read-back's.
    void SendSettingFrame(int recordIndex, const ValueTriple& value) override;

    // Firmware goes through a port of its own: the channel is closed around
    // `run` and opened again on the same number and speed.
    void RunWithPortClosed(const std::function<void()>& run);

    bool Online() const { return link_.Online(); }
    LinkState& Link() { return link_; }
    const LinkState& Link() const { return link_; }
    FrameBuilder& Frames() { return frames_; }
    ReplyDispatcher& Dispatcher() { return dispatcher_; }
    // For the tools that talk to the device on a route of their own.
    IFrameWriter& Writer() { return writer_; }
    void SetConnectTimeout(int milliseconds) { connectTimeoutMs_ = milliseconds; }
    void SetReadBackQuiet(int milliseconds) { readBackQuietMs_ = milliseconds; }
    void SetInteractionTimeoutHandler(std::function<void()> handler) { onInteractionTimeout_ = std::move(handler); }
    // Told every setting the device reports (the frame as hex text and its
    // kind), after the tree has shown it: the tree shows only the first byte
    // of a two-byte value, a profile needs all of it.
    void SetSettingObserver(std::function<void(std::string_view frameText, int kind)> observer)
    {
        onSetting_ = std::move(observer);
    }
    // The window reads every setting back after each accepted write; a batch
    // of writes may read back once at its end instead.
    void SetReadBackAfterWrite(bool readBack) { readBackAfterWrite_ = readBack; }

private:
    // ISettingWriteOutcome
    void ReplyReceived(std::string_view frameText) override;
    void WriteAccepted() override;
    void WriteRefused() override;
    void LinkChanged(LinkReport report) override;
    void DeviceSetting(std::string_view frameText, int kind) override;
    // IReadBackOutcome
    void ReadBackProgress() override;
    void ReadBackEnded() override;

    void OnConnectTimeout();
    void SendPendingWrites();
    void OnReadBackQuiet();

    Parts parts_;
    LinkState link_;
    CommFrameWriter writer_;
    FrameBuilder frames_;
    ReplyDispatcher dispatcher_;
    DeviceSettingMarks marks_;
    ConnectProbeProcessor probe_;
    SettingWriteProcessor writes_;
    ReadBackProcessor readBack_;
    LinkOperation probing_;
    LinkOperation readingBack_;
    int connectTimeoutMs_ = kConnectTimeoutMs;
    int readBackQuietMs_ = kReadBackQuietMs;
    std::function<void()> onInteractionTimeout_;
    std::function<void(std::string_view, int)> onSetting_;
    bool readBackAfterWrite_ = true;
    struct PendingWrite {
        int recordIndex;
        ValueTriple value;
    };
    std::vector<PendingWrite> pendingWrites_;
};

}  // namespace quillon
