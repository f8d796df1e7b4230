#pragma once

class QString;
class QWidget;

namespace tavik {

// The three ways of opening a file a comment names, offered by the main screen to the
// item editor. Each takes the name from `edit`'s selection when `name` is empty.
class LinkLauncher {
public:
    virtual void OpenInPaintProgram(QWidget* edit, const QString& name) = 0;
    virtual void OpenAsFileName(QWidget* edit, const QString& name) = 0;
    virtual void LaunchAsProgram(QWidget* edit, const QString& name) = 0;

protected:
    ~LinkLauncher() = default;
};

}  // namespace tavik
