// The button row that closes the program's modal dialogs: "OK" (the default, accepts) and
// "Abbruch" (rejects), with the help function also "Hilfe", which calls it when it is set.
#pragma once

#include <functional>

class QBoxLayout;
class QDialog;
class QDialogButtonBox;

QDialogButtonBox* addDialogButtons(QDialog* dialog, QBoxLayout* layout);
QDialogButtonBox* addDialogButtons(QDialog* dialog, QBoxLayout* layout, std::function<void()> help);
