#pragma once

#include "itemdlg/link_slots.h"

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <future>

namespace tavik {

// The pictures the link buttons show. Each file is read once for the editor's life,
// in the background from the moment the editor knows its slots (the four files are
// read side by side), and kept already stretched to its button, so a repaint reads
// nothing and a file that failed is neither tried nor reported again.
class LinkPictureCache {
public:
    // What reading a file gave: the picture (null when none) and the reader's messages.
    struct Reading {
        QImage image;
        QStringList messages;
    };
    // Reads the picture `path` names, at least `atLeast` in size where the format can
    // shrink while reading. Runs on a worker thread.
    using Reader = std::function<Reading(const QString& path, QSize atLeast)>;

    ~LinkPictureCache();

    // Starts reading slot `slot`'s picture; a reading of the slot still running is
    // waited for and dropped.
    void start(int slot, const QString& path, QSize atLeast, Reader read);
    // Slot `slot`'s picture stretched to `size`, waiting for its reading if needed; a null
    // pixmap when the slot has none. The reading's messages go to `report` once.
    const QPixmap& picture(int slot, QSize size, const std::function<void(const QStringList&)>& report);
    // Waits for every reading still running and forgets every picture.
    void clear();

private:
    struct Entry {
        std::future<Reading> reading;
        QImage source;
        QPixmap stretched;
    };
    std::array<Entry, LinkSlots::kCount> m_entries;
};

}  // namespace tavik
