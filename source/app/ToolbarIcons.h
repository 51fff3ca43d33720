// The toolbar button images: the program's own drawings (resources/icons), one per command
// that has a button; an empty icon for the others.
#pragma once

#include <QIcon>

QIcon toolbarIcon(int commandId);
