#include "core/frame/instance_name.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(InstanceName, EachDisplayAndSessionHasItsOwnName) {
    const TInstanceEnvironment first{"tessaly-1000", ":12", "", "/run/user/1000"};
    const std::string name = InstanceName(first);
    EXPECT_EQ(name, "tessaly-1000-x_12-r_run_user_1000");
    // Another X display, another Wayland socket, another session's runtime folder.
    TInstanceEnvironment other = first;
    other.XDisplay = ":19";
    EXPECT_NE(InstanceName(other), name);
    other = first;
    other.WaylandDisplay = "wayland-1";
    EXPECT_NE(InstanceName(other), name);
    other = first;
    other.RuntimeDir = "/run/user/1000/session-2";
    EXPECT_NE(InstanceName(other), name);
    other = first;
    other.Base = "tessaly-1001";
    EXPECT_NE(InstanceName(other), name);
    // The screen of a display is the same display.
    other = first;
    other.XDisplay = ":12.0";
    EXPECT_EQ(InstanceName(other), name);
    other.XDisplay = "host:10.1";
    EXPECT_EQ(InstanceName(other), "tessaly-1000-xhost_10-r_run_user_1000");
}

TEST(InstanceName, IsOneFileNameOfBoundedLength) {
    // Nothing set but the base: the base alone.
    EXPECT_EQ(InstanceName({"tessaly-1000", "", "", ""}), "tessaly-1000");
    // A Wayland socket given as a path makes no folders.
    const std::string path = InstanceName({"t", "", "/run/user/1000/wayland-0", ""});
    EXPECT_EQ(path.find('/'), std::string::npos);
    EXPECT_EQ(path, "t-w_run_user_1000_wayland-0");
    // Long parts end in a hash: bounded, still telling the sessions apart.
    const std::string deep(200, 'd');
    const std::string a = InstanceName({"tessaly-1000", ":0", "", "/run/" + deep + "/a"});
    const std::string b = InstanceName({"tessaly-1000", ":0", "", "/run/" + deep + "/b"});
    EXPECT_LE(a.size(), 80u);
    EXPECT_NE(a, b);
    EXPECT_EQ(a.rfind("tessaly-1000-", 0), 0u);
    EXPECT_EQ(a.find('/'), std::string::npos);
}

} // namespace
} // namespace tessaly
