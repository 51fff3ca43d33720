// Where the program lives: the program directory (the running executable's directory, or
// LUMORA_HOME when set) and the settings file in it, with the per-user fallback for a
// program directory that cannot be written.
#pragma once

#include <QString>

class ProgramLocation {
  public:
    // The program directory without a trailing separator; empty when it cannot be found
    // (LUMORA_HOME names no directory, or the executable's path is unknown).
    static QString programDirectory();

    // The settings file for `programDir`: programDir/Lumora.ini when that directory (and the
    // file, if present) can be written; otherwise Lumora.ini in `userConfigDir` (when empty,
    // the per-user configuration directory), seeded with a copy of the program directory's
    // file the first time so that installed defaults are kept.
    static QString settingsFile(const QString& programDir, const QString& userConfigDir = {});
    // The same decision with the writability given (the tests run as root, who may write
    // everywhere).
    static QString settingsFileFor(const QString& programDir, const QString& userConfigDir,
                                   bool programDirWritable);

    // The per-user configuration directory used by the fallback.
    static QString userConfigDirectory();

    // `parent`/`name` if it exists and is a plain directory (not hidden, not a link),
    // else `parent`.
    static QString subdirectoryOr(const QString& parent, const QString& relative);

    static constexpr const char* kSettingsName = "Lumora.ini";
};
