// About box filled from the version strings compiled into the program and the libraries.
#include "app/LumoraAboutDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "lumdb/lumdb.h"
#include "lumgl/lumgl.h"
#include "lumio/lumio.h"
#include "services/StringTable.h"

#ifndef LUMORA_VERSION_STRING
#error "LUMORA_VERSION_STRING comes from the build"
#endif
#ifndef LUMORA_SPECIAL_BUILD
#define LUMORA_SPECIAL_BUILD ""
#endif

namespace {
const char* const kCopyright = "Copyright © 2026 Ingenieurbüro Orvenit";
}  // namespace

QString LumoraAboutDlg::versionString() {
    return QStringLiteral(LUMORA_VERSION_STRING);
}

LumoraAboutDlg::LumoraAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Version"));
    auto* layout = new QVBoxLayout(this);
    const QString texts[5] = {
        strings::productName(),
        QStringLiteral("%1 %2").arg(QStringLiteral("Version"), versionString()),
        QStringLiteral("%1 %2").arg(QStringLiteral("Dateiversion"), versionString()),
        QString::fromUtf8(kCopyright),
        QString::fromUtf8(LUMORA_SPECIAL_BUILD),
    };
    for (int i = 0; i < 5; ++i) {
        fields_[i] = new QLabel(texts[i], this);
        fields_[i]->setObjectName(QStringLiteral("field%1").arg(22001 + i));
        layout->addWidget(fields_[i]);
    }
    QFont title = fields_[0]->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.4);
    fields_[0]->setFont(title);
    libraries_ =
        new QLabel(QStringLiteral("lumdb %1 · lumio %2 · lumgl %3")
                       .arg(QString::fromUtf8(LumdbVersion()), QString::fromUtf8(LumioVersion()),
                            QString::fromUtf8(LumglVersion())),
                   this);
    libraries_->setObjectName(QStringLiteral("libraryVersions"));
    layout->addWidget(libraries_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

QString LumoraAboutDlg::productName() const {
    return fields_[0]->text();
}
QString LumoraAboutDlg::productVersion() const {
    return fields_[1]->text();
}
QString LumoraAboutDlg::fileVersion() const {
    return fields_[2]->text();
}
QString LumoraAboutDlg::copyright() const {
    return fields_[3]->text();
}
QString LumoraAboutDlg::specialBuild() const {
    return fields_[4]->text();
}
QString LumoraAboutDlg::libraryVersions() const {
    return libraries_->text();
}
