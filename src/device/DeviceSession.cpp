#include "device/DeviceSession.h"

#include "app/Prompt.h"
#include "catalogue/ReadSettings.h"
#include "document/QuillonDoc.h"
#include "serial/CnComm.h"
#include "serial/DevicePort.h"

#include <atomic>

namespace quillon {

DeviceSession::DeviceSession(Parts parts)
    : parts_(parts),
      writer_(parts.comm),
      frames_(parts.doc.catalogue, parts.doc.monitorLines, writer_),
      dispatcher_(parts.comm, parts.doc.portNumber, parts.replyRoute),
      marks_(parts.doc.catalogue.treeNodes, parts.tree),
      probe_([this] { OnConnectResult(1); }),
      writes_(*this),
      readBack_(*this)
{
    dispatcher_.Register(ReplyRoute::ConnectProbe, probe_, [this] { probe_.EndOfNotification(); });
    dispatcher_.Register(ReplyRoute::SettingWrite, writes_);
    dispatcher_.Register(ReplyRoute::ReadBack, readBack_);
    // A trace reads the route on the channel's worker as well; the window's
    // thread is the only one that changes it.
    parts.comm.SetRouteSource(
        [&route = parts.replyRoute] { return std::atomic_ref<int>(route).load(std::memory_order_relaxed); });
}

DeviceSession::~DeviceSession()
{
    parts_.comm.SetRouteSource({});
}

void DeviceSession::BeginConnect()
{
    if (parts_.doc.portNumber <= 0)
        return;
    // A new connection starts from nothing, even when the last one was
    // never disconnected: its handshake and read-back must run again.
    deviceOnline_ = false;
    parts_.readBusy = 0;
    parts_.timers.Stop(DeviceTimer::ReadBackQuiet);
    parts_.replyRoute = static_cast<int>(ReplyRoute::ConnectProbe);
    DiscardInput();
    frames_.SendConnectProbes();
    parts_.timers.Start(DeviceTimer::Connect, connectTimeoutMs_);
}

void DeviceSession::OnConnectResult(int result)
{
    if (result != 1) {
        Disconnect();
        return;
    }
    deviceOnline_ = true;
    parts_.host.ShowOnline(parts_.doc.portNumber);
    BeginReadSettings();
    parts_.timers.Stop(DeviceTimer::Connect);
}

void DeviceSession::OnTimer(DeviceTimer timer)
{
    parts_.timers.Stop(timer);
    switch (timer) {
    case DeviceTimer::Connect: OnConnectTimeout(); break;
    case DeviceTimer::Interaction:
        if (onInteractionTimeout_)
            onInteractionTimeout_();
        break;
    case DeviceTimer::ReadBackQuiet: OnReadBackQuiet(); break;
    }
}

void DeviceSession::OnConnectTimeout()
{
    if (deviceOnline_)
        return;
    OnConnectResult(0);
    parts_.prompt.ShowError(kConnectFailedText);
}

void DeviceSession::Disconnect()
{
    deviceOnline_ = false;
    // A read-back cut short by the disconnect must not block the next one.
    parts_.readBusy = 0;
    parts_.timers.Stop(DeviceTimer::Connect);
    parts_.timers.Stop(DeviceTimer::ReadBackQuiet);
    if (parts_.doc.portNumber <= 0)
        return;
    parts_.comm.Shutdown(500);
    parts_.doc.portNumber = 0;
    parts_.host.ShowOffline();
}

void DeviceSession::OnDeviceData(int port)
{
    dispatcher_.OnDeviceData(port);
}

void DeviceSession::ResetReplyRoute()
{
    parts_.replyRoute = static_cast<int>(parts_.host.RestingRoute());
}

int DeviceSession::BeginReadSettings()
{
    const int result = quillon::BeginReadSettings(parts_.doc.portNumber, parts_.readBusy, parts_.replyRoute,
                                                  parts_.prompt, [this] { frames_.SendReadBackRequests(); });
    if (result == 1)
        parts_.timers.Start(DeviceTimer::ReadBackQuiet, readBackQuietMs_);
    return result;
}

void DeviceSession::SendSettingFrame(int recordIndex, const ValueTriple& value)
{
    DiscardInput();
    if (frames_.SendSettingFrame(recordIndex, value) == FrameBuilder::SettingResult::TooLong)
        parts_.prompt.ShowError(kSettingTooLongText);
    parts_.host.MonitorChanged();
}

void DeviceSession::RunWithPortClosed(const std::function<void()>& run)
{
    if (parts_.doc.portNumber != 0) {
        DiscardInput();
        parts_.comm.Shutdown(500);
    }
    run();
    if (parts_.doc.portNumber != 0)
        OpenDevicePort(parts_.doc, parts_.comm);
}

void DeviceSession::ReplyReceived(std::string_view frameText)
{
    frames_.LogReply(frameText);
    parts_.host.MonitorChanged();
}

void DeviceSession::WriteAccepted()
{
    if (readBackAfterWrite_)
        BeginReadSettings();
    else
        ResetReplyRoute();
}

void DeviceSession::WriteRefused()
{
    parts_.prompt.ShowError(kWriteRefusedText);
}

void DeviceSession::LinkChanged(LinkReport report)
{
    switch (report) {
    case LinkReport::Hid: parts_.prompt.ShowError(kLinkHidText); break;
    case LinkReport::HidPos: parts_.prompt.ShowError(kLinkHidPosText); break;
    case LinkReport::BaudChanged: parts_.prompt.ShowError(kBaudChangedText); break;
    }
    Disconnect();
}

void DeviceSession::DeviceSetting(std::string_view frameText, int kind)
{
    marks_.ShowDeviceSetting(frameText, kind);
    if (onSetting_)
        onSetting_(frameText, kind);
}

void DeviceSession::ReadBackProgress()
{
    parts_.timers.Start(DeviceTimer::ReadBackQuiet, readBackQuietMs_);
}

void DeviceSession::ReadBackEnded()
{
    parts_.readBusy = 0;
    parts_.timers.Stop(DeviceTimer::ReadBackQuiet);
    ResetReplyRoute();
}

void DeviceSession::OnReadBackQuiet()
{
    if (!parts_.readBusy)
        return;
    parts_.readBusy = 0;
    ResetReplyRoute();
    parts_.host.ShowStatus(kReadBackStalledText);
}

}  // namespace quillon
