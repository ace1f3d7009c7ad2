#include "core/Settings.h"

#include <QSettings>
#include <QString>

#include "core/General.h"

namespace kestrum {

namespace {
QString SettingsKey(const std::string& key) {
    return QStringLiteral("Settings/") + QString::fromStdString(key);
}

}  // namespace

std::string GetSetting(const std::string& key, const std::string& defaultText) {
    const QSettings store(QSettings::NativeFormat, QSettings::UserScope, kAppTitle, kAppTitle);
    const QVariant value = store.value(SettingsKey(key));
    return value.isValid() ? value.toString().toStdString() : defaultText;
}

void SaveSetting(const std::string& key, const std::string& text) {
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, kAppTitle, kAppTitle);
    store.setValue(SettingsKey(key), QString::fromStdString(text));
    store.sync();  // the program may end right after a save
}

}  // namespace kestrum
