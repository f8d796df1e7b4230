#pragma once

#include <QString>

namespace tavik {

// The per-user settings: QSettings in its native format under organisation
// "Vantra", application "tavik" (~/.config/Vantra/tavik.conf). A section is a
// group, an entry a key. Every write is flushed to disk at once, so a crash
// later in the run loses nothing.
class ProfileStore {
public:
    static QString readString(const QString& section, const QString& entry, const QString& defaultValue = QString());

    // A missing entry, or one that does not hold a whole number, gives `defaultValue`.
    static int readInt(const QString& section, const QString& entry, int defaultValue);

    // True when the value reached the settings file.
    static bool writeString(const QString& section, const QString& entry, const QString& value);
    static bool writeInt(const QString& section, const QString& entry, int value);
};

}  // namespace tavik
