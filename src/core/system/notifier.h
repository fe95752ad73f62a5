#pragma once
// Desktop notifications: a short message the desktop shows outside the program's
// windows. The program's notifier talks to the desktop's notification service; tests
// record what would have been shown.

#include <string>

namespace tessaly {

class INotifier {
public:
    virtual ~INotifier() = default;
    // `summary` and `body` are texts of the program (Windows-1252). False when no
    // notification service took it.
    virtual bool Notify(const std::string& summary, const std::string& body) = 0;
};

} // namespace tessaly
