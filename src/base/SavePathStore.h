#pragma once
#include <QSettings>
#include <QString>

namespace quillon {

// Remembers, for the firmware, image and decoded-output file dialogs, the
// file chosen last, and for the profile dialogs the folder, so each dialog
// opens where the operator left off; and the profiles used last.  The values
// live in a settings file in the user's configuration folder.
class SavePathStore {
public:
    static constexpr const char* kFirmwarePath = "mzloadpath";
    static constexpr const char* kImagePath = "mzpicpath";
    static constexpr const char* kDecodedOutputPath = "codeoutpath";
    static constexpr const char* kProfileFolder = "profilepath";
    static constexpr const char* kRecentProfiles = "recentprofiles";

    // The per-user store (~/.config/quillon/savepath.conf).
    SavePathStore();
    // A store in the given file, for tests.
    explicit SavePathStore(const QString& fileName);

    // On the first run the paths are created empty.
    void EnsureCreated();

    QString Read(const char* name) const;
    void Write(const char* name, const QString& fullPath);

    // Where a file dialog for `name` starts: the file chosen last, or the
    // home folder when nothing has been chosen yet.
    QString StartPath(const char* name) const;

    // A list of texts, e.g. the recent profiles; empty when nothing (or
    // something else) is stored.
    QStringList ReadList(const char* name) const;
    void WriteList(const char* name, const QStringList& values);

private:
    mutable QSettings settings_;
};

}  // namespace quillon
