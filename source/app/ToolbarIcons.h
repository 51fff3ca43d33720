// The toolbar button images, drawn at run time: standard icons of the style where one fits,
// otherwise a small labelled tile.
#pragma once

#include <QIcon>

class QStyle;

QIcon toolbarIcon(int commandId, const QStyle* style);
