// The MessageBox service on Qt's QMessageBox.
#pragma once

#include "services/MessageBox.h"

class QtMessageBox : public MessageBox {
  public:
    using MessageBox::show;
    Answer show(QWidget* owner, const QString& text, const QString& caption, Icon icon,
                Buttons buttons, bool beep) override;
    void beep() override;
};
