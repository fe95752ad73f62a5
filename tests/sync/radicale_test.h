#pragma once
// The fixture of the suites that sync with a real server: a Radicale of their own on
// the loopback address, its collections in the test's scratch folder, skipped with a
// word where the machine has none.

#include "tests/support/radicale_server.h"
#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>
#include <memory>

namespace tessaly::testing {

class TRadicaleTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!TRadicaleServer::Installed())
            GTEST_SKIP() << "radicale is not installed: no server to sync with";
        server_ = std::make_unique<TRadicaleServer>(dir_.File("server"));
        ASSERT_TRUE(server_->Running()) << server_->Problem();
    }

    TScratchDir dir_;
    std::unique_ptr<TRadicaleServer> server_;
};

} // namespace tessaly::testing
