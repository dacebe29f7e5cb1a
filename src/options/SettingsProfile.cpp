// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/SettingsProfile.h"

namespace {

QString KeyOf(std::string_view section, std::string_view entry) {
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + '/' +
           QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size()));
}

}  // namespace

CSettingsProfile::CSettingsProfile()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kSettingsOrganization,
                                             kSettingsApplication)) {}

CSettingsProfile::CSettingsProfile(const QString& iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

int CSettingsProfile::GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) const {
    const QVariant value = m_settings->value(KeyOf(section, entry));
    bool isNumber = false;
    const int number = value.toInt(&isNumber);
    return isNumber ? number : defaultValue;
}

bool CSettingsProfile::WriteProfileInt(std::string_view section, std::string_view entry, int value) {
    m_settings->setValue(KeyOf(section, entry), value);
    StoreUnlessDeferred();
    return m_settings->status() == QSettings::NoError;
}

std::string CSettingsProfile::GetProfileString(std::string_view section, std::string_view entry,
                                               std::string_view defaultValue) const {
    const QVariant value = m_settings->value(KeyOf(section, entry));
    if (!value.isValid()) return std::string(defaultValue);
    return value.toString().toStdString();
}

bool CSettingsProfile::WriteProfileString(std::string_view section, std::string_view entry, std::string_view value) {
    m_settings->setValue(KeyOf(section, entry), QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
    StoreUnlessDeferred();
    return m_settings->status() == QSettings::NoError;
}

// Each write reaches the store at once, so that nothing is lost if the program ends
// unexpectedly; a batch of writes reaches it once.
void CSettingsProfile::StoreUnlessDeferred() {
    if (!m_deferred) m_settings->sync();
}

void CSettingsProfile::DeferWrites(bool defer) {
    m_deferred = defer;
    StoreUnlessDeferred();
}
