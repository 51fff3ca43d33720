// File names as the conversion dialogs show them.
#pragma once

#include <QString>

// `path` itself when it has at most `limit` characters; else its first directory part, "..."
// and its last part ("C:\...\name", "/home/.../name"), separated by "\" when it has one, else
// by "/". A name with fewer than two separators to cut between is shown whole.
QString shortFileName(const QString& path, qsizetype limit = 45);
