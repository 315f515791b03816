#include "device/DeviceSession.h"

#include "base/Prompt.h"
#include "document/QuillonDoc.h"
#include "serial/CnComm.h"
#include "serial/DevicePort.h"

namespace quillon {

DeviceSession::DeviceSession(Parts parts)
    : parts_(parts),
      link_(parts.timers, [&host = parts.host] { return host.RestingRoute(); }),
      writer_(parts.comm),
      frames_(parts.doc.catalogue, parts.doc.monitorLines, writer_),
      dispatcher_(parts.comm, link_),
      marks_(parts.doc.catalogue.treeNodes, parts.tree),
      probe_([this] { OnConnectResult(1); }),
      writes_(*this),
      readBack_(*this)
{
    dispatcher_.Register(ReplyRoute::ConnectProbe, probe_, [this] { probe_.EndOfNotification(); });
    dispatcher_.Register(ReplyRoute::SettingWrite, writes_);
    dispatcher_.Register(ReplyRoute::ReadBack, readBack_);
    link_.SetRouteObserver([&comm = parts.comm](ReplyRoute route) { comm.SetTraceRoute(static_cast<int>(route)); });
}

void DeviceSession::PortOpened()
{
    if (parts_.doc.portNumber > 0 && parts_.comm.IsOpen()) {
        link_.PortOpened(parts_.doc.portNumber);
        parts_.comm.SetTraceRoute(static_cast<int>(link_.Route()));
    }
}

void DeviceSession::BeginConnect()
{
    // A new connection starts from nothing, even when the last one was
    // never disconnected: its handshake and read-back must run again, and
    // until then the window is offline.
    const bool wasOnline = link_.Online();
    PortOpened();
    if (wasOnline)
        parts_.host.ShowOffline();
    if (!link_.PortOpen())
        return;
    probing_ = link_.Begin(ReplyRoute::ConnectProbe);
    DiscardInput();
    frames_.SendConnectProbes();
    link_.StartTimer(DeviceTimer::Connect, connectTimeoutMs_);
}

void DeviceSession::OnConnectResult(int result)
{
    if (result != 1) {
        Disconnect();
        return;
    }
    link_.DeviceAnswered();
    parts_.host.ShowOnline(parts_.doc.portNumber);
    // The read-back takes the route from the probe, and with it the
    // probe's time-out.
    BeginReadSettings();
    link_.End(probing_);
}

void DeviceSession::OnTimer(DeviceTimer timer)
{
    // A timer of an operation that has ended is not heard.
    if (!link_.TimerExpired(timer))
        return;
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
    if (link_.Online())
        return;
    OnConnectResult(0);
    parts_.prompt.ShowError(kConnectFailedText);
}

void DeviceSession::Disconnect()
{
    // The port may have closed under the link (a failed open in the port
    // dialog clears portNumber): the window still goes offline.
    const bool wasOpen = link_.PortOpen() || link_.Online() || parts_.doc.portNumber > 0;
    pendingWrites_.clear();
    link_.PortClosed();
    if (!wasOpen)
        return;
    parts_.comm.Shutdown(500);
    parts_.doc.portNumber = 0;
    parts_.host.ShowOffline();
}

void DeviceSession::OnDeviceData(int port)
{
    dispatcher_.OnDeviceData(port);
}

int DeviceSession::BeginReadSettings()
{
    if (!link_.PortOpen()) {
        parts_.prompt.ShowError(kNoPortForReadText);
        return -1;
    }
    if (link_.ReadBusy())
        return -2;
    readingBack_ = link_.Begin(ReplyRoute::ReadBack);
    frames_.SendReadBackRequests();
    link_.StartTimer(DeviceTimer::ReadBackQuiet, readBackQuietMs_);
    return 1;
}

void DeviceSession::SendSettingFrame(int recordIndex, const ValueTriple& value)
{
    if (!link_.PortOpen())
        return;
    if (link_.ReadBusy()) {
        pendingWrites_.push_back({recordIndex, value});
        return;
    }
    // The probe keeps its route: a device that has not answered it yet is
    // not written to on its behalf.
    if (link_.Operation() != ReplyRoute::ConnectProbe)
        link_.Rest();
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
    // The link stays as it was unless the port does not come back.
    if (parts_.doc.portNumber != 0 && !OpenDevicePort(parts_.comm, parts_.doc.portNumber, parts_.doc.baudRate))
        Disconnect();
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
    if (link_.IsRunning(readingBack_))
        link_.StartTimer(DeviceTimer::ReadBackQuiet, readBackQuietMs_);
}

void DeviceSession::ReadBackEnded()
{
    if (link_.End(readingBack_))
        SendPendingWrites();
}

void DeviceSession::OnReadBackQuiet()
{
    if (!link_.End(readingBack_))
        return;
    parts_.host.ShowStatus(kReadBackStalledText);
    SendPendingWrites();
}

void DeviceSession::SendPendingWrites()
{
    // Written as the operator chose them; the first one accepted reads
    // everything back again.
    std::vector<PendingWrite> writes;
    writes.swap(pendingWrites_);
    for (const PendingWrite& write : writes)
        SendSettingFrame(write.recordIndex, write.value);
}

}  // namespace quillon
