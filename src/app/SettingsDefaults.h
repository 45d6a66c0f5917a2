#pragma once

#include <QString>
#include <QVariant>

namespace vek {

class IniFile;

// The one table of settings-file defaults: start-up, the windows and the settings
// dialog all read through it, so no default differs between them.
struct SettingDefault {
    const char *section;
    const char *key;
    QVariant value;
};

// The per-user colour keys are found for any section name.
const SettingDefault *FindSettingDefault(const QString &section, const QString &key);

// Typed reads that take the default from the table (a key missing from the table reads
// as empty / false / 0, which a test keeps from happening by accident).
QString SettingText(const IniFile &ini, const QString &section, const QString &key);
bool SettingBool(const IniFile &ini, const QString &section, const QString &key);
int SettingInt(const IniFile &ini, const QString &section, const QString &key);
// A stored colour word (see StoredColor), with its default.
qint64 SettingColor(const IniFile &ini, const QString &section, const QString &key);

// Skin number from Login/SkinID: 5 and above select skin 1.
int EffectiveSkin(int stored);

} // namespace vek
