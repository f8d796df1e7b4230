#include "itemdlg/link_picture_cache.h"

namespace tavik {

LinkPictureCache::~LinkPictureCache()
{
    clear();
}

void LinkPictureCache::start(int slot, const QString& path, QSize atLeast, Reader read)
{
    Entry& entry = m_entries.at(slot);
    if (entry.reading.valid())
        entry.reading.wait();
    entry = Entry{};
    entry.reading = std::async(std::launch::async, std::move(read), path, atLeast);
}

const QPixmap& LinkPictureCache::picture(int slot, QSize size, const std::function<void(const QStringList&)>& report)
{
    Entry& entry = m_entries.at(slot);
    if (entry.reading.valid()) {
        Reading reading = entry.reading.get();
        entry.source = std::move(reading.image);
        if (!reading.messages.isEmpty())
            report(reading.messages);
    }
    if (!entry.source.isNull() && entry.stretched.size() != size) {
        // Filling the button whatever the picture's proportions.
        entry.stretched
            = QPixmap::fromImage(entry.source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    return entry.stretched;
}

void LinkPictureCache::clear()
{
    for (Entry& entry : m_entries) {
        if (entry.reading.valid())
            entry.reading.wait();
        entry = Entry{};
    }
}

}  // namespace tavik
