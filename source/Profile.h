// The settings file with the semantics of Windows profile (INI) files: sections and keys
// compared without regard to case, values trimmed, a missing key gives the caller's default,
// and writing one key keeps every other line of the file as it was. The file is
// Windows-1252 on disk; in memory everything is QString.
#pragma once

#include <QString>

class Profile {
public:
    explicit Profile(QString path = {});

    const QString& path() const { return path_; }
    void setPath(const QString& path) { path_ = path; }

    // The value of `key` in `section`, trimmed and with one pair of enclosing quotes removed;
    // `defaultValue` when the file, the section or the key is missing.
    QString getString(const QString& section, const QString& key,
                      const QString& defaultValue = {}) const;
    // The leading decimal integer of the value (sign allowed, the rest ignored, no digits
    // give 0); `defaultValue` when the key is missing.
    int getInt(const QString& section, const QString& key, int defaultValue) const;
    // The value as text converted to a double the way atof does (leading number, else 0),
    // independent of the process locale; `defaultText` is converted when the key is missing.
    double getDouble(const QString& section, const QString& key,
                     const QString& defaultText) const;
    bool hasKey(const QString& section, const QString& key) const;

    // Writes one key, creating the file and the section when needed. Returns false when the
    // file could not be written or the text holds characters that Windows-1252 cannot store
    // (the old file is then left untouched).
    bool writeString(const QString& section, const QString& key, const QString& value);
    bool writeInt(const QString& section, const QString& key, int value);
    // Written with "%g".
    bool writeDouble(const QString& section, const QString& key, double value);
    // Removes a key; true also when it was not there.
    bool removeKey(const QString& section, const QString& key);

    // atof semantics on a QString, locale-independent.
    static double toDouble(const QString& text);
    // GetPrivateProfileInt-like integer parsing.
    static int toInt(const QString& text);

private:
    QString path_;
};
