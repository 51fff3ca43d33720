// Captions of the message boxes, by string number.
#include "services/StringTable.h"

namespace strings {

QString text(int id) {
    switch (id) {
        case ProductName:
            return QStringLiteral("Orvenit Lumora");
        case FileError:
            return QStringLiteral("Dateifehler");
        case InputError:
            return QStringLiteral("Eingabefehler");
        case GraphicsError:
            return QStringLiteral("Graphikfehler");
        case ExportError:
            return QStringLiteral("Exportfehler");
        case LineSearch:
            return QStringLiteral("Liniensuche");
        case LineIdentification:
            return QStringLiteral("Linienidentifizierung");
        case FileInformation:
            return QStringLiteral("Dateiinformationen");
        case DataFormat:
            return QStringLiteral("Datenformat");
        default:
            return {};
    }
}

}  // namespace strings
