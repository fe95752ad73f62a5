#pragma once
// A notifier that records the notifications instead of showing them.

#include "core/system/notifier.h"

#include <string>
#include <utility>
#include <vector>

namespace tessaly::testing {

class TFakeNotifier final : public INotifier {
public:
    bool Notify(const std::string& summary, const std::string& body) override {
        Sent.emplace_back(summary, body);
        return true;
    }
    std::vector<std::pair<std::string, std::string>> Sent;
};

} // namespace tessaly::testing
