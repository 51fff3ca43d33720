// The toolbar button images: standard icons of the style for opening, saving, undo and the
// like, the program's own drawings (resources/icons) for the spectrum commands, and an empty
// icon for commands without a button.
#pragma once

#include <QIcon>

class QStyle;

QIcon toolbarIcon(int commandId, const QStyle* style);
