#pragma once
// Where the program keeps things, decided once at start-up and handed to the frame:
// the settings store, the user's configuration folder for the program (which takes
// the part of the system directory of the original design), the program's folder,
// and the name the configuration files are named after.

#include "core/exchange/word_pro_link.h"
#include "core/system/desktop.h"
#include "core/system/notifier.h"
#include "core/system/settings_store.h"
#include "platform/sync_network.h"

#include <QString>
#include <memory>

namespace tessaly {

struct TAppContext {
    std::unique_ptr<ISettingsStore> Store;
    // The desktop that opens attachments; tests put one in that records.
    std::unique_ptr<IDesktop> Desktop;
    // Desktop notifications; tests put one in that records.
    std::unique_ptr<INotifier> Notifier;
    // The windows and clipboard the word processor links use; tests put one in.
    std::unique_ptr<IWordProDesktop> WordProDesktop;
    // Contacts servers and their passwords; tests put in one that answers from memory.
    std::unique_ptr<ISyncNetwork> SyncNetwork;
    QString ConfigDirectory;  // the user's configuration folder of the program
    QString ProgramDirectory; // the executable's folder
    QString ProgramName = "TESSALY";
    QString ProductVersion;
    QString FileVersion;

    // The program's own settings store and folders. The environment variables
    // TESSALY_SETTINGS_FILE (an INI file) and TESSALY_CONFIG_DIR move them elsewhere,
    // which the tests use to run beside a user's real settings.
    static TAppContext FromEnvironment();
    // The old INI settings file that is migrated once.
    QString IniPath() const;
};

// The name under which the running copy listens for hand-overs: the user's part
// (`base`, else TESSALY_INSTANCE, else the user id), then this display and session
// (core/frame/instance_name.h).
QString InstanceName(const QString& base = QString());

} // namespace tessaly
