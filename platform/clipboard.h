#pragma once

#include <QString>

namespace tavik {

// Plain text on the system clipboard, passed through unchanged (line ends included).
class Clipboard {
public:
    static QString text();
    static void setText(const QString& text);

    // True when the clipboard offers text, even an empty one.
    static bool hasText();
};

}  // namespace tavik
