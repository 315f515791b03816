#pragma once

namespace quillon {

// Port links are made and removed in the port-link folder, and the
// pseudo-terminals they point to come and go in /dev/pts; udev sees
// neither, so both folders are watched with inotify.  Fd() is readable when
// something changed; Drain() never blocks.
class LinkFolderWatch {
public:
    // Creates the link folder when it is missing, so that it can be watched
    // before the first link is made.
    LinkFolderWatch();
    ~LinkFolderWatch();
    LinkFolderWatch(const LinkFolderWatch&) = delete;
    LinkFolderWatch& operator=(const LinkFolderWatch&) = delete;

    int Fd() const { return fd_; }
    // Reads what waits; true when anything changed.
    bool Drain();

private:
    int fd_ = -1;
};

}  // namespace quillon
