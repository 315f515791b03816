#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace quillon {

// The files opened or saved last, most recent first, each once, at most
// `limit` of them.  The list comes from and goes back to a settings store;
// what a hand-edited store holds beyond the rules (blanks, repeats, too many)
// is dropped on the way in.
class RecentFiles {
public:
    static constexpr std::size_t kDefaultLimit = 5;

    explicit RecentFiles(const std::vector<std::string>& stored = {}, std::size_t limit = kDefaultLimit);

    // The file was opened or saved: it moves to the front.
    void Use(const std::string& path);
    // The file is gone: it leaves the list.
    void Forget(const std::string& path);

    const std::vector<std::string>& Paths() const { return paths_; }

private:
    std::size_t limit_;
    std::vector<std::string> paths_;
};

}  // namespace quillon
