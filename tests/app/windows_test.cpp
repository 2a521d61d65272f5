// What only Windows does differently: UTF-16 environment, the temporary
// folder as the workspace's home, system messages and the ANSI code page.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "app/output.hpp"
#include "app/system_text.hpp"
#include "app/workspace.hpp"

namespace tesmara {
namespace {

namespace fs = std::filesystem;

// Sets (or with nullptr removes) an environment variable for one test.
class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const wchar_t* value) : m_name(name) {
        if (const wchar_t* before = _wgetenv(name)) {
            m_before = before;
            m_had = true;
        }
        set(value);
    }
    ~ScopedVariable() { set(m_had ? m_before.c_str() : nullptr); }

private:
    void set(const wchar_t* value) {
        _wputenv_s(m_name, value != nullptr ? value : L"");
        SetEnvironmentVariableW(m_name, value);
    }

    const wchar_t* m_name;
    std::wstring m_before;
    bool m_had = false;
};

class WindowsWorkspace : public testing::Test {
protected:
    void SetUp() override {
        // One folder per test: the tests run in parallel.
        m_folder =
            fs::temp_directory_path() /
            (L"tesmara-测试-" +
             fs::path(testing::UnitTest::GetInstance()->current_test_info()->name()).wstring());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    fs::path m_folder;
};

TEST_F(WindowsWorkspace, ChineseFolderFromTheEnvironment) {
    const fs::path chosen = m_folder / L"车间";
    const ScopedVariable workspace(L"TESMARA_WORKSPACE", chosen.c_str());
    const WorkspaceFolder found = findWorkspaceFolder();
    ASSERT_FALSE(found.error);
    EXPECT_EQ(found.folder, chosen);

    fs::create_directory(chosen);
    const Workspace files(found.folder);
    EXPECT_TRUE(files.reset().empty());
    EXPECT_FALSE(files.appendMain("M01\r\n"));
    EXPECT_EQ(files.read().texts.main, "O100\r\nM01\r\n");
    EXPECT_TRUE(fs::exists(chosen / L"临时.NC"));
    EXPECT_TRUE(fs::exists(chosen / L"临时子程序.NC"));
}

TEST_F(WindowsWorkspace, TemporaryFolderOrAClearError) {
    ASSERT_FALSE(fs::exists("C:\\DOCUME~1\\ADMINI~1\\LOCALS~1\\Temp"))
        << "the historical folder wins";
    const ScopedVariable noWorkspace(L"TESMARA_WORKSPACE", nullptr);
    {
        const ScopedVariable tmp(L"TMP", m_folder.c_str());
        const ScopedVariable temp(L"TEMP", m_folder.c_str());
        const WorkspaceFolder found = findWorkspaceFolder();
        ASSERT_FALSE(found.error) << *found.error;
        EXPECT_EQ(found.folder, m_folder / "") << "as Windows gives it, with a final separator";
    }
    const fs::path missing = m_folder / L"不存在";
    const ScopedVariable tmp(L"TMP", missing.c_str());
    const ScopedVariable temp(L"TEMP", missing.c_str());
    const WorkspaceFolder none = findWorkspaceFolder();
    ASSERT_TRUE(none.error);
    EXPECT_NE(none.error->find("找不到临时文件夹"), std::string::npos) << *none.error;
    EXPECT_NE(none.error->find("TEMP"), std::string::npos) << *none.error;
}

bool validUtf8(const std::string& text) {
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                               static_cast<int>(text.size()), nullptr, 0) > 0;
}

TEST(WindowsText, SystemMessagesAreUtf8WithoutLineBreak) {
    for (const DWORD code : {ERROR_FILE_NOT_FOUND, ERROR_SHARING_VIOLATION, ERROR_ACCESS_DENIED}) {
        const std::string text = systemErrorText(code);
        EXPECT_FALSE(text.empty()) << code;
        EXPECT_TRUE(validUtf8(text)) << code;
        EXPECT_FALSE(text.ends_with('\n') || text.ends_with('\r')) << code;
        EXPECT_EQ(errorText(std::error_code(static_cast<int>(code), std::system_category())), text);
    }
    EXPECT_EQ(errorText(std::make_error_code(std::errc::no_such_file_or_directory)),
              "No such file or directory");
}

TEST(WindowsText, FilesTakeTheAnsiCodePage) {
    EXPECT_EQ(toCodePage("临时子程序", 936), "\xC1\xD9\xCA\xB1\xD7\xD3\xB3\xCC\xD0\xF2");
    EXPECT_EQ(toCodePage("Ø25", 1252),
              "\xD8"
              "25");
    EXPECT_EQ(toCodePage("孔", 1252), "?") << "a character the code page lacks";
    const std::string program = "O1234\r\n(孔 Ø25)\r\nG00 X0.\r\n";
    EXPECT_EQ(fileBytes(program), toCodePage(program, GetACP()));
    EXPECT_EQ(fileBytes("G01 Z-1. F300.\r\n"), "G01 Z-1. F300.\r\n");
}

}  // namespace
}  // namespace tesmara
