// Replacing a file: what may be replaced, what is kept, and that nothing
// but the chosen file is ever written, whatever lies in its folder.
#include "app/file_write.hpp"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>

#include "unprivileged.hpp"

namespace tesmara {
namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

unsigned modeOf(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// Names in the folder that a writer left behind besides `keep`.
std::vector<std::string> leftovers(const fs::path& folder, std::vector<std::string> keep) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (std::find(keep.begin(), keep.end(), name) == keep.end()) {
            found.push_back(name);
        }
    }
    return found;
}

class FileWriteTest : public testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() /
                   ("tesmara-write-" + std::to_string(::getpid()) + "-" +
                    testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        fs::permissions(m_folder, fs::perms::all);  // the unprivileged child works here too
    }
    void TearDown() override { fs::remove_all(m_folder); }

    fs::path m_folder;
};

void makeSocket(const fs::path& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

// What lies at the chosen name decides: a new name or a plain file (also
// through links) is written with its mode kept; anything else is refused
// with its kind named and left as it was.
TEST_F(FileWriteTest, WhatLiesAtTheChosenName) {
    struct Case {
        const char* name;
        std::function<void(const fs::path& target, const fs::path& folder)> make;
        FileRefusal refusal;  // None: written
        std::string_view mention;
        unsigned mode;  // of the file written, through any link
    };
    const unsigned fresh = 0666 & ~[] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return mask;
    }();
    auto regular = [](unsigned mode) {
        return [mode](const fs::path& target, const fs::path&) {
            writeBytes(target, "old");
            ::chmod(target.c_str(), mode);
        };
    };
    std::vector<Case> cases = {
        {"new name", [](const fs::path&, const fs::path&) {}, FileRefusal::None, "", fresh},
        {"0600 stays", regular(0600), FileRefusal::None, "", 0600},
        {"0640 stays", regular(0640), FileRefusal::None, "", 0640},
        {"link followed",
         [](const fs::path& target, const fs::path& folder) {
             writeBytes(folder / "real", "old");
             ::chmod((folder / "real").c_str(), 0604);
             fs::create_symlink("real", target);
         },
         FileRefusal::None, "", 0604},
        {"read-only", regular(0444), FileRefusal::ReadOnly, "read-only", 0444},
        {"folder", [](const fs::path& t, const fs::path&) { fs::create_directory(t); },
         FileRefusal::Folder, "folder", 0},
        {"fifo", [](const fs::path& t, const fs::path&) { ::mkfifo(t.c_str(), 0666); },
         FileRefusal::Fifo, "FIFO", 0},
        {"socket", [](const fs::path& t, const fs::path&) { makeSocket(t); }, FileRefusal::Socket,
         "socket", 0},
        {"link to a device",
         [](const fs::path& t, const fs::path&) { fs::create_symlink("/dev/null", t); },
         FileRefusal::Device, "device", 0},
        {"broken link",
         [](const fs::path& t, const fs::path&) { fs::create_symlink("nothing", t); },
         FileRefusal::BrokenLink, "does not exist", 0},
    };
    if (::geteuid() == 0) {
        cases.push_back({"device node",
                         [](const fs::path& t, const fs::path&) {
                             ASSERT_EQ(::mknod(t.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
                         },
                         FileRefusal::Device, "device", 0});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path folder = m_folder / c.name;
        fs::create_directory(folder);
        const fs::path target = folder / "part.NC";
        c.make(target, folder);
        const auto before = fs::symlink_status(target).type();
        const auto failure = writeFileAtomically(target, "new bytes");
        if (c.refusal == FileRefusal::None) {
            ASSERT_FALSE(failure) << englishReason(*failure);
            EXPECT_EQ(readBytes(target), "new bytes");
            EXPECT_EQ(modeOf(target), c.mode);
            EXPECT_EQ(fs::symlink_status(target).type(),
                      before == fs::file_type::not_found ? fs::file_type::regular : before);
        } else {
            ASSERT_TRUE(failure);
            EXPECT_EQ(failure->refusal, c.refusal);
            EXPECT_NE(englishReason(*failure).find(c.mention), std::string::npos)
                << englishReason(*failure);
            EXPECT_EQ(fs::symlink_status(target).type(), before);
        }
        if (failure && fs::is_regular_file(target)) {
            EXPECT_EQ(readBytes(target), "old");
        }
        EXPECT_EQ(leftovers(folder, {"part.NC", "real"}), std::vector<std::string>{});
    }
}

// The superuser replacing another user's file gives it back to that user.
TEST_F(FileWriteTest, OwnerAndGroupAreKept) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only the superuser can make a file another user's";
    }
    const fs::path target = m_folder / "theirs.NC";
    writeBytes(target, "old");
    ASSERT_EQ(::chown(target.c_str(), kNobody, kNogroup), 0);
    ASSERT_FALSE(writeFileAtomically(target, "new"));
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, kNobody);
    EXPECT_EQ(info.st_gid, kNogroup);
}

// Links planted at the names the writer tries (another user's, in a folder
// both may write) are passed over and never receive a byte; when every name
// is taken the write fails and says why.
TEST_F(FileWriteTest, PlantedLinksNeverReceiveTheBytes) {
    const fs::path victim = m_folder / "victim";
    writeBytes(victim, "precious");
    const ChildRun planted = runUnprivileged([&](std::string&) {
        for (int i = 0; i < 5; ++i) {
            if (::symlink(victim.c_str(), (m_folder / (".n" + std::to_string(i))).c_str()) != 0) {
                return 1;
            }
        }
        return 0;
    });
    ASSERT_EQ(planted.status, 0);
    int next = 0;
    const auto names = [&] { return ".n" + std::to_string(next++); };
    const fs::path target = m_folder / "part.NC";
    ASSERT_FALSE(writeFileAtomically(target, "new", names));
    EXPECT_EQ(readBytes(target), "new");
    EXPECT_GT(next, 5);

    const auto always = [] { return std::string(".n0"); };
    const auto failure = writeFileAtomically(target, "newer", always);
    ASSERT_TRUE(failure);
    EXPECT_EQ(englishReason(*failure), std::strerror(EEXIST));
    EXPECT_EQ(readBytes(target), "new");
    EXPECT_EQ(readBytes(victim), "precious");
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(fs::is_symlink(m_folder / (".n" + std::to_string(i))));
    }
    EXPECT_EQ(leftovers(m_folder, {"victim", "part.NC", ".n0", ".n1", ".n2", ".n3", ".n4"}),
              std::vector<std::string>{});
}

// An ordinary user: a file that is not theirs to write, or a folder they may
// not write in, is refused with the reason and nothing is left behind.
TEST_F(FileWriteTest, WithoutPermissionNothingIsWritten) {
    struct Case {
        const char* name;
        unsigned folderMode;
        unsigned fileMode;  // 0: no file there before
        FileRefusal refusal;
        std::string_view reason;
    };
    std::vector<Case> cases = {
        {"folder not writable", 0555, 0, FileRefusal::None, std::strerror(EACCES)},
        {"file writable, folder not", 0555, 0666, FileRefusal::None, std::strerror(EACCES)},
    };
    if (::geteuid() == 0) {  // the child is then another user than the files' owner
        cases.push_back(
            {"another user's file", 0777, 0644, FileRefusal::ReadOnly, "the file is read-only"});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path folder = m_folder / c.name;
        fs::create_directory(folder);
        const fs::path target = folder / "part.NC";
        if (c.fileMode != 0) {
            writeBytes(target, "old");
            ::chmod(target.c_str(), c.fileMode);
        }
        ::chmod(folder.c_str(), c.folderMode);
        const ChildRun run = runUnprivileged([&](std::string& message) {
            const auto failure = writeFileAtomically(target, "new");
            if (!failure) {
                return 0;
            }
            message = englishReason(*failure);
            return 10 + static_cast<int>(failure->refusal);
        });
        EXPECT_EQ(run.status, 10 + static_cast<int>(c.refusal)) << run.message;
        EXPECT_EQ(run.message, c.reason);
        EXPECT_EQ(readBytes(target), c.fileMode != 0 ? "old" : "");
        EXPECT_EQ(leftovers(folder, {"part.NC"}), std::vector<std::string>{});
    }
}

// A writer killed in the middle of a large write, or whose write fails
// there, leaves the old file whole and no temporary file.
TEST_F(FileWriteTest, InterruptedWriteLeavesTheOldFile) {
    struct Case {
        const char* name;
        bool ignoreSignal;  // the oversize write then fails instead of killing
    };
    const std::string large(4 << 20, 'x');
    for (const Case& c : {Case{"killed", false}, Case{"write fails", true}}) {
        SCOPED_TRACE(c.name);
        const fs::path target = m_folder / "part.NC";
        writeBytes(target, "old program");
        const pid_t child = ::fork();
        if (child == 0) {
            const rlimit size{1 << 20, 1 << 20};
            const rlimit core{0, 0};
            ::setrlimit(RLIMIT_FSIZE, &size);
            ::setrlimit(RLIMIT_CORE, &core);
            ::signal(SIGXFSZ, c.ignoreSignal ? SIG_IGN : SIG_DFL);
            ::_exit(writeFileAtomically(target, large) ? 3 : 0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        if (c.ignoreSignal) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << status;
        } else {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
        }
        EXPECT_EQ(readBytes(target), "old program");
        EXPECT_EQ(leftovers(m_folder, {"part.NC"}), std::vector<std::string>{});
    }
}

TEST(TemporaryName, UnpredictableHiddenAndNeverAProgram) {
    const std::string first = randomTemporaryName();
    EXPECT_NE(first, randomTemporaryName());
    EXPECT_TRUE(first.starts_with("."));
    EXPECT_TRUE(first.ends_with(".tmp"));
}

}  // namespace
}  // namespace tesmara
