#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "QtText.h"
#include "SqlEditor.h"
#include "WindowFixture.h"

namespace fs = std::filesystem;

namespace {

std::string BoxText(const TfmMain& window)
{
    return FromQString(window.fedDataLink->currentText());
}

TEST_F(WindowTest, WithoutLinksFileStartsEmptyAndWritesTheListAtExit)
{
    TfmMain& window = Start();
    EXPECT_TRUE(desktop_.errors.empty());
    EXPECT_EQ(window.ProgramDir(), ProgramDir());
    EXPECT_EQ(window.LinksFileName(), InProgramDir("Links.txt"));
    EXPECT_EQ(Read("Links.txt"), "");
    EXPECT_EQ(window.fedDataLink->count(), 0);
    EXPECT_EQ(BoxText(window), "");

    window.fedDataLink->addItem("/data/a.udl");
    Close();
    EXPECT_EQ(Read("Links.txt"), "/data/a.udl\r\n");
}

TEST_F(WindowTest, RecentListDropsBlankLines)
{
    struct Case {
        std::string links;
        TStringList items;
        std::string box;
        std::string written;
    };
    const Case cases[] = {
        {"a.udl\r\n\r\n  \r\nb.udl\n\t\rc.udl", {"a.udl", "b.udl", "c.udl"}, "a.udl", "a.udl\r\nb.udl\r\nc.udl\r\n"},
        {"\r\nb.udl\r\n", {"b.udl"}, "", "b.udl\r\n"},
        {"  \n\n", {}, "  ", ""},
        {"Ф.udl\r\n", {"Ф.udl"}, "Ф.udl", "Ф.udl\r\n"},
    };
    for (const auto& c : cases) {
        Write("Links.txt", c.links);
        TfmMain& window = Start();
        EXPECT_EQ(window.RecentList(), c.items) << c.links;
        EXPECT_EQ(BoxText(window), c.box) << c.links;
        Close();
        EXPECT_EQ(Read("Links.txt"), c.written) << c.links;
    }
    EXPECT_TRUE(desktop_.errors.empty());
}

TEST_F(WindowTest, WithoutHistoryTheEditorIsEmptyAndAnEmptyFileIsWritten)
{
    TfmMain& window = Start();
    EXPECT_EQ(window.History().Count(), 0);
    EXPECT_EQ(window.HistoryIndex(), -1);
    EXPECT_EQ(window.redSQL->Text(), "");
    EXPECT_FALSE(window.btnPrev->isEnabled());
    EXPECT_FALSE(window.btnNext->isEnabled());
    Close();
    EXPECT_EQ(Read("SqlHistory.txt"), "");
}

TEST_F(WindowTest, HistoryButtonsStepThroughTheEntries)
{
    Write("SqlHistory.txt", "SELECT 0\r\n/**/\r\nSELECT 1\r\n/**/\r\nUPDATE t\r\nSET a = 2\r\n/**/\r\n");
    TfmMain& window = Start();
    struct Step {
        QToolButton* button;  // none: the state at start
        int index;
        std::string text;
        bool prev;
        bool next;
    };
    const Step steps[] = {
        {nullptr, 2, "UPDATE t\r\nSET a = 2", true, false},
        {window.btnPrev, 1, "SELECT 1", true, true},
        {window.btnPrev, 0, "SELECT 0", false, true},
        {window.btnNext, 1, "SELECT 1", true, true},
        {window.btnNext, 2, "UPDATE t\r\nSET a = 2", true, false},
    };
    for (const auto& step : steps) {
        if (step.button)
            step.button->click();
        EXPECT_EQ(window.HistoryIndex(), step.index);
        EXPECT_EQ(window.redSQL->Text(), step.text);
        EXPECT_EQ(window.btnPrev->isEnabled(), step.prev);
        EXPECT_EQ(window.btnNext->isEnabled(), step.next);
    }
    Close();
    EXPECT_EQ(Read("SqlHistory.txt"), "SELECT 0\r\n/**/\r\nSELECT 1\r\n/**/\r\nUPDATE t\r\nSET a = 2\r\n/**/\r\n");
}

TEST_F(WindowTest, CursorOutsideTheHistoryKeepsTheEditorText)
{
    Write("SqlHistory.txt", "only\r\n/**/\r\n");
    TfmMain& window = Start();
    EXPECT_EQ(window.redSQL->Text(), "only");
    window.redSQL->SetText("typed");
    window.NavigateHistory(THistoryMove::Next);
    EXPECT_EQ(window.HistoryIndex(), 1);
    EXPECT_EQ(window.redSQL->Text(), "typed");
    EXPECT_TRUE(window.btnPrev->isEnabled());
    EXPECT_FALSE(window.btnNext->isEnabled());
    window.NavigateHistory(THistoryMove::Previous);
    EXPECT_EQ(window.redSQL->Text(), "only");
    EXPECT_FALSE(window.btnPrev->isEnabled());
}

TEST_F(WindowTest, CommandLineNeedsExactlyTwoParametersAndAnExactSwitch)
{
    struct Case {
        TStringList arguments;
        std::string box;
    };
    const Case cases[] = {
        {{"-udl", "/data/x.udl"}, "/data/x.udl"},
        {{"-UDL", "/data/x.udl"}, "first.udl"},
        {{"-udl"}, "first.udl"},
        {{"-udl", "/data/x.udl", "extra"}, "first.udl"},
        {{"/data/x.udl", "-udl"}, "first.udl"},
        {{}, "first.udl"},
    };
    for (const auto& c : cases) {
        Write("Links.txt", "first.udl\r\n");
        TfmMain& window = Start(c.arguments);
        EXPECT_EQ(BoxText(window), c.box) << c.arguments.size();
        EXPECT_FALSE(window.TaskValues().has_value());
        Close();
        // The typed text is not a recent entry.
        EXPECT_EQ(Read("Links.txt"), "first.udl\r\n");
    }
    // Only the exact switch tried to connect, to the missing file.
    ASSERT_EQ(desktop_.errors.size(), 1u);
    EXPECT_NE(desktop_.errors[0].find("/data/x.udl"), std::string::npos);
}

TEST_F(WindowTest, TaskSwitchLoadsTheTaskFile)
{
    Write("job.txt", "udl=a.udl\nSQL= SELECT 1\r\nDestFile=out.sql");
    TfmMain& window = Start({"-task", InProgramDir("job.txt")});
    ASSERT_TRUE(window.TaskValues().has_value());
    EXPECT_EQ(*window.TaskValues(), (TStringList{"udl=a.udl", "SQL= SELECT 1", "DestFile=out.sql"}));
    EXPECT_TRUE(desktop_.errors.empty());

    Close();
    TfmMain& other = Start({"-Task", InProgramDir("job.txt")});
    EXPECT_FALSE(other.TaskValues().has_value());
}

TEST_F(WindowTest, UnreadableTaskFileIsShownAndLeavesEmptyTaskValues)
{
    TfmMain& window = Start({"-task", InProgramDir("missing.txt")});
    ASSERT_EQ(desktop_.errors.size(), 1u);
    EXPECT_NE(desktop_.errors[0].find("missing.txt"), std::string::npos);
    ASSERT_TRUE(window.TaskValues().has_value());
    EXPECT_TRUE(window.TaskValues()->empty());
}

TEST_F(WindowTest, CreationErrorSkipsTheRemainingStepsAndTheWindowStaysUsable)
{
    Write("Links.txt", "a.udl\r\n");
    Write("SqlHistory.txt", "kept\r\n/**/\r\n");
    fs::permissions(InProgramDir("SqlHistory.txt"), fs::perms::none);
    if (fs::exists(InProgramDir("SqlHistory.txt")) && std::ifstream(InProgramDir("SqlHistory.txt")).good()) {
        // Permissions do not stop this user: make the history a folder instead.
        fs::remove(InProgramDir("SqlHistory.txt"));
        fs::create_directories(InProgramDir("SqlHistory.txt/inside"));
    }
    TfmMain& window = Start({"-udl", "/data/x.udl"});
    ASSERT_EQ(desktop_.errors.size(), 1u);
    EXPECT_EQ(BoxText(window), "a.udl");      // the command line was not applied
    EXPECT_EQ(window.IniFile(), nullptr);    // nor were the steps before it
    EXPECT_FALSE(window.btnPrev->isEnabled());

    window.show();
    EXPECT_EQ(window.PageCtrl->currentWidget(), window.tsConnection);
    window.LogInfo("still alive");
    EXPECT_EQ(window.lbInfo->count(), 1);

    Close();
    // The history that could not be read is not overwritten; the recent list is saved.
    EXPECT_EQ(desktop_.errors.size(), 1u);
    EXPECT_EQ(Read("Links.txt"), "a.udl\r\n");
    fs::permissions(InProgramDir("SqlHistory.txt"), fs::perms::owner_all);
    if (fs::is_regular_file(InProgramDir("SqlHistory.txt"))) {
        EXPECT_EQ(Read("SqlHistory.txt"), "kept\r\n/**/\r\n");
    }
}

TEST_F(WindowTest, FailedSaveOfOneFileStillSavesTheOther)
{
    for (const std::string blocked : {"SqlHistory.txt", "Links.txt"}) {
        fs::remove_all(InProgramDir("SqlHistory.txt"));
        fs::remove_all(InProgramDir("Links.txt"));
        TfmMain& window = Start();
        window.fedDataLink->addItem("a.udl");
        // A folder with content takes the file's place: it cannot be replaced.
        fs::remove(InProgramDir(blocked));
        fs::create_directories(InProgramDir(blocked + "/inside"));
        desktop_.errors.clear();
        Close();
        ASSERT_EQ(desktop_.errors.size(), 1u) << blocked;
        EXPECT_NE(desktop_.errors[0].find(blocked), std::string::npos);
        if (blocked == "SqlHistory.txt")
            EXPECT_EQ(Read("Links.txt"), "a.udl\r\n");
        else
            EXPECT_EQ(Read("SqlHistory.txt"), "");
    }
}

TEST_F(WindowTest, ShowingSelectsTheConnectionPage)
{
    TfmMain& window = Start();
    EXPECT_EQ(window.PageCtrl->currentWidget(), window.tsSQL);
    window.show();
    EXPECT_EQ(window.PageCtrl->currentWidget(), window.tsConnection);
    window.PageCtrl->setCurrentIndex(2);
    window.hide();
    window.show();
    EXPECT_EQ(window.PageCtrl->currentIndex(), 2);
}

TEST_F(WindowTest, LogInfoAppendsAndSelectsTheLine)
{
    TfmMain& window = Start();
    EXPECT_EQ(window.lbInfo->count(), 0);
    for (const char* line : {"Connection established.", "Изменено записей: 3"}) {
        window.LogInfo(line);
        EXPECT_EQ(FromQString(window.lbInfo->currentItem()->text()), line);
    }
    EXPECT_EQ(window.lbInfo->count(), 2);
    EXPECT_EQ(window.lbInfo->currentRow(), 1);
}

TEST_F(WindowTest, AboutOpensTheHelpPageNextToTheProgram)
{
    TfmMain& window = Start({}, InProgramDir("quillet.bin"));
    window.btnAbout->click();
    EXPECT_TRUE(desktop_.openedDocuments.empty());
    Write("quillet.html", "<html></html>");
    window.btnAbout->click();
    EXPECT_EQ(desktop_.openedDocuments, (std::vector<std::string>{InProgramDir("quillet.html")}));
    EXPECT_TRUE(desktop_.errors.empty());
}

TEST_F(WindowTest, SettingsAreReadNextToTheProgramAtEveryUse)
{
    struct Case {
        std::string program;
        std::string ini;
    };
    for (const Case& c : {Case{"quillet", "quillet.INI"}, Case{"quillet.exe", "quillet.INI"},
                          Case{"my.app/quillet", "my.app/quillet.INI"}}) {
        fs::create_directories(InProgramDir("my.app"));
        TfmMain& window = Start({}, InProgramDir(c.program));
        ASSERT_NE(window.IniFile(), nullptr);
        EXPECT_EQ(window.IniFile()->FileName(), InProgramDir(c.ini));
        EXPECT_EQ(window.IniFile()->ReadInteger("SqlEditor", "MaxBytesLoaded", 1000), 1000);
        Write(c.ini, "[SqlEditor]\r\nMaxBytesLoaded=$40\r\n");
        EXPECT_EQ(window.IniFile()->ReadInteger("SqlEditor", "MaxBytesLoaded", 1000), 64);
        Close();
        fs::remove(InProgramDir(c.ini));
    }
}

TEST_F(WindowTest, ReadOnlyProgramFolderKeepsItsFilesInTheUserDataFolder)
{
    Write("quillet.INI", "[SqlEditor]\nMaxBytesLoaded=7\n");
    fs::permissions(ProgramDir(), fs::perms::owner_read | fs::perms::owner_exec);
    std::string programFile = InProgramDir("quillet");
    if (IsWritableDirectory(ProgramDir())) {
        // Folder modes do not stop this user: take a folder nobody can write to.
        programFile = "/proc/quillet";
    }
    TfmMain& window = Start({}, programFile);
    EXPECT_TRUE(desktop_.errors.empty());
    const std::string dataDir = DataHome() + FromQString(QCoreApplication::applicationName()) + "/";
    EXPECT_EQ(window.DataDir(), dataDir);
    EXPECT_EQ(window.LinksFileName(), dataDir + "Links.txt");
    if (programFile != "/proc/quillet") {
        EXPECT_EQ(window.IniFile()->ReadInteger("SqlEditor", "MaxBytesLoaded", 1000), 7);
    }
    window.fedDataLink->addItem("a.udl");
    Close();
    EXPECT_EQ(ReadFileBytes(dataDir + "Links.txt"), "a.udl\r\n");
    EXPECT_EQ(ReadFileBytes(dataDir + "SqlHistory.txt"), "");
    fs::permissions(ProgramDir(), fs::perms::owner_all);
    EXPECT_FALSE(fs::exists(InProgramDir("Links.txt")));
}

TEST_F(WindowTest, InstalledProgramFindsItsHelpPageInShareAndKeepsItsFilesPerUser)
{
    fs::create_directories(InProgramDir("bin"));
    fs::create_directories(InProgramDir("share/quillet"));
    Write("share/quillet/quillet.html", "<html></html>");
    const std::string dataDir = DataHome() + FromQString(QCoreApplication::applicationName()) + "/";
    fs::create_directories(dataDir);
    WriteFileBytes(dataDir + "quillet.INI", "[SqlEditor]\nMaxBytesLoaded=9\n");

    TfmMain& window = Start({}, InProgramDir("bin/quillet"));
    EXPECT_TRUE(desktop_.errors.empty());
    EXPECT_EQ(window.DataDir(), dataDir);
    EXPECT_EQ(window.IniFile()->ReadInteger("SqlEditor", "MaxBytesLoaded", 1000), 9);
    window.btnAbout->click();
    EXPECT_EQ(desktop_.openedDocuments, (std::vector<std::string>{InProgramDir("share/quillet/quillet.html")}));
    Close();
    EXPECT_EQ(ReadFileBytes(dataDir + "Links.txt"), "");
    EXPECT_FALSE(fs::exists(InProgramDir("bin/Links.txt")));

    // Files next to the program come first.
    Write("bin/quillet.html", "<html></html>");
    Write("bin/quillet.INI", "[SqlEditor]\nMaxBytesLoaded=5\n");
    TfmMain& again = Start({}, InProgramDir("bin/quillet"));
    EXPECT_EQ(again.IniFile()->ReadInteger("SqlEditor", "MaxBytesLoaded", 1000), 5);
    again.btnAbout->click();
    EXPECT_EQ(desktop_.openedDocuments.back(), InProgramDir("bin/quillet.html"));
}

TEST_F(WindowTest, ListsShippedWithTheProgramAreReadUntilTheUserHasHisOwn)
{
    fs::create_directories(DataHome() + "user");
    TProgramFiles files;
    files.ProgramDir = ProgramDir();
    files.DataDir = DataHome() + "user/";
    struct Case {
        bool shipped;
        bool own;
        std::string read;
    };
    for (const Case& c : {Case{false, false, files.DataDir}, Case{true, false, files.ProgramDir},
                          Case{false, true, files.DataDir}, Case{true, true, files.DataDir}}) {
        fs::remove(files.ProgramDir + "Links.txt");
        fs::remove(files.DataDir + "Links.txt");
        if (c.shipped)
            WriteFileBytes(files.ProgramDir + "Links.txt", "");
        if (c.own)
            WriteFileBytes(files.DataDir + "Links.txt", "");
        EXPECT_EQ(files.StartFile("Links.txt"), c.read + "Links.txt") << c.shipped << c.own;
    }
    // A writable program folder is the data folder: nothing else is looked at.
    files.DataDir = files.ProgramDir;
    EXPECT_EQ(files.StartFile("Links.txt"), files.ProgramDir + "Links.txt");
}

TEST_F(WindowTest, FirstStartFromAReadOnlyProgramFolderKeepsTheShippedLists)
{
    Write("Links.txt", "shipped.udl\r\n");
    Write("SqlHistory.txt", "SELECT 'shipped'\r\n/**/\r\n");
    fs::permissions(ProgramDir(), fs::perms::owner_read | fs::perms::owner_exec);
    if (IsWritableDirectory(ProgramDir())) {
        fs::permissions(ProgramDir(), fs::perms::owner_all);
        GTEST_SKIP() << "folder modes do not stop this user";
    }
    TfmMain& window = Start();
    EXPECT_TRUE(desktop_.errors.empty());
    EXPECT_EQ(window.RecentList(), TStringList{"shipped.udl"});
    EXPECT_EQ(window.redSQL->Text(), "SELECT 'shipped'");
    window.fedDataLink->addItem("mine.udl");
    Close();
    fs::permissions(ProgramDir(), fs::perms::owner_all);
    const std::string dataDir = DataHome() + FromQString(QCoreApplication::applicationName()) + "/";
    EXPECT_EQ(ReadFileBytes(dataDir + "Links.txt"), "shipped.udl\r\nmine.udl\r\n");
    EXPECT_EQ(ReadFileBytes(dataDir + "SqlHistory.txt"), "SELECT 'shipped'\r\n/**/\r\n");
    EXPECT_EQ(Read("Links.txt"), "shipped.udl\r\n");
}

TEST_F(WindowTest, GuardedShowsTheErrorAndGoesOn)
{
    TfmMain& window = Start();
    EXPECT_FALSE(window.Guarded([] { throw std::runtime_error("Table not found."); }));
    EXPECT_TRUE(window.Guarded([&] { window.LogInfo("next"); }));
    EXPECT_EQ(desktop_.errors, (std::vector<std::string>{"Table not found."}));
    EXPECT_EQ(window.lbInfo->count(), 1);
}

} // namespace
