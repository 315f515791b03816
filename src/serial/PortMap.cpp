#include "serial/PortMap.h"

#include <INIReader.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace quillon {

namespace fs = std::filesystem;

namespace {
constexpr int kMaxPort = 1024;
constexpr const char* kSection = "ports";
}  // namespace

std::string CPortMap::DefaultFile()
{
    fs::path folder;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        folder = config;
    else if (const char* home = std::getenv("HOME"); home && *home)
        folder = fs::path(home) / ".config";
    else
        folder = fs::temp_directory_path();
    return (folder / "quillon" / "ports.ini").string();
}

CPortMap::CPortMap(std::string file) : file_(std::move(file))
{
}

void CPortMap::Load()
{
    identities_.clear();
    changed_ = false;
    const INIReader reader(file_);
    if (reader.ParseError() < 0)
        return;
    for (int number = 1; number <= kMaxPort; ++number) {
        std::string identity = reader.Get(kSection, std::to_string(number), "");
        if (!identity.empty())
            identities_[number] = std::move(identity);
    }
}

bool CPortMap::Save() const
{
    std::error_code error;
    const fs::path target(file_);
    fs::create_directories(target.parent_path(), error);
    const fs::path temporary = target.string() + ".tmp" + std::to_string(::getpid());
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << "# COM numbers of serial devices, by their stable device name.\n[" << kSection << "]\n";
        for (const auto& [number, identity] : identities_)
            out << number << " = " << identity << '\n';
        out.flush();
        if (!out) {
            fs::remove(temporary, error);
            return false;
        }
    }
    fs::rename(temporary, target, error);
    if (error) {
        fs::remove(temporary, error);
        return false;
    }
    return true;
}

std::optional<int> CPortMap::NumberOf(const std::string& identity) const
{
    for (const auto& [number, known] : identities_) {
        if (known == identity)
            return number;
    }
    return std::nullopt;
}

std::optional<std::string> CPortMap::IdentityOf(int number) const
{
    const auto found = identities_.find(number);
    if (found == identities_.end())
        return std::nullopt;
    return found->second;
}

int CPortMap::Assign(const std::string& identity, const std::set<int>& reserved)
{
    if (const auto known = NumberOf(identity))
        return *known;
    for (int number = 1; number <= kMaxPort; ++number) {
        if (!identities_.contains(number) && !reserved.contains(number)) {
            identities_[number] = identity;
            changed_ = true;
            return number;
        }
    }
    return 0;
}

}  // namespace quillon
