#pragma once
#include "host/Host.h"
#include <memory>

class QSettings;

// The per-user store: QSettings under the application name, one group per section.
class QtSettingsStore : public SettingsStore {
public:
    explicit QtSettingsStore(const std::string& application);
    ~QtSettingsStore() override;
    std::optional<std::string> Get(const std::string& section, const std::string& key) override;
    void Set(const std::string& section, const std::string& key, const std::string& value) override;
    void Flush() override;

    // Sections are login names: escape what the store would read as structure.
    static std::string EscapeSection(const std::string& section);

private:
    std::unique_ptr<QSettings> settings;
};
