#include "SettingsDefaults.h"

#include "catalog/Catalog.h"
#include "platform/IniFile.h"

namespace vek {

namespace {

// Colours are 0x00BBGGRR words; system colours carry FF000000 plus their index.
constexpr qint64 kButtonFace = qint64(0xFF000000) + 15;

const SettingDefault kDefaults[] = {
    {"vek2000", "Mutex", false},
    {"vek2000", "AppTitle", QString()}, // empty: the fixed default title
    {"vek2000", "InfoPlat", QStringLiteral("资源中心")},
    {"vek2000", "Exit", true},
    {"vek2000", "Navigator", false},
    {"vek2000", "WebOpen", true},
    {"vek2000", "music", QString()},
    {"vek2000", "StartMusic", true},
    {"vek2000", "RepeatMusic", false},
    {"vek2000", "Event", true},
    {"vek2000", "UserList", true},
    {"vek2000", "UserCancel", false},
    {"vek2000", "LoginCount", 3},
    {"vek2000", "GridTitleAlign", false},
    {"vek2000", "CloseDataWindow", false},
    {"vek2000", "FormBG", kButtonFace},
    {"vek2000", "FontName", QStringLiteral("宋体")},
    {"vek2000", "FontSize", 12},
    {"vek2000", "BGColor", 16777215},
    {"vek2000", "DataColor", 0},
    {"vek2000", "GridTitleColor", 0},
    {"vek2000", "FormFont", 0},
    {"vek2000", "Memo", false},
    {"vek2000", "frmTreeview", true},
    {"vek2000", "http", QStringLiteral("https://www.vek2000.example")},
    {"vek2000", "email", QStringLiteral("support@vek2000.example")},
    {"Login", "UserName", QStringLiteral("系统管理员")},
    {"Login", "SkinID", 3},
    {"Splash", "UserName", true},
    {"Splash", "Display", false},
    {"Splash", "Width", 763},
    {"Splash", "Height", 608},
    {"Splash", "FileName", QString()},
    {"DBGrid", "copyToClip", false},
    {"DBGrid", "GridHint", false},
    {"DBGrid", "MutiLine", false},
    {"StatusBar", "VerType", true},
    {"StatusBar", "VerNo", true},
    {"StatusBar", "DateTime", true},
    {"StatusBar", "Ico", true},
    {"StatusBar", "LogUserName", true},
    {"StatusBar", "RecordCount", true},
    {"Message", "Time", 5},
    {"Label", "Left", 5},
    {"Label", "LabelAlign", true},
    {"Label", "Colon", false},
    {"application", "everyday", true},
    {"Outlook", "style", 0},
    // Per-user colours: looked up with the section "*user*" for any user's section.
    {"*user*", "Center_BColor", kButtonFace},
    {"*user*", "Center_FColor", 0},
    {"*user*", "TreeView_BColor", 16777215},
    {"*user*", "TreeView_FColor", 0},
    {"*user*", "Form_BColor", qint64(0xFF000000) + 1},
    {"*user*", "Status_BColor", kButtonFace},
};

} // namespace

const SettingDefault *FindSettingDefault(const QString &section, const QString &key)
{
    const SettingDefault *userDefault = nullptr;
    for (const SettingDefault &d : kDefaults) {
        if (key.compare(QLatin1String(d.key), Qt::CaseInsensitive) != 0)
            continue;
        if (section.compare(QLatin1String(d.section), Qt::CaseInsensitive) == 0)
            return &d;
        if (qstrcmp(d.section, "*user*") == 0)
            userDefault = &d;
    }
    return userDefault;
}

qint64 SettingColor(const IniFile &ini, const QString &section, const QString &key)
{
    const SettingDefault *d = FindSettingDefault(section, key);
    bool ok = false;
    const qint64 v = ini.value(section, key).toLongLong(&ok);
    return ok ? v : (d ? d->value.toLongLong() : 0);
}

QString SettingText(const IniFile &ini, const QString &section, const QString &key)
{
    const SettingDefault *d = FindSettingDefault(section, key);
    return ini.value(section, key, d ? d->value.toString() : QString());
}

bool SettingBool(const IniFile &ini, const QString &section, const QString &key)
{
    const SettingDefault *d = FindSettingDefault(section, key);
    return ini.boolValue(section, key, d && d->value.toBool());
}

int SettingInt(const IniFile &ini, const QString &section, const QString &key)
{
    const SettingDefault *d = FindSettingDefault(section, key);
    return ini.intValue(section, key, d ? int(d->value.toLongLong()) : 0);
}

int EffectiveSkin(int stored)
{
    return stored >= 5 ? 1 : stored;
}

} // namespace vek
