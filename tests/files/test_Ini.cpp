#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"
#include "files/dc_Ini.h"

#include <gtest/gtest.h>

namespace {

std::string Text(const std::string& path)
{
    const auto bytes = TTempFolder::Read(path);
    return {bytes.begin(), bytes.end()};
}

void WriteText(const std::string& path, const std::string& text)
{
    TTempFolder::Write(path, {text.begin(), text.end()});
}

} // namespace

TEST(TIniData, ReadsSettingsAndKeepsLinesAndComments)
{
    TTempFolder dir;
    const std::string path = dir / "RK54Win.ini";
    WriteText(path,
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
    EXPECT_EQ(Text(path),
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
    EXPECT_EQ(Text(path), "FRMW=800\r\nFILE1=/tmp/a.R54\r\n");
    // Saved twice, every setting stays on its own line.
    ini.SetValue("FRMW", 801);
    ini.SetValue("FRMH", 600);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(Text(path), "FRMW=801;\r\nFILE1=/tmp/a.R54;\r\nFRMH=600\r\n");
}

TEST(TIniData, WriteFailureIsReportedAndLeavesTheFile)
{
    TTempFolder dir;
    const std::string path = dir / "RK54Win.ini";
    WriteText(path, "FRMX=1\r\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    TIniData ini(path);
    ASSERT_TRUE(ini.Load());
    ini.SetValue("FRMX", 2);
    EXPECT_FALSE(ini.Save());
    EXPECT_EQ(Text(path), "FRMX=1\r\n");

    TIniData nowhere(dir / "no/such/RK54Win.ini");
    nowhere.SetValue("FRMX", 2);
    EXPECT_FALSE(nowhere.Save());
}

TEST(TIniData, UnixLineEndsAndOddLines)
{
    TTempFolder dir;
    const std::string path = dir / "RK54Win.ini";
    WriteText(path, "FRMX=5\n=7\nFRMY = -3\n");
    TIniData ini(path);
    ASSERT_TRUE(ini.Load());
    EXPECT_EQ(ini.GetInt("FRMX", 0), 5);
    EXPECT_EQ(ini.GetInt("FRMY", 0), -3);
    EXPECT_EQ(ini.GetInt("", 0), 7);
}
