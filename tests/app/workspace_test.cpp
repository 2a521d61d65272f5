// The workspace files, the workspace folder and the small text rules of the
// save dialog and the settings window.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>

#include "app/output.hpp"
#include "app/session.hpp"
#include "app/subprograms.hpp"
#include "app/workspace.hpp"
#include "unprivileged.hpp"

namespace tesmara {
namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class WorkspaceTest : public testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() /
                   ("tesmara-test-" + std::to_string(::getpid()) + "-" +
                    testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    fs::path m_folder;
};

TEST_F(WorkspaceTest, ResetReadAndAppend) {
    const Workspace workspace(m_folder);
    std::ofstream(workspace.mainFile()) << "left from an earlier run";
    EXPECT_TRUE(workspace.reset().empty());
    EXPECT_EQ(readBytes(workspace.mainFile()), "O100\r\n");
    EXPECT_TRUE(fs::exists(workspace.subprogramFile()));
    EXPECT_EQ(workspace.mainFile().filename(), utf8Path("临时.NC"));
    EXPECT_EQ(workspace.subprogramFile().filename(), utf8Path("临时子程序.NC"));

    EXPECT_FALSE(workspace.appendMain("M01\r\n"));
    EXPECT_FALSE(workspace.appendMain("M02\r\n"));
    EXPECT_FALSE(workspace.appendSubprogram(std::string("O1\r\n\0tail", 10)));
    const WorkspaceTexts texts = workspace.read().texts;
    EXPECT_EQ(texts.main, "O100\r\nM01\r\nM02\r\n");
    EXPECT_EQ(texts.subprograms, "O1\r\n");  // up to the first zero byte
}

TEST_F(WorkspaceTest, MissingFilesAreNotMadeAgainAndAreNamed) {
    const Workspace workspace(m_folder / "gone");
    const std::vector<std::string> errors = workspace.reset();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_NE(errors[0].find(pathText(workspace.mainFile())), std::string::npos) << errors[0];
    EXPECT_NE(errors[1].find(pathText(workspace.subprogramFile())), std::string::npos);

    const Workspace present(m_folder);
    const auto error = present.appendMain("M01\r\n");
    ASSERT_TRUE(error);
    EXPECT_NE(error->find(pathText(present.mainFile())), std::string::npos);
    EXPECT_NE(error->find("No such file or directory"), std::string::npos);
    EXPECT_FALSE(fs::exists(present.mainFile()));
    const WorkspaceRead read = present.read();
    EXPECT_EQ(read.texts.main, "");
    ASSERT_EQ(read.errors.size(), 2u);
    EXPECT_NE(read.errors[0].find(pathText(present.mainFile())), std::string::npos);
}

// Nothing in the workspace follows a link planted at one of its names or
// waits on a FIFO there: the reset replaces what it finds, an append or a
// read refuses it with the reason.
TEST_F(WorkspaceTest, OnlyPlainFilesAreUsed) {
    const fs::path victim = m_folder / "victim";
    std::ofstream(victim) << "precious";
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> plant;
        std::string_view reason;
    };
    const Case cases[] = {
        {"link", [&](const fs::path& at) { fs::create_symlink(victim, at); }, "符号链接"},
        {"fifo", [](const fs::path& at) { ::mkfifo(at.c_str(), 0600); }, "不是普通文件"},
    };
    const Workspace workspace(m_folder);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.plant(workspace.mainFile());
        c.plant(workspace.subprogramFile());
        EXPECT_TRUE(workspace.reset().empty());
        EXPECT_EQ(readBytes(workspace.mainFile()), "O100\r\n");
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(workspace.subprogramFile())));

        fs::remove(workspace.mainFile());
        c.plant(workspace.mainFile());
        const auto error = workspace.appendMain("M01\r\n");
        ASSERT_TRUE(error);
        EXPECT_NE(error->find(pathText(workspace.mainFile())), std::string::npos);
        EXPECT_NE(error->find(c.reason), std::string::npos) << *error;
        ASSERT_EQ(workspace.read().errors.size(), 1u);
        EXPECT_NE(workspace.read().errors[0].find(c.reason), std::string::npos);
        fs::remove(workspace.mainFile());
    }
    EXPECT_EQ(readBytes(victim), "precious");
}

// A start finds what the last run left: programs it did not export become
// the backup pair (only the last generation is kept); a workspace as a reset
// or an export leaves it is simply reset.
TEST_F(WorkspaceTest, StartKeepsTheProgramsTheLastRunDidNotExport) {
    struct Case {
        const char* name;
        const char* main;  // null: no file
        const char* subprograms;
        const char* olderBackup;  // null: none
        bool backedUp;
    };
    const Case cases[] = {
        {"first run", nullptr, nullptr, nullptr, false},
        {"nothing collected", "O100\r\n", "", "older", false},
        {"programs left", "O100\r\nM01\r\n", "", "older", true},
        {"subprograms only", "O100\r\n", "O7\r\nM99\r\n", nullptr, true},
        {"main file gone", nullptr, "O7\r\nM99\r\n", "older", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        const Workspace workspace(m_folder);
        if (c.main != nullptr) {
            std::ofstream(workspace.mainFile(), std::ios::binary) << c.main;
        }
        if (c.subprograms != nullptr) {
            std::ofstream(workspace.subprogramFile(), std::ios::binary) << c.subprograms;
        }
        if (c.olderBackup != nullptr) {
            std::ofstream(workspace.backupMainFile()) << c.olderBackup;
            std::ofstream(workspace.backupSubprogramFile()) << c.olderBackup;
        }
        const WorkspaceStart start = workspace.start();
        EXPECT_TRUE(start.errors.empty()) << start.errors.front();
        EXPECT_EQ(start.backedUp, c.backedUp);
        EXPECT_EQ(readBytes(workspace.mainFile()), "O100\r\n");
        EXPECT_EQ(readBytes(workspace.subprogramFile()), "");
        if (c.backedUp) {
            EXPECT_EQ(readBytes(workspace.backupMainFile()), c.main ? c.main : "");
            EXPECT_EQ(fs::exists(workspace.backupMainFile()), c.main != nullptr);
            EXPECT_EQ(readBytes(workspace.backupSubprogramFile()), c.subprograms);
        } else {
            EXPECT_EQ(readBytes(workspace.backupMainFile()), c.olderBackup ? c.olderBackup : "");
        }
    }
}

// Programs that cannot be kept are not reset either: the run is told and
// the files stay as they are.
TEST_F(WorkspaceTest, StartThatCannotKeepTheProgramsResetsNothing) {
    const Workspace workspace(m_folder);
    std::ofstream(workspace.mainFile(), std::ios::binary) << "O100\r\nM01\r\n";
    fs::create_directories(workspace.backupMainFile() / "in the way");
    const WorkspaceStart start = workspace.start();
    ASSERT_EQ(start.errors.size(), 1u);
    EXPECT_NE(start.errors[0].find(pathText(workspace.backupMainFile())), std::string::npos);
    EXPECT_FALSE(start.backedUp);
    EXPECT_EQ(readBytes(workspace.mainFile()), "O100\r\nM01\r\n");
}

#ifndef _WIN32
TEST_F(WorkspaceTest, FolderFromTheEnvironmentOrPrivateInTheTemporaryFolder) {
    const char* before = std::getenv("TMPDIR");
    ::setenv("TMPDIR", m_folder.c_str(), 1);
    ::setenv(kWorkspaceFolderVariable, (m_folder / "chosen").c_str(), 1);
    EXPECT_EQ(findWorkspaceFolder().folder, m_folder / "chosen");

    ::unsetenv(kWorkspaceFolderVariable);
    const WorkspaceFolder made = findWorkspaceFolder();
    ASSERT_FALSE(made.error) << *made.error;
    EXPECT_EQ(made.folder.parent_path(), m_folder);
    EXPECT_TRUE(made.folder.filename().string().starts_with("tesmara-"));
    struct stat info {};
    ASSERT_EQ(::stat(made.folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_FALSE(findWorkspaceFolder().error);  // found again on the next start

    // A folder that another user could plant files in is refused, not repaired.
    struct Unsafe {
        const char* name;
        std::function<void(const fs::path&)> make;
    };
    std::vector<Unsafe> unsafe = {
        {"link", [&](const fs::path& f) { fs::create_directory_symlink(m_folder, f); }},
        {"others may write",
         [](const fs::path& f) { fs::create_directory(f), ::chmod(f.c_str(), 0777); }},
        {"group may write",
         [](const fs::path& f) { fs::create_directory(f), ::chmod(f.c_str(), 0770); }},
    };
    if (::geteuid() == 0) {
        unsafe.push_back({"another user's", [](const fs::path& f) {
                              fs::create_directory(f), ::chmod(f.c_str(), 0700);
                              static_cast<void>(::chown(f.c_str(), kNobody, kNogroup));
                          }});
    }
    for (const Unsafe& u : unsafe) {
        SCOPED_TRACE(u.name);
        fs::remove_all(made.folder);
        u.make(made.folder);
        const WorkspaceFolder refused = findWorkspaceFolder();
        ASSERT_TRUE(refused.error);
        EXPECT_NE(refused.error->find(pathText(made.folder)), std::string::npos);
        EXPECT_NE(refused.error->find("不安全"), std::string::npos);
    }

    if (before != nullptr) {
        ::setenv("TMPDIR", before, 1);
    } else {
        ::unsetenv("TMPDIR");
    }
}
#endif

// One O number, one program: an identical subprogram is there already, a
// different one under a taken number (the main program's included) is refused.
TEST(SubprogramFit, OneNumberOneSubprogram) {
    const std::string a = "O7\r\nG01 F90\r\nM99\r\n";
    const std::string b = "O8\r\nG01 F90\r\nM99\r\n";
    struct Case {
        std::string collected;
        std::string subprogram;
        SubprogramFit fit;
    };
    const Case cases[] = {
        {"", a, SubprogramFit::New},
        {a, a, SubprogramFit::AlreadyThere},
        {b + a, a, SubprogramFit::AlreadyThere},
        {a, b, SubprogramFit::New},
        {a, "O7\r\nG01 F100\r\nM99\r\n", SubprogramFit::NumberTaken},
        {a, "O0007\r\nG01 F90\r\nM99\r\n", SubprogramFit::NumberTaken},
        {"", "O100\r\nM99\r\n", SubprogramFit::NumberTaken},
        {"", "O0100\r\nM99\r\n", SubprogramFit::NumberTaken},
        {"O\r\nM99\r\n", "O\r\nG0\r\nM99\r\n", SubprogramFit::NumberTaken},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fitSubprogram(c.collected, c.subprogram), c.fit)
            << c.collected << " + " << c.subprogram;
    }
    EXPECT_EQ(subprogramNumber("O0007\r\nM99\r\n"), "0007");
}

TEST(OutputPath, ExtensionAddedUnlessAlreadyThere) {
    const std::pair<const char*, const char*> cases[] = {
        {"/w/part", "/w/part.NC"},         {"/w/part.NC", "/w/part.NC"},
        {"/w/part.nc", "/w/part.nc"},      {"/w/part.Nc", "/w/part.Nc"},
        {"/w/part.txt", "/w/part.txt.NC"}, {"/w/NC", "/w/NC.NC"},
        {"/w/零件", "/w/零件.NC"},
    };
    for (const auto& [name, path] : cases) {
        EXPECT_EQ(outputPathFor(name), path) << name;
    }
}

TEST(SettingsText, SafeHeightShownWithoutALoneFinalPoint) {
    const std::pair<const char*, const char*> cases[] = {
        {"30.", "30"}, {"25", "25"}, {"12.5", "12.5"}, {"3.0.", "3.0."},
        {".", ""},     {"", ""},     {"30..", "30.."}, {".5", ".5"},
    };
    for (const auto& [stored, shown] : cases) {
        EXPECT_EQ(shownSafeHeight(stored), shown) << stored;
    }
}

}  // namespace
}  // namespace tesmara
