#include "serial/PortProblem.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "serial/UsbIds.h"

namespace quillon {

namespace fs = std::filesystem;

namespace {

constexpr const char* kModemManager = "ModemManager";

std::string ProgramOf(const fs::path& process)
{
    std::string name;
    std::getline(std::ifstream(process / "comm"), name);
    return name;
}

// Numeric folders of /proc, each a process.
template <typename Visit> void ForEachProcess(Visit visit)
{
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (!name.empty() && name.find_first_not_of("0123456789") == std::string::npos)
            visit(std::stoi(name), entry.path());
    }
}

bool HoldsDevice(const fs::path& process, dev_t device)
{
    std::error_code error;
    for (const auto& fd : fs::directory_iterator(process / "fd", error)) {
        struct stat target {};
        if (::stat(fd.path().c_str(), &target) == 0 && S_ISCHR(target.st_mode) && target.st_rdev == device)
            return true;
    }
    return false;
}

bool ModemManagerRunning()
{
    bool running = false;
    ForEachProcess([&](int, const fs::path& process) { running = running || ProgramOf(process) == kModemManager; });
    return running;
}

std::string UserName(uid_t uid)
{
    const passwd* user = ::getpwuid(uid);
    return user ? user->pw_name : std::to_string(uid);
}

std::string GroupName(gid_t gid)
{
    const group* entry = ::getgrgid(gid);
    return entry ? entry->gr_name : std::to_string(gid);
}

std::string Permission(const PortFacts& facts)
{
    if (facts.groupMayOpen && facts.group != "root")
        return "没有打开 " + facts.devicePath + " 的权限：该设备属于 " + facts.group +
               " 组，当前用户不在这个组里。\n把当前用户加入该组：\n    sudo usermod -aG " + facts.group +
               " $USER\n然后注销并重新登录，新的组才会生效。";
    return "没有打开 " + facts.devicePath + " 的权限：该设备只允许用户 " + facts.owner +
           " 使用。\n请以该用户运行本程序，或请管理员修改该设备的权限。";
}

// ModemManager opens every new serial device for a while after it is
// plugged in, to find out whether it is a modem.
std::string ModemManagerAdvice(const PortFacts& facts)
{
    std::string text = "ModemManager 会在串口设备插入后的一段时间内探测该设备，可稍等片刻再连接。";
    if (!facts.usb)
        return text;
    return text + "\n要让 ModemManager 不再碰这个设备，新建文件 /etc/udev/rules.d/99-quillon.rules，写入：\n    " +
           "ATTRS{idVendor}==\"" + facts.usb->vendor + "\", ATTRS{idProduct}==\"" + facts.usb->product +
           "\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n然后运行：\n    sudo udevadm control --reload-rules && sudo udevadm trigger";
}

std::string Busy(const PortFacts& facts)
{
    std::string text = facts.devicePath + " 正被另一个程序占用";
    bool modemManager = facts.holders.empty() && facts.modemManagerRunning;
    if (facts.holders.empty()) {
        text += "（看不到是哪个程序：它可能属于其他用户）。";
    } else {
        text += "：";
        for (size_t i = 0; i < facts.holders.size(); ++i) {
            text +=
                (i ? "、" : "") + facts.holders[i].program + "（进程 " + std::to_string(facts.holders[i].pid) + "）";
            modemManager = modemManager || facts.holders[i].program == kModemManager;
        }
        text += "。";
    }
    if (modemManager)
        return text + "\n" + ModemManagerAdvice(facts);
    return text + "\n请先关闭占用它的程序，再连接。";
}

}  // namespace

std::vector<PortHolder> FindPortHolders(const std::string& devicePath)
{
    std::vector<PortHolder> holders;
    struct stat node {};
    if (::stat(devicePath.c_str(), &node) != 0 || !S_ISCHR(node.st_mode))
        return holders;
    const int self = ::getpid();
    ForEachProcess([&](int pid, const fs::path& process) {
        if (pid != self && HoldsDevice(process, node.st_rdev))
            holders.push_back({pid, ProgramOf(process)});
    });
    return holders;
}

PortFacts GatherPortFacts(const std::string& devicePath, int error)
{
    PortFacts facts;
    facts.devicePath = devicePath;
    facts.error = error;
    struct stat node {};
    if ((error == EACCES || error == EPERM) && ::stat(devicePath.c_str(), &node) == 0) {
        facts.owner = UserName(node.st_uid);
        facts.group = GroupName(node.st_gid);
        facts.groupMayOpen = (node.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    }
    if (error == EBUSY) {
        facts.holders = FindPortHolders(devicePath);
        facts.modemManagerRunning = ModemManagerRunning();
        facts.usb = UsbIdOf(devicePath);
    }
    return facts;
}

std::string ExplainPortProblem(const PortFacts& facts)
{
    switch (facts.error) {
    case EACCES:
    case EPERM: return Permission(facts);
    case EBUSY: return Busy(facts);
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case EIO:
        if (facts.devicePath.empty())
            return "该端口没有对应的设备：设备可能已被拔出。请插上设备，再连接。";
        return facts.devicePath + " 已不存在：设备可能已被拔出。请重新插上设备，再连接。";
    case EINVAL: return "端口号（1 到 1024）或波特率无效，或设备不接受该波特率。";
    default: return "打开 " + facts.devicePath + " 失败：" + std::strerror(facts.error);
    }
}

}  // namespace quillon
