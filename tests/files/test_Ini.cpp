#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"
#include "files/dc_Ini.h"

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

TEST(TIniData, ReadsSettingsAndKeepsLinesAndComments)
{
    TTempFolder dir;
    const std::string path = dir / "RK54Win.ini";
    TTempFolder::WriteText(path,
              "; settings of the program\r\n"
              " COM_PORT = 3 ; port ; more\r\n"
              "FRMX=10\r\n"
              "\r\n"
              ";FRMY=20\r\n"
              "A=B=C\r\n"
              "CURFOLD=\r\n"
              "junk line\r\n"
              "Item5=1\r\n");
    TIniData ini(path);
    ASSERT_TRUE(ini.Load());
    EXPECT_EQ(ini.GetInt("COM_PORT", 1), 3);
    EXPECT_EQ(ini.GetInt("com_port", 1), 3);
    EXPECT_EQ(ini.GetInt("FRMX", 0), 10);
    EXPECT_EQ(ini.GetInt("FRMY", -1), -1);      // commented out
    EXPECT_EQ(ini.GetStr("A", ""), "B");
    EXPECT_EQ(ini.GetInt("A", 7), 7);           // not a number
    EXPECT_EQ(ini.GetStr("CURFOLD", "dflt"), "dflt");
    EXPECT_EQ(ini.GetInt("ITEM5", 0), 1);

    ini.SetValue("COM_PORT", 4);
    ini.SetValue("Item6", "0");
    ini.SetValue("FRMX", "");
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(TTempFolder::ReadText(path),
              "; settings of the program\r\n"
              "COM_PORT=4;port\r\n"
              "FRMX=;\r\n"
              "\r\n"
              ";FRMY=20\r\n"
              "A=B;\r\n"
              "CURFOLD=;\r\n"
              "junk line\r\n"
              "Item5=1;\r\n"
              "ITEM6=0\r\n");

    TIniData again(path);
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.GetInt("ITEM6", -1), 0);
    EXPECT_EQ(again.GetInt("COM_PORT", 1), 4);
    EXPECT_EQ(again.GetInt("FRMX", 99), 99);
}

TEST(TIniData, MissingFileIsCreated)
{
    TTempFolder dir;
    const std::string path = dir / "RK54Win.ini";
    TIniData ini(path);
    EXPECT_FALSE(ini.Load());
    EXPECT_EQ(ini.GetInt("FRMW", 640), 640);
    EXPECT_EQ(ini.GetStr("FILE1", ""), "");
    ini.SetValue("frmw", 800);
    ini.SetValue("FILE1", "/tmp/a.R54");
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(TTempFolder::ReadText(path), "FRMW=800\r\nFILE1=/tmp/a.R54\r\n");
    // Saved twice, every setting stays on its own line.
    ini.SetValue("FRMW", 801);
    ini.SetValue("FRMH", 600);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(TTempFolder::ReadText(path), "FRMW=801;\r\nFILE1=/tmp/a.R54;\r\nFRMH=600\r\n");
}

TEST(TIniData, WriteFailureIsReportedAndLeavesTheFile)
{
    TTempFolder dir;
    const std::string path = dir / "RK54Win.ini";
    TTempFolder::WriteText(path, "FRMX=1\r\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    TIniData ini(path);
    ASSERT_TRUE(ini.Load());
    ini.SetValue("FRMX", 2);
    EXPECT_FALSE(ini.Save());
    EXPECT_EQ(TTempFolder::ReadText(path), "FRMX=1\r\n");

    TIniData nowhere(dir / "no/such/RK54Win.ini");
    nowhere.SetValue("FRMX", 2);
    EXPECT_FALSE(nowhere.Save());
}

// A settings file that is there but cannot be read leaves the program on
// its defaults and is never written over, whatever is set meanwhile.
TEST(TIniData, AFileThatCannotBeReadIsNeverWritten)
{
    const std::string kept = "; my notes\r\nFRMX=10\r\n";
    const struct {
        const char* name;
        std::function<void(const std::string&)> make;
    } rows[] = {
        {"folder", [](const std::string& path) { std::filesystem::create_directory(path); }},
        {"FIFO", [](const std::string& path) { ::mkfifo(path.c_str(), 0644); }},
        {"link to a folder",
         [](const std::string& path) {
             std::filesystem::create_directory(path + ".d");
             std::filesystem::create_symlink(path + ".d", path);
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TTempFolder dir;
        const std::string path = dir / "RK54Win.ini";
        row.make(path);
        const auto type = std::filesystem::symlink_status(path).type();
        TIniData ini(path);
        EXPECT_FALSE(ini.Load());
        EXPECT_TRUE(ini.Unreadable());
        EXPECT_EQ(ini.GetInt("FRMX", -1), -1);
        ini.SetValue("FRMX", 20);
        EXPECT_FALSE(ini.Save());
        EXPECT_EQ(std::filesystem::symlink_status(path).type(), type);
    }

    // No read permission: as an ordinary user (root reads every file).
    TTempFolder dir;
    const std::string path = dir / "RK54Win.ini";
    TTempFolder::WriteText(path, kept);
    std::filesystem::permissions(path, std::filesystem::perms::owner_write);
    const auto noRead = [&] {
        TIniData ini(path);
        const bool loaded = ini.Load();
        ini.SetValue("FRMX", 20);
        return !loaded && ini.Unreadable() && ini.GetInt("FRMX", -1) == 20 && !ini.Save() ? 0 : 1;
    };
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
        ASSERT_EQ(::chown(dir.Path.c_str(), 65534, 65534), 0);
        EXPECT_EQ(RunAsNobody(noRead), 0);
    } else {
        EXPECT_EQ(noRead(), 0);
    }
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(TTempFolder::ReadText(path), kept);

    // A missing file is no such case: it is made at the first save.
    TIniData fresh(dir / "new.ini");
    EXPECT_FALSE(fresh.Load());
    EXPECT_FALSE(fresh.Unreadable());
}

TEST(TIniData, UnixLineEndsAndOddLines)
{
    TTempFolder dir;
    const std::string path = dir / "RK54Win.ini";
    TTempFolder::WriteText(path, "FRMX=5\n=7\nFRMY = -3\n");
    TIniData ini(path);
    ASSERT_TRUE(ini.Load());
    EXPECT_EQ(ini.GetInt("FRMX", 0), 5);
    EXPECT_EQ(ini.GetInt("FRMY", 0), -3);
    EXPECT_EQ(ini.GetInt("", 0), 7);
}
