#include "sim/PseudoTerminal.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace quillon::sim {

bool PseudoTerminal::Open()
{
    Close();
    char name[PATH_MAX] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        return false;
    // Bytes must pass unchanged in both directions: no echo, no line
    // editing, no CR/LF translation.
    termios settings{};
    if (tcgetattr(slave_, &settings) == 0) {
        cfmakeraw(&settings);
        cfsetspeed(&settings, B115200);
        tcsetattr(slave_, TCSANOW, &settings);
    }
    for (const int fd : {master_, slave_}) {
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    slavePath_ = name;
    return true;
}

void PseudoTerminal::DropUnread()
{
    if (slave_ >= 0)
        tcflush(slave_, TCIFLUSH);
}

void PseudoTerminal::Close()
{
    for (int* fd : {&master_, &slave_}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
    slavePath_.clear();
}

}  // namespace quillon::sim
