#include "app/RecentFileList.h"
#include "platform/MemorySettingsStore.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

TEST(RecentFileList, KeepsFourNewestFirstWithoutRepeats) {
    MemorySettingsStore settings;
    CRecentFileList list(settings);
    for (const char* p : {"/a.dat", "/b.dat", "/c.dat", "/d.dat", "/e.dat", "/c.dat"})
        list.Add(p);
    EXPECT_EQ(list.Files(), (std::vector<std::string>{"/c.dat", "/e.dat", "/d.dat", "/b.dat"}));
    list.WriteList();
    EXPECT_EQ(settings.GetString("Recent File List", "File1"), "/c.dat");
    EXPECT_EQ(settings.GetString("Recent File List", "File4"), "/b.dat");

    list.Remove("/e.dat");
    list.WriteList();
    EXPECT_EQ(settings.GetString("Recent File List", "File4"), "");
    CRecentFileList again(settings);
    again.ReadList();
    EXPECT_EQ(again.Files(), (std::vector<std::string>{"/c.dat", "/d.dat", "/b.dat"}));
}

TEST(RecentFileList, MenuTextsAreShortenedToThirtyCharacters) {
    EXPECT_EQ(CRecentFileList::Abbreviate("/home/ada/x.dat", 30), "/home/ada/x.dat");
    EXPECT_EQ(CRecentFileList::Abbreviate("/home/ada/measurements/2026/run-07.dat", 30),
              "/.../2026/run-07.dat");
    EXPECT_EQ(CRecentFileList::Abbreviate("/home/ada/measurements/run-07.dat", 30),
              "/.../measurements/run-07.dat");
    EXPECT_EQ(CRecentFileList::Abbreviate("/data/a-very-long-file-name-of-a-run.dat", 30),
              "a-very-long-file-name-of-a-run.dat");
    EXPECT_EQ(CRecentFileList::Abbreviate("relative/folder/and/some-name-here.dat", 30),
              ".../and/some-name-here.dat");

    MemorySettingsStore settings;
    CRecentFileList list(settings);
    list.Add("/home/ada/measurements/2026/run-07.dat");
    list.Add("/tmp/R&D.dat");
    EXPECT_EQ(list.MenuText(0), "&1 /tmp/R&&D.dat");
    EXPECT_EQ(list.MenuText(1), "&2 /.../2026/run-07.dat");
    EXPECT_LE(CRecentFileList::Abbreviate("/home/ada/measurements/2026/run-07.dat", 30).size(),
              30u);
}

} // namespace
} // namespace lumetra
