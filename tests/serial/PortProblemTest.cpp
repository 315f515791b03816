#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "document/QuillonDoc.h"
#include "serial/CnComm.h"
#include "serial/PortLinks.h"
#include "serial/PortProblem.h"
#include "serial/PtyPair.h"
#include "serial/RsParaSetRules.h"
#include "support/RecordingPrompt.h"

namespace quillon::test {
namespace {

constexpr const char* kRule = "ATTRS{idVendor}==\"1a86\", ATTRS{idProduct}==\"7523\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"";

PortFacts Failed(const char* path, int error)
{
    PortFacts facts;
    facts.devicePath = path;
    facts.error = error;
    return facts;
}

PortFacts Denied(const char* path, int error, const char* owner, const char* group, bool groupMayOpen)
{
    PortFacts facts = Failed(path, error);
    facts.owner = owner;
    facts.group = group;
    facts.groupMayOpen = groupMayOpen;
    return facts;
}

PortFacts Busy(const char* path, std::vector<PortHolder> holders, bool modemManager = false,
               std::optional<UsbId> usb = std::nullopt)
{
    PortFacts facts = Failed(path, EBUSY);
    facts.holders = std::move(holders);
    facts.modemManagerRunning = modemManager;
    facts.usb = std::move(usb);
    return facts;
}

TEST(PortProblemTest, ExplainsRecordedFacts)
{
    const UsbId ch340{"1a86", "7523"};
    const struct {
        const char* name;
        PortFacts facts;
        std::vector<std::string> says;
        std::vector<std::string> saysNot;
    } cases[] = {
        {"group may open",
         Denied("/dev/ttyUSB0", EACCES, "root", "dialout", true),
         {"/dev/ttyUSB0", "dialout 组", "\n    sudo usermod -aG dialout $USER\n", "注销并重新登录"},
         {}},
        {"EPERM as EACCES", Denied("/dev/ttyACM0", EPERM, "root", "uucp", true), {"sudo usermod -aG uucp $USER"}, {}},
        {"only the owner",
         Denied("/dev/pts/4", EACCES, "alice", "tty", false),
         {"/dev/pts/4", "只允许用户 alice"},
         {"usermod"}},
        {"group root is no help", Denied("/dev/ttyS0", EACCES, "root", "root", true), {"只允许用户 root"}, {"usermod"}},
        {"named holder",
         Busy("/dev/ttyUSB0", {{4242, "minicom"}}),
         {"/dev/ttyUSB0 正被另一个程序占用：minicom（进程 4242）。", "请先关闭"},
         {"ModemManager"}},
        {"two holders", Busy("/dev/ttyUSB0", {{1, "screen"}, {2, "cat"}}), {"screen（进程 1）、cat（进程 2）"}, {}},
        {"ModemManager probing",
         Busy("/dev/ttyUSB0", {{812, "ModemManager"}}, true, ch340),
         {"ModemManager（进程 812）", "插入后的一段时间内探测", kRule, "sudo udevadm control --reload-rules"},
         {"请先关闭"}},
        {"ModemManager, not on USB",
         Busy("/dev/ttyS1", {{812, "ModemManager"}}, true),
         {"插入后的一段时间内探测"},
         {"ATTRS"}},
        {"holder hidden, ModemManager runs", Busy("/dev/ttyUSB0", {}, true, ch340), {"看不到是哪个程序", kRule}, {}},
        {"holder hidden", Busy("/dev/ttyUSB0", {}, false, ch340), {"看不到是哪个程序", "请先关闭"}, {"ModemManager"}},
        {"named holder while ModemManager runs",
         Busy("/dev/ttyUSB0", {{7, "cutecom"}}, true, ch340),
         {"cutecom（进程 7）", "请先关闭"},
         {"ModemManager"}},
        {"node gone", Failed("/dev/ttyUSB0", ENOENT), {"/dev/ttyUSB0 已不存在", "拔出"}, {}},
        {"driver gone", Failed("/dev/ttyUSB0", ENODEV), {"/dev/ttyUSB0 已不存在"}, {}},
        {"hung up", Failed("/dev/ttyACM0", EIO), {"/dev/ttyACM0 已不存在"}, {}},
        {"no device behind COMn", Failed("", ENOENT), {"该端口没有对应的设备"}, {}},
        {"refused number or speed", Failed("", EINVAL), {"端口号（1 到 1024）或波特率无效"}, {}},
        {"anything else", Failed("/dev/ttyS2", EMFILE), {"打开 /dev/ttyS2 失败：Too many open files"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = ExplainPortProblem(c.facts);
        for (const auto& part : c.says)
            EXPECT_NE(text.find(part), std::string::npos) << text << "\nlacks: " << part;
        for (const auto& part : c.saysNot)
            EXPECT_EQ(text.find(part), std::string::npos) << text << "\nhas: " << part;
    }
}

// Runs `work` in a child that has given up root for "nobody"; what it returns.
std::string AsNobody(const std::function<std::string()>& work)
{
    int out[2];
    if (::pipe(out) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(out[0]);
        const passwd* nobody = ::getpwnam("nobody");
        std::string text = "cannot become nobody";
        if (nobody && ::setgroups(0, nullptr) == 0 && ::setgid(nobody->pw_gid) == 0 && ::setuid(nobody->pw_uid) == 0)
            text = work();
        ssize_t ignored = ::write(out[1], text.data(), text.size());
        (void)ignored;
        ::_exit(0);
    }
    ::close(out[1]);
    std::string text;
    char chunk[4096];
    for (ssize_t n; (n = ::read(out[0], chunk, sizeof chunk)) > 0;)
        text.append(chunk, size_t(n));
    ::close(out[0]);
    ::waitpid(child, nullptr, 0);
    return text;
}

// A process of the test's own, named `name`, that holds COMn open through
// the channel (exclusively, as the program does) until it is killed.
class PortHolderProcess {
public:
    PortHolderProcess(int port, const char* name)
    {
        int ready[2];
        if (::pipe(ready) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::prctl(PR_SET_NAME, name);
            CnComm comm;
            const char state = comm.OpenByNumber(port, 9600) ? '1' : '0';
            ssize_t ignored = ::write(ready[1], &state, 1);
            (void)ignored;
            for (;;)
                ::pause();
        }
        char state = '0';
        ssize_t ignored = ::read(ready[0], &state, 1);
        (void)ignored;
        opened_ = state == '1';
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~PortHolderProcess()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    bool Opened() const { return opened_; }
    pid_t Pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    bool opened_ = false;
};

class PortProblemOnPtyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(PublishPortLink(7, pty.SlavePath()));
        // Let "nobody" reach the link.
        for (const auto& folder : {sandbox.Dir().Path(), sandbox.Dir().Path() / "links"})
            std::filesystem::permissions(folder, std::filesystem::perms(0755));
    }

    // The message the port dialog shows when COM7 fails to open.
    std::string ConnectMessage()
    {
        CQuillonDoc doc;
        CnComm comm;
        RecordingPrompt prompt;
        CRsParaSetRules rules(doc, comm, prompt, [] { return std::vector<PortEntry>{}; });
        if (rules.Connect({"COM7", "9600", "8", "1", "None"}))
            return "opened";
        return prompt.Texts().empty() ? "nothing shown" : prompt.Texts().front();
    }

    void Own(uid_t owner, gid_t group, mode_t mode)
    {
        ASSERT_EQ(::chown(pty.SlavePath().c_str(), owner, group), 0);
        ASSERT_EQ(::chmod(pty.SlavePath().c_str(), mode), 0);
    }

    PortSandbox sandbox;
    PtyPair pty;
};

TEST_F(PortProblemOnPtyTest, PermissionDeniedNamesTheGroupOrTheOwner)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving the pty to another user needs root";
    const group* dialout = ::getgrnam("dialout");
    ASSERT_NE(dialout, nullptr);
    const struct {
        const char* name;
        gid_t group;
        mode_t mode;
        std::vector<std::string> says;
    } cases[] = {
        {"group dialout may open",
         dialout->gr_gid,
         0660,
         {"dialout 组", "sudo usermod -aG dialout $USER", "注销并重新登录"}},
        {"only root may open", 0, 0600, {"只允许用户 root"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Own(0, c.group, c.mode);
        const std::string text = AsNobody([this] { return ConnectMessage(); });
        EXPECT_TRUE(text.starts_with("串口打开失败！\n没有打开 " + pty.SlavePath() + " 的权限")) << text;
        for (const auto& part : c.says)
            EXPECT_NE(text.find(part), std::string::npos) << text << "\nlacks: " << part;
    }
}

TEST_F(PortProblemOnPtyTest, BusyNamesTheHolderItCanSee)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "the holder and the opener must be different users";
    Own(0, 0, 0666);
    const PortHolderProcess holder(7, "pty-holder");
    ASSERT_TRUE(holder.Opened());
    const std::string named = " 正被另一个程序占用：pty-holder（进程 " + std::to_string(holder.Pid()) + "）。";

    const auto holders = FindPortHolders(pty.SlavePath());
    ASSERT_EQ(holders.size(), 1u);  // this process's own descriptor is not counted
    EXPECT_EQ(holders.front().pid, holder.Pid());
    EXPECT_EQ(holders.front().program, "pty-holder");

    const std::string asRoot = ConnectMessage();
    EXPECT_EQ(asRoot.rfind("串口打开失败！\n" + pty.SlavePath() + named, 0), 0u) << asRoot;

    // Another user's processes are out of sight; the port is busy all the same.
    const std::string asNobody = AsNobody([this] { return ConnectMessage(); });
    EXPECT_TRUE(asNobody.starts_with("串口打开失败！\n" + pty.SlavePath() + " 正被另一个程序占用（看不到是哪个程序"))
        << asNobody;
}

TEST_F(PortProblemOnPtyTest, AVanishedLineIsGone)
{
    pty.CloseMaster();  // the far end of the line is gone, as when a simulator ends
    const std::string text = ConnectMessage();
    EXPECT_TRUE(text.starts_with("串口打开失败！\n")) << text;
    EXPECT_NE(text.find("拔出"), std::string::npos) << text;
}

}  // namespace
}  // namespace quillon::test
