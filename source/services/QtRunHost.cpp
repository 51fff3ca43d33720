// lumdb's run host on Qt.
#include "services/QtRunHost.h"

#include <QApplication>
#include <QFile>
#include <QStorageInfo>
#include <QWidget>
#include <algorithm>

#include "services/MessageBox.h"
#include "services/SearchStatusDialog.h"

namespace {

QString fromUtf8(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// QStorageInfo knows nothing of "removable": optical file systems, CD devices, desktop
// mount points for media and the kernel's removable flag of the block device decide.
bool isRemovable(const QStorageInfo& volume) {
    const QByteArray type = volume.fileSystemType().toLower();
    if (type == "iso9660" || type == "udf") return true;
    const QString device = QString::fromLocal8Bit(volume.device());
    if (device.startsWith(QLatin1String("/dev/sr"))) return true;
    const QString root = volume.rootPath();
    if (root.startsWith(QLatin1String("/media/")) || root.startsWith(QLatin1String("/run/media/")))
        return true;
    if (device.startsWith(QLatin1String("/dev/"))) {
        QString name = device.mid(5);
        // A partition ("sdb1") answers through its disk ("sdb").
        for (int tries = 0; tries < 2 && !name.isEmpty(); ++tries) {
            QFile flag(QStringLiteral("/sys/block/%1/removable").arg(name));
            if (flag.open(QIODevice::ReadOnly)) return flag.readAll().trimmed() == "1";
            while (!name.isEmpty() && name.back().isDigit()) name.chop(1);
            if (name.endsWith(QLatin1Char('p')) && name.startsWith(QLatin1String("nvme")))
                name.chop(1);
        }
    }
    return false;
}

MessageBox::Buttons toButtons(lumdb::Buttons buttons) {
    switch (buttons) {
        case lumdb::Buttons::Ok:
            return MessageBox::Buttons::Ok;
        case lumdb::Buttons::OkCancel:
            return MessageBox::Buttons::OkCancel;
        case lumdb::Buttons::YesNo:
            return MessageBox::Buttons::YesNo;
    }
    return MessageBox::Buttons::Ok;
}

lumdb::Answer toAnswer(MessageBox::Answer answer) {
    switch (answer) {
        case MessageBox::Answer::Ok:
            return lumdb::Answer::Ok;
        case MessageBox::Answer::Cancel:
            return lumdb::Answer::Cancel;
        case MessageBox::Answer::Yes:
            return lumdb::Answer::Yes;
        case MessageBox::Answer::No:
            return lumdb::Answer::No;
    }
    return lumdb::Answer::Cancel;
}

}  // namespace

QtRunHost::QtRunHost(QWidget* parent, MessageBox& messages) : parent_(parent), messages_(messages) {
    sincePump_.start();
}

QtRunHost::~QtRunHost() {
    closeStatus();
    while (waitCursors_ > 0) setWaitCursor(false);
}

void QtRunHost::enableParent(bool enabled) {
    if (!parent_) return;
    parent_->setEnabled(enabled);
    if (enabled) {
        parent_->raise();
        parent_->activateWindow();
    }
}

void QtRunHost::openStatus() {
    if (status_) return;
    status_ = new SearchStatusDialog(parent_ ? parent_->window() : nullptr);
    status_->setAttribute(Qt::WA_DeleteOnClose, false);
    status_->show();
    resetAbort();
    sincePump_.restart();
}

void QtRunHost::closeStatus() {
    if (!status_) return;
    status_->hide();
    delete status_;
    status_ = nullptr;
}

void QtRunHost::refreshStatus(const std::string& process, const std::string& phase,
                              std::int32_t lower, std::int32_t upper) {
    if (!status_) return;
    status_->refresh(fromUtf8(process), fromUtf8(phase), lower, upper);
}

lumdb::Answer QtRunHost::message(const std::string& text, const std::string& caption,
                                 lumdb::Icon icon, lumdb::Buttons buttons, bool owned) {
    QWidget* owner = owned && parent_ ? parent_.data() : nullptr;
    return toAnswer(messages_.show(owner, fromUtf8(text), fromUtf8(caption),
                                   MessageBox::iconOf(icon), toButtons(buttons)));
}

void QtRunHost::beep() {
    messages_.beep();
}

void QtRunHost::setWaitCursor(bool wait) {
    if (wait) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++waitCursors_;
    } else if (waitCursors_ > 0) {
        QApplication::restoreOverrideCursor();
        --waitCursors_;
    }
}

std::vector<std::string> QtRunHost::removableVolumes() {
    std::vector<std::string> roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && isRemovable(volume))
            roots.push_back(volume.rootPath().toStdString());
    }
    std::sort(roots.begin(), roots.end());
    roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
    return roots;
}

bool QtRunHost::pump() {
    if (sincePump_.elapsed() >= kPumpIntervalMs) {
        if (status_) status_->setPosition(position());
        QCoreApplication::processEvents();
        sincePump_.restart();
    }
    return status_ && status_->abortRequested();
}
