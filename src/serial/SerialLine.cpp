// The channel configures the line with termios2 rather than the libc
// termios calls: only termios2 (BOTHER) can set speeds that have no Bnnn
// code, such as 256000 and 128000.  <asm/termbits.h> and <termios.h> cannot
// be included together, so every such call lives in this file.
#include "serial/SerialLine.h"

#include <asm/termbits.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

namespace quillon {

int OpenSerialLine(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error == EWOULDBLOCK ? EBUSY : error;
        return -1;
    }
    return fd;
}

bool SetRaw8N1(int fd, const SpeedSetting& speed)
{
    struct termios2 tio {};
    if (::ioctl(fd, TCGETS2, &tio) != 0)
        return false;
    tio.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK);
    tio.c_oflag &= ~OPOST;
    tio.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    // Linux keeps a port's settings from the program before: hardware flow
    // control left on would stall every write, and the modem lines
    // (CLOCAL below) must not hold up an open or a read.
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CBAUD | (CBAUD << IBSHIFT) | CRTSCTS);
    tio.c_cflag |= CS8 | CREAD | CLOCAL | speed.code;
    tio.c_ispeed = tio.c_ospeed = speed.rate;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    return ::ioctl(fd, TCSETS2, &tio) == 0;
}

int InputWaiting(int fd)
{
    int count = 0;
    return ::ioctl(fd, TIOCINQ, &count) == 0 ? count : -1;
}

int OutputWaiting(int fd)
{
    int count = 0;
    return ::ioctl(fd, TIOCOUTQ, &count) == 0 ? count : -1;
}

void PurgeLine(int fd, bool input, bool output)
{
    const int which = input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH;
    ::ioctl(fd, TCFLSH, which);
}

std::optional<unsigned> ReadModemStatus(int fd)
{
    int lines = 0;
    if (::ioctl(fd, TIOCMGET, &lines) != 0)
        return std::nullopt;
    unsigned modem = 0;
    if (lines & TIOCM_CTS)
        modem |= kModemCts;
    if (lines & TIOCM_DSR)
        modem |= kModemDsr;
    if (lines & TIOCM_RI)
        modem |= kModemRing;
    if (lines & TIOCM_CD)
        modem |= kModemCarrier;
    return modem;
}

std::optional<LineSnapshot> ReadLineSnapshot(int fd)
{
    const auto modem = ReadModemStatus(fd);
    struct serial_icounter_struct counts {};
    if (!modem)
        return std::nullopt;
    LineSnapshot snapshot;
    snapshot.modem = *modem;
    // Some USB adapters report the modem lines but keep no counters.
    if (::ioctl(fd, TIOCGICOUNT, &counts) != 0)
        return snapshot;
    snapshot.breaks = counts.brk;
    snapshot.framing = counts.frame;
    snapshot.overrun = counts.overrun;
    snapshot.parity = counts.parity;
    snapshot.queueOverflow = counts.buf_overrun;
    return snapshot;
}

void CloseSerialLine(int fd)
{
    // The exclusive mode belongs to the terminal, not to this descriptor: a
    // pseudo-terminal outlives it, and left set it would refuse every later
    // open by an ordinary user (the simulator's line could be used once).
    ::ioctl(fd, TIOCNXCL);
    ::close(fd);
}

}  // namespace quillon
