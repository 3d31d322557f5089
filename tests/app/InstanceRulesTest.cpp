#include "app/InstanceRules.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace lumetra {
namespace {

constexpr unsigned kUid = 1000;

FolderFacts Folder(unsigned owner, unsigned mode) {
    return {true, true, owner, mode};
}

TEST(ChannelFolder, OnlyTheUsersOwnClosedFolderIsPrivate) {
    EXPECT_EQ(CheckChannelFolder("/run/user/1000", Folder(kUid, 0700), kUid), FolderTrust::Private);
    EXPECT_EQ(CheckChannelFolder("/run/user/1000", Folder(kUid, 0500), kUid), FolderTrust::Private);
    // Any bit for the group or the others lets someone else in, even only to pass through.
    for (unsigned mode : {0701u, 0710u, 0720u, 0740u, 0750u, 0755u, 0770u, 0777u, 01777u})
        EXPECT_EQ(CheckChannelFolder("/tmp/lumetra-1000", Folder(kUid, mode), kUid),
                  FolderTrust::OpenToOthers)
            << std::oct << mode;
    EXPECT_EQ(CheckChannelFolder("/tmp/lumetra-1000", Folder(0, 0700), kUid),
              FolderTrust::ForeignOwner);
    EXPECT_EQ(CheckChannelFolder("/tmp/lumetra-1000", Folder(65534, 0700), kUid),
              FolderTrust::ForeignOwner);
    // Root's own folder is root's, but not another user's.
    EXPECT_EQ(CheckChannelFolder("/tmp/lumetra-0", Folder(0, 0700), 0), FolderTrust::Private);
    EXPECT_EQ(CheckChannelFolder("/tmp/lumetra-0", Folder(kUid, 0700), 0),
              FolderTrust::ForeignOwner);
}

TEST(ChannelFolder, ALinkAFileAMissingOrARelativeFolderIsRefused) {
    EXPECT_EQ(CheckChannelFolder("/tmp/lumetra-1000", {true, false, kUid, 0700}, kUid),
              FolderTrust::NotAFolder);
    EXPECT_EQ(CheckChannelFolder("/tmp/lumetra-1000", {}, kUid), FolderTrust::Missing);
    EXPECT_EQ(CheckChannelFolder("run/user/1000", Folder(kUid, 0700), kUid),
              FolderTrust::NotAbsolute);
    EXPECT_EQ(CheckChannelFolder("", Folder(kUid, 0700), kUid), FolderTrust::NotAbsolute);
}

TEST(ChannelFolder, RefusalsNameTheFolderAndTheReason) {
    EXPECT_EQ(FolderRefusal(FolderTrust::Private, "/run/user/1000"), "");
    EXPECT_EQ(FolderRefusal(FolderTrust::OpenToOthers, "/tmp/x"),
              "Lumetra: the channel folder \"/tmp/x\" is open to other users; starting on its "
              "own.");
    EXPECT_EQ(FolderRefusal(FolderTrust::ForeignOwner, "/tmp/x"),
              "Lumetra: the channel folder \"/tmp/x\" belongs to another user; starting on its "
              "own.");
    EXPECT_EQ(FolderRefusal(FolderTrust::Missing, "/tmp/x"),
              "Lumetra: the channel folder \"/tmp/x\" does not exist; starting on its own.");
    EXPECT_EQ(FolderRefusal(FolderTrust::NotAFolder, "/tmp/x"),
              "Lumetra: the channel folder \"/tmp/x\" is not a folder; starting on its own.");
    EXPECT_EQ(FolderRefusal(FolderTrust::NotAbsolute, "x"),
              "Lumetra: the channel folder \"x\" is not an absolute path; starting on its own.");
    // Not the name the socket itself once had there, which a stale one may still hold.
    EXPECT_EQ(FallbackChannelFolder("/tmp", 1000), "/tmp/lumetra-runtime-1000");
}

TEST(ChannelName, EachDisplayAndSettingsLocationHasItsOwn) {
    const std::string conf = "/home/ann/.config/Vandrel Enterprises/Lumetra.conf";
    const std::string base = ChannelName("", ":0", conf);
    EXPECT_EQ(base.size(), 24u);
    EXPECT_EQ(base.rfind("lumetra-", 0), 0u);
    EXPECT_EQ(base.find_first_not_of("0123456789abcdef", 8), std::string::npos);
    EXPECT_EQ(ChannelName("", ":0", conf), base);

    const std::set<std::string> names = {
        base,
        ChannelName("", ":1", conf),
        ChannelName("", "otherhost:0", conf),
        ChannelName("wayland-0", ":0", conf),
        ChannelName("wayland-1", ":0", conf),
        ChannelName("", ":0", "/home/ann/profile-b/Vandrel Enterprises/Lumetra.conf"),
        ChannelName("", "", conf),
    };
    EXPECT_EQ(names.size(), 7u);
}

TEST(ChannelName, TheScreenOfAnXDisplayDoesNotCount) {
    EXPECT_EQ(ChannelName("", ":0.1", "/c"), ChannelName("", ":0", "/c"));
    EXPECT_EQ(ChannelName("", "localhost:10.0", "/c"), ChannelName("", "localhost:10", "/c"));
    EXPECT_NE(ChannelName("", "host.example.org:0", "/c"), ChannelName("", "host:0", "/c"));
    // Under Wayland the X display an X program would use does not matter.
    EXPECT_EQ(ChannelName("wayland-0", ":0", "/c"), ChannelName("wayland-0", ":5", "/c"));
}

TEST(ChannelName, AGivenNameMustStayInsideTheFolder) {
    EXPECT_TRUE(IsPlainChannelName("lumetra-test-42"));
    EXPECT_TRUE(IsPlainChannelName(".hidden"));
    EXPECT_FALSE(IsPlainChannelName(""));
    EXPECT_FALSE(IsPlainChannelName("."));
    EXPECT_FALSE(IsPlainChannelName(".."));
    EXPECT_FALSE(IsPlainChannelName("../lumetra"));
    EXPECT_FALSE(IsPlainChannelName("/tmp/lumetra"));
    EXPECT_EQ(BadInstanceNameNote("/tmp/x"),
              "Lumetra: LUMETRA_INSTANCE \"/tmp/x\" is not a plain name; starting on its own.");
}

} // namespace
} // namespace lumetra
