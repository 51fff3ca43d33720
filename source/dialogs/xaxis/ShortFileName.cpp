#include "dialogs/xaxis/ShortFileName.h"

QString shortFileName(const QString& path, qsizetype limit) {
    if (path.size() <= limit) return path;
    const QChar separator = path.contains('\\') ? QChar('\\') : QChar('/');
    // A path from the root keeps its first directory: "/home/" rather than "/".
    const qsizetype from = path.startsWith(separator) && separator == '/' ? 1 : 0;
    const qsizetype first = path.indexOf(separator, from);
    const qsizetype last = path.lastIndexOf(separator);
    if (first < 0 || first >= last) return path;
    return path.left(first + 1) + QStringLiteral("...") + path.mid(last);
}
