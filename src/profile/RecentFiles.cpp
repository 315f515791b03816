#include "profile/RecentFiles.h"

#include <algorithm>

namespace quillon {

RecentFiles::RecentFiles(const std::vector<std::string>& stored, std::size_t limit) : limit_(limit)
{
    // Taken from the oldest, so each path ends where its newest mention put it.
    for (auto path = stored.rbegin(); path != stored.rend(); ++path)
        if (!path->empty())
            Use(*path);
}

void RecentFiles::Use(const std::string& path)
{
    Forget(path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > limit_)
        paths_.resize(limit_);
}

void RecentFiles::Forget(const std::string& path)
{
    std::erase(paths_, path);
}

}  // namespace quillon
