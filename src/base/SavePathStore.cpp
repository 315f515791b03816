#include "base/SavePathStore.h"

#include <QDir>

namespace quillon {

namespace {
constexpr const char* kNames[] = {SavePathStore::kFirmwarePath, SavePathStore::kImagePath,
                                  SavePathStore::kDecodedOutputPath, SavePathStore::kProfileFolder};
constexpr const char* kGroup = "savepath";

QString Key(const char* name)
{
    return QString::fromLatin1(kGroup) + '/' + QString::fromLatin1(name);
}
}  // namespace

SavePathStore::SavePathStore() : settings_(QSettings::IniFormat, QSettings::UserScope, "quillon", "savepath")
{
}

SavePathStore::SavePathStore(const QString& fileName) : settings_(fileName, QSettings::IniFormat)
{
}

void SavePathStore::EnsureCreated()
{
    bool created = false;
    for (const char* name : kNames) {
        if (!settings_.contains(Key(name))) {
            settings_.setValue(Key(name), QString());
            created = true;
        }
    }
    if (created)
        settings_.sync();
}

QString SavePathStore::Read(const char* name) const
{
    const QVariant value = settings_.value(Key(name));
    // Anything that is not text (a hand-edited file) counts as nothing stored.
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

void SavePathStore::Write(const char* name, const QString& fullPath)
{
    settings_.setValue(Key(name), fullPath);
    settings_.sync();
}

QString SavePathStore::StartPath(const char* name) const
{
    const QString stored = Read(name);
    return stored.isEmpty() ? QDir::homePath() : stored;
}

QStringList SavePathStore::ReadList(const char* name) const
{
    const QVariant value = settings_.value(Key(name));
    if (value.typeId() == QMetaType::QString)  // a list of one is stored as one text
        return {value.toString()};
    return value.typeId() == QMetaType::QStringList ? value.toStringList() : QStringList();
}

void SavePathStore::WriteList(const char* name, const QStringList& values)
{
    settings_.setValue(Key(name), values);
    settings_.sync();
}

}  // namespace quillon
