#pragma once
#include "host/Host.h"
#include <QString>
#include <map>
#include <memory>

class QSettings;

// The per-user store: an INI file under the application name, one group per section. Qt reads
// and formats it, but the file is only ever replaced whole, under a lock taken with a time
// limit, by contents that were written out completely and read back: a full disk, a stuck lock
// or a killed save leave the old file as it was.
class QtSettingsStore : public SettingsStore {
public:
    explicit QtSettingsStore(const std::string& application);
    ~QtSettingsStore() override;
    std::optional<std::string> Get(const std::string& section, const std::string& key) override;
    void Set(const std::string& section, const std::string& key, const std::string& value) override;
    void Flush() override;

    // Sections are login names: escape what the store would read as structure.
    static std::string EscapeSection(const std::string& section);

    // A file larger than this is not ours to parse: it is neither read nor replaced.
    static constexpr qint64 MaxFileBytes = 1 << 20;
    // How long a save waits for another writer to let go of the file before giving up.
    static constexpr int LockWaitMs = 1500;

private:
    bool SameAsStored() const;

    QString path;
    bool tooLarge = false;
    std::unique_ptr<QSettings> stored;  // read only: given no values, Qt never writes it
    std::map<QString, QString> pending; // set since the last save that reached the file
};
