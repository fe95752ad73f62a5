#pragma once
// A serial port that keeps what is written to it, for the dialler's tests. Opening,
// writing and closing can be made to fail.

#include "core/telephony/comm_port.h"

#include <string>

namespace tessaly {

class FakeCommPort final : public ICommPort {
public:
    void Open(const TPortSettings& settings) override {
        if (FailOpen)
            throw TCommsError("Error opening com port");
        open_ = true;
        Opened = settings;
        ++Opens;
    }
    bool Write(std::string_view bytes) override {
        if (!open_ || FailWrites)
            return false;
        Written.append(bytes);
        return true;
    }
    void Close() override {
        if (!open_)
            return;
        open_ = false;
        ++Closes;
    }
    bool IsOpen() const override { return open_; }

    bool FailOpen = false;
    bool FailWrites = false;
    TPortSettings Opened;
    int Opens = 0;
    int Closes = 0;
    std::string Written; // every byte written, in order

private:
    bool open_ = false;
};

} // namespace tessaly
