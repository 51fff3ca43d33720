// The translation of filter strings into Qt's form.
#include "services/FileDialog.h"

#include <QRegularExpression>

QStringList FileDialog::nameFilters(const QString& filter) {
    QStringList out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString label = parts[i].trimmed();
        // Qt reads the patterns from the label's last parentheses; the labels carry their own
        // (comma separated) list, which is replaced by the real one.
        static const QRegularExpression trailingList(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
        label.remove(trailingList);
        QStringList patterns;
        for (QString p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            p = p.trimmed();
            if (p == QLatin1String("*.*")) p = QStringLiteral("*");
            if (!p.isEmpty()) patterns.append(p);
        }
        out.append(QStringLiteral("%1 (%2)").arg(label, patterns.join(QLatin1Char(' '))));
    }
    return out;
}
