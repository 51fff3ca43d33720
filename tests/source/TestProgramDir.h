// A temporary program directory for the shell tests: the built line database copied into
// Data/, optionally the examples folders and a settings file, and LUMORA_HOME pointing at it.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class TestProgramDir {
  public:
    TestProgramDir();
    ~TestProgramDir();

    bool isValid() const { return dir_.isValid(); }
    QString path() const;
    QString settingsPath() const;

    // Copies <build>/bin/Data (the sample database the build lays out).
    bool copyDatabase();
    // An element table naming a database file that is not there.
    bool writeIncompleteDatabase();
    void makeExamples(bool withConfigurations = true);
    // The settings file as it lies on disk (Windows-1252 bytes).
    void writeSettings(const QByteArray& bytes);
    QByteArray settingsBytes() const;

  private:
    QTemporaryDir dir_;
    QByteArray oldHome_;
    bool hadHome_;
};
