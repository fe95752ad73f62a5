#pragma once
// Desktop notifications through the freedesktop notification service on the session
// bus. Without a session bus, or without the service, nothing is shown and Notify
// answers false.

#include "core/system/notifier.h"

namespace tessaly {

class TDBusNotifier final : public INotifier {
public:
    bool Notify(const std::string& summary, const std::string& body) override;
};

} // namespace tessaly
