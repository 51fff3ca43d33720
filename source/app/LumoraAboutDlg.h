// The about box ("Version"): product name, product and file version, copyright and special
// build, compiled in from the build, and the versions of the three libraries.
#pragma once

#include <QDialog>

class QLabel;

class LumoraAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit LumoraAboutDlg(QWidget* parent = nullptr);

    // The five fields in the order of their ids 22001 to 22005.
    QString productName() const;
    QString productVersion() const;
    QString fileVersion() const;
    QString copyright() const;
    QString specialBuild() const;
    QString libraryVersions() const;

    static QString versionString();

  private:
    QLabel* fields_[5] = {};
    QLabel* libraries_ = nullptr;
};
