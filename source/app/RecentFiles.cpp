// Recent-files list stored as File1..File10 in its own section of the settings file.
#include "app/RecentFiles.h"

#include <string>

#include "app/Profile.h"

namespace {
std::string keyFor(int index) {
    return "File" + std::to_string(index + 1);
}
}  // namespace

RecentFiles::RecentFiles(Profile& profile, QObject* parent) : QObject(parent), profile_(profile) {
    load();
}

void RecentFiles::load() {
    entries_.clear();
    const lumcore::IniFile ini = profile_.read();
    for (int i = 0; i < kMaxEntries; ++i) {
        const QString path = QString::fromStdString(ini.getString(kSection, keyFor(i)));
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
    // One write for the whole list. A path the settings file cannot hold is left out of the
    // file (it stays in this session's menu), so the stored entries keep their order.
    lumcore::IniFile ini = profile_.read();
    int stored = 0;
    for (const QString& path : entries_)
        if (ini.setString(kSection, keyFor(stored), path.toStdString())) ++stored;
    for (int i = stored; i < kMaxEntries; ++i) ini.removeKey(kSection, keyFor(i));
    profile_.write(ini);
}
