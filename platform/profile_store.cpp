#include "platform/profile_store.h"

#include <QSettings>
#include <QVariant>

namespace tavik {

namespace {

// A fresh QSettings per call: instances share Qt's cache of the file, and no
// long-lived instance can hold values that another one has since replaced.
QSettings OpenSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Vantra"), QStringLiteral("tavik"));
}

// A value a person typed into the file unquoted with a comma in it reads as a
// list; it is still the one text they wrote.
QString TextOf(const QVariant& value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1String(", "));
    return value.toString();
}

QString KeyOf(const QString& section, const QString& entry)
{
    return section + QLatin1Char('/') + entry;
}

bool WriteValue(const QString& section, const QString& entry, const QVariant& value)
{
    QSettings settings = OpenSettings();
    settings.setValue(KeyOf(section, entry), value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace

QString ProfileStore::readString(const QString& section, const QString& entry, const QString& defaultValue)
{
    const QVariant value = OpenSettings().value(KeyOf(section, entry));
    return value.isValid() ? TextOf(value) : defaultValue;
}

int ProfileStore::readInt(const QString& section, const QString& entry, int defaultValue)
{
    const QVariant value = OpenSettings().value(KeyOf(section, entry));
    if (!value.isValid())
        return defaultValue;
    bool isNumber = false;
    const int number = TextOf(value).trimmed().toInt(&isNumber);
    return isNumber ? number : defaultValue;
}

bool ProfileStore::writeString(const QString& section, const QString& entry, const QString& value)
{
    return WriteValue(section, entry, value);
}

bool ProfileStore::writeInt(const QString& section, const QString& entry, int value)
{
    return WriteValue(section, entry, value);
}

}  // namespace tavik
