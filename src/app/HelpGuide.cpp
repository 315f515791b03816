#include "app/HelpGuide.h"

#include "app/ProductInfo.h"

#include <filesystem>
#include <system_error>

namespace quillon {

namespace fs = std::filesystem;

std::string ChooseHelpGuide(const std::string& workingFolder, const std::string& installedGuide)
{
    std::error_code error;
    const fs::path own = fs::absolute(fs::path(workingFolder) / fs::u8path(kHelpFileName), error);
    if (!error && fs::is_regular_file(own, error))
        return own.lexically_normal().string();
    return installedGuide;
}

std::string InstalledGuide(const std::string& executable, Language language)
{
    fs::path guide = fs::path(executable).parent_path() / QUILLON_DATA_FROM_BINDIR / "doc" / "quillon" / "guide";
    if (language == Language::English)
        guide /= "en";
    return (guide / "index.html").lexically_normal().string();
}

std::string LocateInstalledGuide()
{
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    return InstalledGuide(error ? std::string("/usr/bin/quillon") : executable.string());
}

std::string HelpNotOpenedText(const std::string& guide, bool exists)
{
    if (!exists)
        return "没有找到帮助文档。操作指南应安装在：\n" + guide + "\n请重新安装 Quillon 软件包。";
    return "没有可以打开帮助文档的程序。操作指南位于：\n" + guide + "\n请用网页浏览器打开该文件。";
}

}  // namespace quillon
