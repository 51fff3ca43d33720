// The FileDialog service on QFileDialog.
#pragma once

#include "services/FileDialog.h"

class QtFileDialog : public FileDialog {
  public:
    Result run(QWidget* owner, const Request& request) override;
};
