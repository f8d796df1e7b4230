#pragma once

#include <QString>

namespace tavik {

// Plain text on the system clipboard. The program's texts break their lines with CR LF; on
// the clipboard lines end in LF alone, as other Linux programs expect, and text read from it
// comes with CR LF again, whatever line ends it was put there with.
class Clipboard {
public:
    static QString text();
    static void setText(const QString& text);

    // True when the clipboard offers text, even an empty one.
    static bool hasText();
};

}  // namespace tavik
