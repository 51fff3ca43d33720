// The list of recently opened files: 10 entries, newest first, kept in a section of the
// settings file of its own so that it survives a restart.
#pragma once

#include <QObject>
#include <QStringList>

class Profile;

class RecentFiles : public QObject {
    Q_OBJECT
  public:
    static constexpr int kMaxEntries = 10;
    static constexpr const char* kSection = "Recent Files";

    RecentFiles(Profile& profile, QObject* parent = nullptr);

    const QStringList& entries() const { return entries_; }
    // Puts `path` first (moving it when it is listed already) and drops the oldest beyond 10.
    void add(const QString& path);
    void remove(const QString& path);
    // Re-reads the list from the settings file.
    void load();

  signals:
    void changed();

  private:
    void save();

    Profile& profile_;
    QStringList entries_;
};
