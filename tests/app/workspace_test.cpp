// The workspace files, the workspace folder and the small text rules of the
// save dialog and the settings window.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "app/output.hpp"
#include "app/session.hpp"
#include "app/workspace.hpp"

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
    const WorkspaceTexts texts = workspace.read();
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
    EXPECT_EQ(present.read().main, "");
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

    fs::remove(made.folder);
    fs::create_directory_symlink(m_folder, made.folder);
    const WorkspaceFolder linked = findWorkspaceFolder();
    ASSERT_TRUE(linked.error);
    EXPECT_NE(linked.error->find(pathText(made.folder)), std::string::npos);

    if (before != nullptr) {
        ::setenv("TMPDIR", before, 1);
    } else {
        ::unsetenv("TMPDIR");
    }
}
#endif

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
