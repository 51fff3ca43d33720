// One child window of the MDI client: the frame of a diagram (its widget a LumoraWindow)
// or of the database search window. The kind tells the frame where diagram commands go.
#pragma once

#include <QMdiSubWindow>

class CommandTarget;

class LumoraMDIChild : public QMdiSubWindow {
    Q_OBJECT
  public:
    enum class Kind { Diagram = 110, SearchEngine = 111 };

    // `content` becomes the child's widget (owned); it may implement CommandTarget.
    LumoraMDIChild(Kind kind, QWidget* content, QWidget* parent = nullptr);

    Kind kind() const { return kind_; }
    // The content as command target, or null when it takes no commands.
    CommandTarget* target() const;

  private:
    Kind kind_;
};
