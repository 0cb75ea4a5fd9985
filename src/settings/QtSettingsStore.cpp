#include "settings/QtSettingsStore.h"
#include <QSettings>
#include <QString>

QtSettingsStore::QtSettingsStore(const std::string& application)
    : settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                           QString::fromStdString(application))) {}

QtSettingsStore::~QtSettingsStore() = default;

std::string QtSettingsStore::EscapeSection(const std::string& section) {
    // "/" and "\" nest groups and "%" is the store's own escape; keep every name distinct.
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : section) {
        if (c == '/' || c == '\\' || c == '%' || c < 0x20 || c == 0x7F) {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::optional<std::string> QtSettingsStore::Get(const std::string& section, const std::string& key) {
    const QString path = QString::fromStdString(EscapeSection(section) + "/" + key);
    const QVariant v = settings->value(path);
    if (!v.isValid()) return std::nullopt;
    return v.toString().toStdString();
}

void QtSettingsStore::Set(const std::string& section, const std::string& key, const std::string& value) {
    settings->setValue(QString::fromStdString(EscapeSection(section) + "/" + key),
                       QString::fromStdString(value));
}

void QtSettingsStore::Flush() { settings->sync(); }
