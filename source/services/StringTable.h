// The program's fixed texts: message-box captions by their string number and the texts that
// several windows share.
#pragma once

#include <QString>

namespace strings {

constexpr int ProductName = 700;
constexpr int FileError = 701;
constexpr int InputError = 702;
constexpr int GraphicsError = 703;
constexpr int ExportError = 704;
constexpr int LineSearch = 705;
constexpr int LineIdentification = 706;
constexpr int FileInformation = 707;
constexpr int DataFormat = 708;

// The text of string `id` (700 to 708); empty for any other number.
QString text(int id);

// The product name, also the frame caption.
inline QString productName() {
    return text(ProductName);
}

}  // namespace strings
