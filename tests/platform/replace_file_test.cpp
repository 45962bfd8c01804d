#include "platform/replace_file.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/fifo_reader.h"
#include "support/file_bytes.h"
#include "support/file_permissions.h"
#include "support/temp_folder.h"

namespace velmora {
namespace {
namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::WriteFileBytes;

class ReplaceFileTest : public ::testing::Test {
 protected:
  static unsigned Mode(const fs::path& file) {
    struct stat status {};
    ::stat(file.c_str(), &status);
    return status.st_mode & 07777;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  static std::string MessageOf(const std::function<void()>& write) {
    try {
      write();
    } catch (const FileWriteError& e) {
      return e.what();
    }
    return "no error";
  }

  // Runs `write` in a child process whose files may not grow beyond `bytes`,
  // as on a full disk, and returns the message of the error it raised.
  static std::string MessageUnderSizeLimit(rlim_t bytes, const std::function<void()>& write) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
      ::close(pipeEnds[0]);
      // Ignored, the signal turns into the error EFBIG of the write.
      ::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{bytes, bytes};
      ::setrlimit(RLIMIT_FSIZE, &limit);
      const std::string message = MessageOf(write);
      [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], message.data(), message.size());
      ::_exit(0);
    }
    ::close(pipeEnds[1]);
    std::string message;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
      message.append(buffer, n);
    ::close(pipeEnds[0]);
    ::waitpid(child, nullptr, 0);
    return message;
  }

  const testing::TempFolder temp_;
  const fs::path& folder_ = temp_.Path();
};

TEST_F(ReplaceFileTest, WritesANewFileWithTheUsualCreationMode) {
  const mode_t old = ::umask(022);
  ReplaceFile(folder_ / "map.png", "picture");
  ::umask(old);
  EXPECT_EQ(ReadFileBytes(folder_ / "map.png"), "picture");
  EXPECT_EQ(Mode(folder_ / "map.png"), 0644u);
  EXPECT_EQ(Names(), std::vector<std::string>{"map.png"});
}

TEST_F(ReplaceFileTest, ReplacesAFileKeepingItsModeOrMakingItPrivate) {
  WriteFileBytes(folder_ / "settings.ini", "a long old text that is longer than the new one");
  ::chmod((folder_ / "settings.ini").c_str(), 0640);
  ReplaceFile(folder_ / "settings.ini", "new");
  EXPECT_EQ(ReadFileBytes(folder_ / "settings.ini"), "new");
  EXPECT_EQ(Mode(folder_ / "settings.ini"), 0640u);

  ReplaceFile(folder_ / "settings.ini", "secret", FileAccess::Private);
  EXPECT_EQ(Mode(folder_ / "settings.ini"), 0600u);
  EXPECT_EQ(Names(), std::vector<std::string>{"settings.ini"});
}

TEST_F(ReplaceFileTest, ReplacesTheFileBehindASymbolicLinkAndKeepsTheLink) {
  WriteFileBytes(folder_ / "real.ini", "old");
  fs::create_symlink("real.ini", folder_ / "link.ini");
  ReplaceFile(folder_ / "link.ini", "new");
  EXPECT_TRUE(fs::is_symlink(folder_ / "link.ini"));
  EXPECT_EQ(ReadFileBytes(folder_ / "real.ini"), "new");
}

TEST_F(ReplaceFileTest, AFullDiskLeavesTheOldFileAndNoTemporary) {
  const fs::path target = folder_ / "map.bmp";
  WriteFileBytes(target, "the good old picture");
  const std::string message =
      MessageUnderSizeLimit(100, [&] { ReplaceFile(target, std::string(1000, 'x')); });
  EXPECT_EQ(message, "The file '" + target.string() + "' could not be written: File too large");
  EXPECT_EQ(ReadFileBytes(target), "the good old picture");
  EXPECT_EQ(Names(), std::vector<std::string>{"map.bmp"});
}

TEST_F(ReplaceFileTest, AFailureNamesTheFileAndTheCause) {
  const fs::path missing = folder_ / "missing" / "map.png";
  EXPECT_EQ(MessageOf([&] { ReplaceFile(missing, "x"); }),
            "The file '" + missing.string() + "' could not be written: No such file or directory");

  // A folder in the target's place stays a folder, and nothing is left beside it.
  fs::create_directory(folder_ / "map.png");
  EXPECT_EQ(
      MessageOf([&] { ReplaceFile(folder_ / "map.png", "x"); }),
      "The file '" + (folder_ / "map.png").string() + "' could not be written: Is a directory");
  EXPECT_TRUE(fs::is_directory(folder_ / "map.png"));
  EXPECT_EQ(Names(), std::vector<std::string>{"map.png"});
}

TEST_F(ReplaceFileTest, AWriteProtectedFileStaysAsItIs) {
  const fs::path target = folder_ / "settings.ini";
  WriteFileBytes(target, "kept");
  ::chmod(target.c_str(), 0444);
  {
    const testing::WithoutOverridingPermissions unprivileged;
    EXPECT_EQ(MessageOf([&] { ReplaceFile(target, "new"); }),
              "The file '" + target.string() + "' could not be written: Permission denied");
  }
  EXPECT_EQ(ReadFileBytes(target), "kept");
  EXPECT_EQ(Names(), std::vector<std::string>{"settings.ini"});
}

TEST_F(ReplaceFileTest, AReplacementGivesAPathWithTheTargetsExtension) {
  const fs::path target = folder_ / "demo.sqlite";
  WriteFileBytes(target, "old");
  {
    FileReplacement replacement(target);
    EXPECT_EQ(replacement.TemporaryPath().parent_path(), folder_);
    EXPECT_EQ(replacement.TemporaryPath().extension(), ".sqlite");
    WriteFileBytes(replacement.TemporaryPath(), "abandoned");
  }
  EXPECT_EQ(ReadFileBytes(target), "old");
  EXPECT_EQ(Names(), std::vector<std::string>{"demo.sqlite"});

  FileReplacement replacement(target);
  WriteFileBytes(replacement.TemporaryPath(), "built");
  replacement.Commit();
  EXPECT_EQ(ReadFileBytes(target), "built");
  EXPECT_EQ(Names(), std::vector<std::string>{"demo.sqlite"});
}

// What the programs write reaches a FIFO or a device (a terminal, a pipe to
// another program) through it; the node itself is never replaced by a file.
// What cannot be written into is refused, and nothing is left beside it.
TEST_F(ReplaceFileTest, ADeviceOrFifoIsWrittenIntoAndNeverReplaced) {
  const fs::path node = folder_ / "out.png";
  std::optional<testing::FifoReader> reader;
  int socketFd = -1;
  const auto device = [&node](mode_t type, dev_t number) {
    return [&node, type, number] { return ::mknod(node.c_str(), type | 0600, number) == 0; };
  };
  const struct {
    std::string name;
    std::function<bool()> make;  // false: the system does not allow it here
    std::string refusal;         // empty: written into
  } cases[] = {
      {"a FIFO that a program reads",
       [&] {
         reader.emplace(node);
         return true;
       },
       ""},
      {"a character device, the null device made here (needs root)",
       device(S_IFCHR, ::makedev(1, 3)), ""},
      {"a FIFO that no program reads", [&] { return ::mkfifo(node.c_str(), 0600) == 0; },
       "it is a FIFO that no program reads"},
      {"a block device (needs root)", device(S_IFBLK, ::makedev(7, 0)), "it is a block device"},
      {"a socket",
       [&] {
         socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
         sockaddr_un address{};
         address.sun_family = AF_UNIX;
         node.native().copy(address.sun_path, sizeof address.sun_path - 1);
         return ::bind(socketFd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
       },
       "it is a socket"},
      {"a symbolic link that leads nowhere",
       [&] { return ::symlink("gone.png", node.c_str()) == 0; },
       "it is a symbolic link to 'gone.png', which does not exist"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(node);
    reader.reset();
    if (!c.make()) {
      std::printf("skipped: %s cannot be made here: %s\n", c.name.c_str(), std::strerror(errno));
      continue;
    }
    struct stat before {};
    ::lstat(node.c_str(), &before);
    EXPECT_EQ(MessageOf([&] { ReplaceFile(node, "picture"); }),
              c.refusal.empty()
                  ? "no error"
                  : "The file '" + node.string() + "' could not be written: " + c.refusal);
    if (reader) {
      EXPECT_EQ(reader->Finish(), "picture");
    }
    struct stat after {};
    ::lstat(node.c_str(), &after);
    EXPECT_EQ(after.st_mode, before.st_mode) << "the node stays what it was";
    EXPECT_EQ(after.st_rdev, before.st_rdev);
    EXPECT_EQ(Names(), std::vector<std::string>{"out.png"}) << "nothing beside it";
  }
  if (socketFd >= 0) ::close(socketFd);
}

// A writer that needs a path (a database being built) builds in the system's
// temporary folder, and the finished file goes into the FIFO.
TEST_F(ReplaceFileTest, AReplacementOfAFifoIsBuiltElsewhereAndWrittenIntoIt) {
  const fs::path fifo = folder_ / "demo.db";
  testing::FifoReader reader(fifo);
  fs::path temporary;
  {
    FileReplacement replacement(fifo);
    temporary = replacement.TemporaryPath();
    EXPECT_NE(temporary.parent_path(), folder_);
    EXPECT_EQ(temporary.extension(), ".db");
    WriteFileBytes(temporary, "built");
    replacement.Commit();
  }
  EXPECT_EQ(reader.Finish(), "built");
  EXPECT_FALSE(fs::exists(temporary));
  EXPECT_TRUE(fs::is_fifo(fifo));
}

}  // namespace
}  // namespace velmora
