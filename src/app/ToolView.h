#pragma once
// What the main frame needs of a tool view: updates from the document, the
// commands it handles, and their enabled and checked states.

#include <QWidget>

struct CommandState {
    bool enabled = true;
    bool checked = false;
};

class ToolView : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // The document changed (an archive was opened, a tool dialog closed).
    virtual void OnUpdate() = 0;
    virtual bool Handles(int command) const = 0;
    virtual void Run(int command) = 0;
    virtual CommandState StateOf(int command) const = 0;

signals:
    // Command states may have changed.
    void StateChanged();
    // The window title may have changed.
    void TitleChanged();
};
