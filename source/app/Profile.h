// The settings file for the program: a thin Qt face on lumcore::IniFile, which holds the
// Windows profile semantics (sections and keys without regard to case, a missing key gives
// the caller's default, every other line kept, Windows-1252 on disk). Every call reads the
// file as it is now; every write replaces it through a temporary file, so a failed write
// leaves the old file untouched.
#pragma once

#include <QString>

#include "lumcore/IniFile.h"

class Profile {
  public:
    explicit Profile(QString path = {});

    const QString& path() const { return path_; }
    void setPath(const QString& path) { path_ = path; }

    // The file as it is now (empty when it is missing), and the whole file written back
    // (its folder created when needed). Several keys are best changed with one read and one
    // write.
    lumcore::IniFile read() const;
    bool write(const lumcore::IniFile& ini) const;

    QString getString(const QString& section, const QString& key,
                      const QString& defaultValue = {}) const;
    int getInt(const QString& section, const QString& key, int defaultValue) const;
    double getDouble(const QString& section, const QString& key, const QString& defaultText) const;

    // Writes one key. False when the file could not be written or the text holds characters
    // that Windows-1252 cannot store; the old file is then left as it was.
    bool writeString(const QString& section, const QString& key, const QString& value);
    bool writeInt(const QString& section, const QString& key, int value);
    // Written with "%g".
    bool writeDouble(const QString& section, const QString& key, double value);

    // The text conversions of the profile, also those of the dialogs' typed numbers: the
    // leading number (blanks and a sign before it allowed, the rest ignored), 0 when there is
    // none. toInt saturates at the range of int, so a limit still rejects a huge number.
    static int toInt(const QString& text);
    static double toDouble(const QString& text);

  private:
    QString path_;
};
