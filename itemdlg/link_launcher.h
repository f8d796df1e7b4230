#pragma once

#include <QString>

class QWidget;

namespace tavik {

// The three ways of opening a file a comment names, offered by the main screen to the
// item editor. Each takes the name from `edit`'s selection when an edit control is
// given, otherwise `name`.
class LinkLauncher {
public:
    // The paint program that bitmaps open in.
    static inline const QString kPaintProgram = QStringLiteral("\\Program Files\\Vantra\\Drawbo.exe");

    virtual void OpenInPaintProgram(QWidget* edit, const QString& name) = 0;
    virtual void OpenAsFileName(QWidget* edit, const QString& name) = 0;
    virtual void LaunchAsProgram(QWidget* edit, const QString& name) = 0;

protected:
    ~LinkLauncher() = default;
};

}  // namespace tavik
