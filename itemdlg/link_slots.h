#pragma once

#include <QString>

#include <array>

namespace tavik {

// Control characters become blanks, then white space goes at both ends: how a comment
// line or a selected name is cleaned before it is taken as a file name.
QString SanitizeText(const QString& text);

// The files and addresses the first four link lines of a comment name. A link line
// names a place on the device ("\My Documents\", "\Windows\", "\Program Files\") or
// an "http://" address; each fills the next slot.
struct LinkSlots {
    static constexpr int kCount = 4;
    std::array<QString, kCount> paths;  // the whole cleaned line, as written
    std::array<QString, kCount> labels;  // the text after the line's last backslash, case kept

    // Lines are cut at LF; the text after the last LF is a line too.
    static LinkSlots find(const QString& comment);
};

}  // namespace tavik
