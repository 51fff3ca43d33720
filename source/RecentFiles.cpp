// Recent-files list stored as File1..File10 in its own section of the settings file.
#include "RecentFiles.h"

#include "Profile.h"

namespace {
QString keyFor(int index) { return QStringLiteral("File%1").arg(index + 1); }
}  // namespace

RecentFiles::RecentFiles(Profile& profile, QObject* parent) : QObject(parent), profile_(profile) {
    load();
}

void RecentFiles::load() {
    entries_.clear();
    const QString section = QString::fromLatin1(kSection);
    for (int i = 0; i < kMaxEntries; ++i) {
        const QString path = profile_.getString(section, keyFor(i));
        if (!path.isEmpty() && !entries_.contains(path)) entries_.append(path);
    }
    emit changed();
}

void RecentFiles::add(const QString& path) {
    if (path.isEmpty()) return;
    entries_.removeAll(path);
    entries_.prepend(path);
    while (entries_.size() > kMaxEntries) entries_.removeLast();
    save();
    emit changed();
}

void RecentFiles::remove(const QString& path) {
    if (entries_.removeAll(path) == 0) return;
    save();
    emit changed();
}

void RecentFiles::save() {
    const QString section = QString::fromLatin1(kSection);
    for (int i = 0; i < kMaxEntries; ++i) {
        if (i < entries_.size())
            profile_.writeString(section, keyFor(i), entries_[i]);
        else
            profile_.removeKey(section, keyFor(i));
    }
}
