#pragma once
#include "host/Host.h"
#include <QString>
#include <map>
#include <memory>

class QSettings;

// The per-user store: an INI file under the application name, one group per section. Qt reads
// and formats it, but the file is only ever replaced whole, under a lock taken with a time
// limit, by contents that were written out completely and read back: a full disk, a stuck lock
// or a killed save leave the old file as it was, and the save says why it failed. A save writes
// only the keys this run changed, so two copies of the game do not undo each other's choices.
class QtSettingsStore : public SettingsStore {
  public:
    explicit QtSettingsStore(const std::string& application);
    ~QtSettingsStore() override;
    std::optional<std::string> Get(const std::string& section, const std::string& key) override;
    void Set(const std::string& section, const std::string& key, const std::string& value) override;
    SaveResult Flush() override;

    // Sections are login names: escape what the store would read as structure.
    static std::string EscapeSection(const std::string& section);

    // A file larger than this is not ours to parse: it is neither read nor replaced.
    static constexpr qint64 MaxFileBytes = 1 << 20;
    // How long a save waits for another writer to let go of the file before giving up.
    static constexpr int LockWaitMs = 1500;
    // A file Qt could read only in part is repaired by a save; its bytes are kept first under
    // the file's name with this added, one copy, the latest.
    static constexpr const char* DamagedSuffix = ".damaged";

  private:
    bool Reach();
    bool SameAsStored() const;
    SaveProblem Ready();
    SaveProblem Save();

    std::string folder; // as the file system spells it; empty when there is no home
    std::string file;   // folder + the file's name, for the player
    QString name;       // the file's name alone
    QString path;       // how Qt reaches the file; empty until the folder can be reached
    struct Handle;
    std::unique_ptr<Handle> handle; // keeps a folder Qt cannot name open
    bool tooLarge = false;
    std::unique_ptr<QSettings> stored;  // read only: given no values, Qt never writes it
    std::map<QString, QString> loaded;  // as last read from or written to the file
    std::map<QString, QString> pending; // changed since then, not yet in the file
};
