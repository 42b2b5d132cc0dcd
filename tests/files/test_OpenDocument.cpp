// The File menu's rules on the open document, without a window: the person
// and the file choosers are scripted, the files are real.
#include "support/StoredImages.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"
#include "files/U_FileAccess.h"
#include "files/U_OpenDocument.h"
#include "files/dc_Ini.h"

#include <gtest/gtest.h>

#include <deque>

namespace fs = std::filesystem;

namespace {

// Picks the scripted names in order; "" or none left: cancelled.
class TScriptedChooser : public TFileChooser {
public:
    std::deque<std::string> Names;
    std::string OpenName(const std::string&, const std::string&) override { return Take(); }
    std::string SaveName(const std::string&, const std::string&, const std::string&) override { return Take(); }

private:
    std::string Take()
    {
        if (Names.empty())
            return {};
        std::string name = Names.front();
        Names.pop_front();
        return name;
    }
};

// A program folder with a session started in it as the window starts one.
struct TRig {
    TTempFolder Dir;
    TScriptedPrompt Person;
    TScriptedChooser Chooser;
    std::unique_ptr<TOpenDocument> Open;

    std::string Path(const std::string& name) const { return Dir / name; }
    TOpenDocument& Start(const std::string& startupFile = {})
    {
        Open = std::make_unique<TOpenDocument>(Dir.Path.string(), Person, Chooser);
        Open->OpenStartupFile(startupFile);
        return *Open;
    }
    // A data file whose document has this serial number.
    std::string WriteFile(const std::string& name, const std::string& serial)
    {
        TRKmem doc;
        TMap54 image;
        TOpenDocument::MakeNew(doc, image);
        doc.SerialNo = serial;
        EXPECT_TRUE(WriteDataFile(Path(name), doc, image, Person));
        return Path(name);
    }
};

} // namespace

// A startup file is opened by the name typed and writes no default
// document; the first start without one writes the default document
// read-only and the next opens it; one that does not read is told and left
// alone.
TEST(OpenDocument, StartsWithTheStartupFileOrTheDefaultDocument)
{
    TRig rig;
    const std::string site = rig.WriteFile("site.r54", "87654321");
    TOpenDocument& typed = rig.Start(site);
    EXPECT_EQ(typed.CurrentFileName(), site);
    EXPECT_EQ(typed.Document().SerialNo, "87654321");
    const std::string path = rig.Path("defaultv.R54");
    EXPECT_FALSE(fs::exists(path));

    TOpenDocument& open = rig.Start();
    EXPECT_EQ(TTempFolder::Read(path), ExpectedDefaultImage("defaultv"));
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(open.CurrentFileName(), "<none>");
    EXPECT_FALSE(open.SaveEnabled());
    EXPECT_TRUE(rig.Person.Messages.empty());

    TOpenDocument& next = rig.Start();
    EXPECT_EQ(next.CurrentFileName(), path);
    EXPECT_TRUE(next.SaveEnabled());

    fs::remove(path);
    TTempFolder::Write(path, {'n', 'o', 't'});
    TOpenDocument& unreadable = rig.Start();
    EXPECT_EQ(TTempFolder::Read(path), (std::vector<uint8_t> {'n', 'o', 't'}));
    EXPECT_EQ(unreadable.CurrentFileName(), "<none>");
    EXPECT_EQ(rig.Person.Told(), std::vector<std::string> {FileMessages::FormatError});
}

TEST(OpenDocument, SaveNeverReplacesTheDefaultDocument)
{
    TRig rig;
    rig.Start();
    TOpenDocument& open = rig.Start();  // the default document is open
    const std::string defaultFile = rig.Path("defaultv.R54");
    const auto before = TTempFolder::Read(defaultFile);
    open.Document().SerialNo = "11112222";

    rig.Chooser.Names = {defaultFile};  // a name is asked for; the default document is refused
    EXPECT_FALSE(open.SaveCommand());
    EXPECT_EQ(rig.Person.Messages.back().Text, FileMessages::WriteError(defaultFile));

    const std::string target = rig.Path("saved.R54");
    rig.Chooser.Names = {target};
    EXPECT_TRUE(open.SaveCommand());
    EXPECT_EQ(open.CurrentFileName(), target);
    EXPECT_FALSE(open.Modified());
    EXPECT_EQ(TTempFolder::Read(defaultFile), before);

    // A named file is saved without asking (the chooser has no name left).
    EXPECT_TRUE(open.SaveCommand());
}

// Every command that replaces the document asks the save question of an
// edited one; only Yes (saved) and No go on. Cancel (Esc, the close box)
// and a cancelled save keep the edit and every file as it was.
TEST(OpenDocument, OnlyYesAndNoGoOnFromTheSaveQuestion)
{
    const struct {
        const char* Name;
        TAnswer Answer;
        const char* SaveName;  // what the save chooser answers after Yes
        bool GoesOn;
    } answers[] = {
        {"Yes, saved", TAnswer::Yes, "kept.R54", true},
        {"Yes, save cancelled", TAnswer::Yes, "", false},
        {"No", TAnswer::No, "", true},
        {"Cancel", TAnswer::Cancel, "", false},
    };
    for (const std::string command : {"New", "Open", "Recent", "Close"})
        for (const auto& c : answers) {
            SCOPED_TRACE(command + ", " + c.Name);
            TRig rig;
            const std::string other = rig.WriteFile("other.R54", "22222222");
            const auto otherBytes = TTempFolder::Read(other);
            TIniData ini(rig.Path("RK54Win.ini"));
            ini.SetValue("FILE1", other);
            TOpenDocument& open = rig.Start();
            open.ReadSettings(ini);
            open.WorkChannels()[3].TxPower = 1;
            open.CommitWork();
            ASSERT_TRUE(open.Modified());

            rig.Person.Answers = {c.Answer};
            if (c.Answer == TAnswer::Yes)
                rig.Chooser.Names.push_back(*c.SaveName ? rig.Path(c.SaveName) : "");
            rig.Chooser.Names.push_back(other);  // Open's choice
            bool wentOn = false;
            if (command == "New")
                wentOn = open.New();
            else if (command == "Open")
                wentOn = open.Open();
            else if (command == "Recent")
                wentOn = open.OpenRecent(0);
            else
                wentOn = open.AskToSave();  // closing the window

            EXPECT_EQ(wentOn, c.GoesOn);
            EXPECT_EQ(rig.Person.Asked(), std::vector<std::string> {"Do you want to save the file?"});
            EXPECT_EQ(fs::exists(rig.Path("kept.R54")), c.Answer == TAnswer::Yes && *c.SaveName);
            if (fs::exists(rig.Path("kept.R54"))) {
                TRKmem kept;
                TMap54 image;
                ASSERT_TRUE(ReadDataFile(rig.Path("kept.R54"), kept, image, rig.Person));
                EXPECT_EQ(kept.Channels[3].TxPower, 1) << "the edit is saved";
            }
            EXPECT_EQ(TTempFolder::Read(other), otherBytes);
            if (!c.GoesOn) {
                EXPECT_EQ(open.Document().Channels[3].TxPower, 1);
                EXPECT_TRUE(open.Modified());
                EXPECT_EQ(open.CurrentFileName(), "<none>");
            } else if (command != "Close") {
                EXPECT_EQ(open.Document().Channels[3].TxPower, 0);
                EXPECT_FALSE(open.Modified());
                EXPECT_EQ(open.CurrentFileName(), command == "New" ? std::string("<none>") : other);
            }
        }
}

TEST(OpenDocument, OpenKeepsTheRecentListNewestFirst)
{
    TRig rig;
    const std::string a = rig.WriteFile("a.R54", "11111111");
    const std::string b = rig.WriteFile("b.R54", "22222222");
    TOpenDocument& open = rig.Start();
    rig.Chooser.Names = {a, b, a};
    for (int k = 0; k < 3; ++k)
        ASSERT_TRUE(open.Open());

    // A file that does not read changes nothing: a is current, b before it.
    TTempFolder::Write(rig.Path("bad.R54"), std::vector<uint8_t>(100, 'x'));
    rig.Chooser.Names = {rig.Path("bad.R54")};
    EXPECT_FALSE(open.Open());
    EXPECT_EQ(open.CurrentFileName(), a);
    EXPECT_EQ(open.RecentFiles(), (std::vector<std::string> {a, b}));

    EXPECT_TRUE(open.OpenRecent(1));
    EXPECT_EQ(open.CurrentFileName(), b);  // named only once it was read
    EXPECT_EQ(open.RecentFiles(), (std::vector<std::string> {b, a}));

    // Only the newest four are kept.
    for (const char* name : {"c.R54", "d.R54", "e.R54", "f.R54"}) {
        rig.Chooser.Names = {rig.WriteFile(name, "33333333")};
        ASSERT_TRUE(open.Open());
    }
    EXPECT_EQ(open.RecentFiles(),
              (std::vector<std::string> {rig.Path("f.R54"), rig.Path("e.R54"), rig.Path("d.R54"), rig.Path("c.R54")}));
}
