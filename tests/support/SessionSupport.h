#pragma once
#include "base/Prompt.h"
#include "catalogue/CatalogueLoader.h"
#include "catalogue/XmlReader.h"
#include "device/DeviceSession.h"
#include "document/QuillonDoc.h"
#include "serial/CnComm.h"
#include "serial/DevicePort.h"
#include "serial/PortLinks.h"
#include "serial/PtyPair.h"

#include <chrono>
#include <map>
#include <mutex>
#include <thread>

namespace quillon::test {

// The link's timers as a record of what runs; the test makes one expire by
// calling DeviceSession::OnTimer.
struct FakeDeviceTimers : IDeviceTimers {
    void Start(DeviceTimer timer, int ms) override { running[timer] = ms; }
    void Stop(DeviceTimer timer) override { running.erase(timer); }
    bool Running(DeviceTimer timer) const { return running.contains(timer); }
    std::map<DeviceTimer, int> running;
};

// A host that shows nothing; replies rest with the setting writes.
struct QuietDeviceHost : IDeviceHost {
    void ShowOnline(int) override {}
    void ShowOffline() override {}
    void ShowStatus(const std::string&) override {}
    ReplyRoute RestingRoute() const override { return ReplyRoute::SettingWrite; }
    void MonitorChanged() override {}
};

// Loads the catalogue the simulator's device is made of; 0 when loaded.
inline int LoadSimCatalogue(CQuillonDoc& doc, CatalogueTree& tree, IPrompt& prompt)
{
    CXmlReader reader;
    CatalogueLoader loader(reader, doc.catalogue, tree, prompt);
    return loader.LoadCatalogue(QUILLON_SOURCE_DIR "/tests/sim/data/sim-catalogue.xml");
}

// Opens the channel as the window does, with its receive buffer, on COM
// `port` linked to the terminal's slave side at 115200 baud.
inline bool OpenOnPty(CQuillonDoc& doc, CnComm& comm, const PtyPair& pty, int port, ICommSink& sink)
{
    if (!PublishPortLink(port, pty.SlavePath()))
        return false;
    comm.SetNotificationSink(&sink);
    doc.portNumber = port;
    doc.baudRate = 115200;
    return OpenDevicePort(comm, doc.portNumber, doc.baudRate);
}

// The bytes in the channel's receive buffer.
inline std::size_t Buffered(CnComm& comm)
{
    std::lock_guard lock(comm.Input().Mutex());
    return comm.Input().Total();
}

// Waits (up to 3 s) until the channel's worker has buffered `count` bytes.
inline bool WaitBuffered(CnComm& comm, std::size_t count)
{
    for (int i = 0; i < 300 && Buffered(comm) < count; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return Buffered(comm) >= count;
}

}  // namespace quillon::test
