#include "platform/com/registry.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <typeinfo>

#include "platform/errors.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace velmora::com {
namespace {

namespace fs = std::filesystem;

using testing::ReadFileBytes;

class RegistryFile : public ::testing::Test {
 protected:
  const testing::TempFolder temp_;
  const fs::path& folder_ = temp_.Path();
};

// Names and texts that the format must escape or carry through unchanged.
struct Entry {
  const char* key;
  const char* name;
  const char* value;
};
const Entry kEntries[] = {
    {"HKEY_CLASSES_ROOT\\Velmora.VelmoraMI", "", "VelmoraMI Object"},
    {"HKEY_CLASSES_ROOT\\CLSID\\{31A2653D-33B7-4A09-86EC-1B5545067F3E}\\InprocServer32", "",
     "/opt/Program Files/Velmora/Velmora.so"},
    {"HKEY_CLASSES_ROOT\\CLSID\\{31A2653D-33B7-4A09-86EC-1B5545067F3E}\\InprocServer32",
     "ThreadingModel", "Apartment"},
    {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Dorset Software\\Recorder 6", "Addin Path",
     "C:\\Program Files\\Recorder 6\\Addins\\"},
    {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Dorset Software\\Recorder 6", "Name \"with\" quotes",
     "say \"hi\" \\\" end"},
    {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Grüße\\Straße", "Größe", "Maße äöü ÄÖÜ ß"},
    {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Empty", "blank value", ""},
    {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Spaces", "  padded  ", "  padded  "},
};

TEST_F(RegistryFile, RoundTripsKeysAndValuesThroughTheFile) {
  Registry registry;
  for (const Entry& e : kEntries) registry.SetValue(e.key, e.name, e.value);
  registry.CreateKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Key without values");
  const fs::path file = folder_ / "sub" / "registry.reg";
  registry.Save(file);

  const Registry loaded = Registry::Load(file);
  EXPECT_EQ(loaded, registry);
  for (const Entry& e : kEntries) {
    EXPECT_EQ(loaded.Value(e.key, e.name), e.value) << e.key << " " << e.name;
  }
  EXPECT_TRUE(loaded.HasKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Key without values"));
  EXPECT_EQ(Registry::Parse(loaded.Format()).Format(), loaded.Format());
}

TEST_F(RegistryFile, WritesTheRegistryEditorFormat) {
  Registry registry;
  registry.SetValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\Dorset Software\\Recorder 6", "Addin Path",
                    "C:\\Addins\\");
  registry.SetValue("HKEY_CLASSES_ROOT\\A", "", "say \"hi\"");
  EXPECT_EQ(registry.Format(),
            "Windows Registry Editor Version 5.00\n"
            "\n"
            "[HKEY_CLASSES_ROOT\\A]\n"
            "@=\"say \\\"hi\\\"\"\n"
            "\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Dorset Software\\Recorder 6]\n"
            "\"Addin Path\"=\"C:\\\\Addins\\\\\"\n"
            "\n");
}

TEST_F(RegistryFile, ReadsAFileExportedOnWindows) {
  // Regedit writes CR LF line ends, comments, and values other than text.
  const std::string exported =
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
      "\r\n"
      "; exported from the test machine\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Dorset Software\\Recorder 6]\r\n"
      "\"Addin Path\"=\"C:\\\\Addins\\\\\"\r\n"
      "\"Trusted Security\"=dword:00000001\r\n"
      "\"Blob\"=hex:01,02,\\\r\n"
      "  03,04\r\n"
      "@=\"default\"\r\n";
  const Registry registry = Registry::Parse(exported);
  const char* key = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Dorset Software\\Recorder 6";
  EXPECT_EQ(registry.Value(key, "Addin Path"), "C:\\Addins\\");
  EXPECT_EQ(registry.Value(key), "default");
  EXPECT_EQ(registry.Value(key, "Trusted Security"), std::nullopt) << "not a text";
  // What is not text survives a rewrite as it was written.
  const std::string rewritten = registry.Format();
  EXPECT_NE(rewritten.find("\"Trusted Security\"=dword:00000001\n"), std::string::npos);
  EXPECT_NE(rewritten.find("\"Blob\"=hex:01,02,\\\n  03,04\n"), std::string::npos);
  EXPECT_EQ(Registry::Parse(rewritten), registry);
}

TEST_F(RegistryFile, StrayCarriageReturnsAtLineEndsAreNoData) {
  const Registry registry = Registry::Parse(
      "Windows Registry Editor Version 5.00\r\r\n[HKEY_CLASSES_ROOT\\A]\r\n"
      "\"Blob\"=hex:01,\\\r\r\n  02\r\r\n");
  EXPECT_NE(registry.Format().find("\"Blob\"=hex:01,\\\n  02\n"), std::string::npos);
  EXPECT_EQ(Registry::Parse(registry.Format()), registry);
}

TEST_F(RegistryFile, NamesCompareWithoutRegardToCase) {
  Registry registry;
  registry.SetValue("HKEY_CLASSES_ROOT\\Recorder2000.AutoApplicationSettings\\Clsid", "", "{x}");
  EXPECT_EQ(registry.Value("hkey_classes_root\\RECORDER2000.autoapplicationsettings\\CLSID"),
            "{x}");
  registry.SetValue("HKEY_CLASSES_ROOT\\Recorder2000.AutoApplicationSettings\\CLSID", "", "{y}");
  EXPECT_EQ(registry.Value("HKEY_CLASSES_ROOT\\Recorder2000.AutoApplicationSettings\\Clsid"),
            "{y}");
  registry.SetValue("HKEY_CLASSES_ROOT\\A", "ThreadingModel", "Apartment");
  EXPECT_EQ(registry.Value("HKEY_CLASSES_ROOT\\A", "threadingmodel"), "Apartment");
}

TEST_F(RegistryFile, DeletesAKeyWithTheKeysBelowItOnly) {
  Registry registry;
  registry.SetValue("HKEY_CLASSES_ROOT\\CLSID\\{A}", "", "a");
  registry.SetValue("HKEY_CLASSES_ROOT\\CLSID\\{A}\\InprocServer32", "", "a.so");
  registry.SetValue("HKEY_CLASSES_ROOT\\CLSID\\{A}B", "", "sibling with the same start");
  registry.SetValue("HKEY_CLASSES_ROOT\\CLSID", "", "parent");
  registry.DeleteKey("HKEY_CLASSES_ROOT\\clsid\\{a}");
  EXPECT_FALSE(registry.HasKey("HKEY_CLASSES_ROOT\\CLSID\\{A}"));
  EXPECT_FALSE(registry.HasKey("HKEY_CLASSES_ROOT\\CLSID\\{A}\\InprocServer32"));
  EXPECT_EQ(registry.Value("HKEY_CLASSES_ROOT\\CLSID\\{A}B"), "sibling with the same start");
  EXPECT_EQ(registry.Value("HKEY_CLASSES_ROOT\\CLSID"), "parent");
}

TEST_F(RegistryFile, ListsTheKeysDirectlyBelowAKeyOnceEach) {
  Registry registry;
  registry.SetValue("HKEY_CLASSES_ROOT\\CLSID\\{B}\\InprocServer32", "", "b.so");
  registry.SetValue("HKEY_CLASSES_ROOT\\CLSID\\{B}-x", "", "sorts between {B} and its subkey");
  registry.SetValue("HKEY_CLASSES_ROOT\\clsid\\{a}", "", "a");
  registry.SetValue("HKEY_CLASSES_ROOT\\CLSIDs", "", "a sibling, not a subkey");
  registry.CreateKey("HKEY_CLASSES_ROOT\\CLSID\\{b}");
  EXPECT_EQ(registry.SubKeys("HKEY_CLASSES_ROOT\\CLSID"),
            (std::vector<std::string>{"{a}", "{b}", "{B}-x"}))
      << "{b} stands once, though it was entered under two spellings";
  EXPECT_EQ(registry.SubKeys("HKEY_CLASSES_ROOT"), (std::vector<std::string>{"clsid", "CLSIDs"}));
  EXPECT_TRUE(registry.SubKeys("HKEY_CLASSES_ROOT\\CLSID\\{a}").empty());
  EXPECT_TRUE(registry.SubKeys("HKEY_LOCAL_MACHINE").empty());
}

TEST_F(RegistryFile, ReportsTheLineOfAMalformedFile) {
  struct Case {
    std::string text;
    const char* message;
  };
  const std::string header = "Windows Registry Editor Version 5.00\n";
  const Case cases[] = {
      {"REGEDIT4\n", "line 1: expected"},
      {header + "\"a\"=\"b\"\n", "line 2: a value needs a key above it"},
      {header + "[HKEY_CLASSES_ROOT\\A\n", "line 2: a key needs a closing ]"},
      {header + "\n[HKEY_CLASSES_ROOT\\A]\n\"a\"=\"unterminated\n", "line 4: a text value"},
      {header + "[HKEY_CLASSES_ROOT\\A]\nname=\"b\"\n", "line 3: a value name must be"},
      {header + "[HKEY_CLASSES_ROOT\\A]\n\"a\"\n", "line 3: expected ="},
      {header + "[-HKEY_CLASSES_ROOT\\A]\n", "line 2: deleting keys"},
      {header + "[HKEY_CLASSES_ROOT\\\\A]\n", "line 2: Invalid registry key name"},
      // A line end hidden behind a blank is no data.
      {header + "[HKEY_CLASSES_ROOT\\A]\n\"b\"=\r\t\n", "line 3: a value needs data after ="},
      // Cut short: written again, the value would take in the line after it.
      {header + "[HKEY_CLASSES_ROOT\\A]\n\"b\"=hex:01,\\\n",
       "line 3: a value continues past the end of the file"},
  };
  for (const Case& c : cases) {
    try {
      Registry::Parse(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const RegistryError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
}

TEST_F(RegistryFile, RefusesWhatTheFormatCannotHold) {
  Registry registry;
  EXPECT_THROW(registry.SetValue("HKEY_CLASSES_ROOT\\A", "", "two\nlines"), RegistryError);
  EXPECT_THROW(registry.SetValue("HKEY_CLASSES_ROOT\\A", "a\rb", "x"), RegistryError);
  EXPECT_THROW(registry.SetValue("", "", "x"), RegistryError);
  EXPECT_THROW(registry.SetValue("HKEY_CLASSES_ROOT\\A\\", "", "x"), RegistryError);
  EXPECT_EQ(registry, Registry());
}

TEST_F(RegistryFile, MissingFileIsEmptyAndAFailedSaveKeepsTheOldFile) {
  EXPECT_EQ(Registry::Load(folder_ / "none.reg"), Registry());

  const fs::path file = folder_ / "registry.reg";
  Registry first;
  first.SetValue("HKEY_CLASSES_ROOT\\A", "", "first");
  first.Save(file);
  Registry second;
  second.SetValue("HKEY_CLASSES_ROOT\\A", "", "second");
  second.Save(file);
  EXPECT_EQ(Registry::Load(file), second);
  // Only the file itself remains: the temporary file was renamed onto it.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);

  if (::geteuid() != 0) {  // root may write anywhere
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(first.Save(file), RegistryError);
    fs::permissions(folder_, fs::perms::owner_all);
  }
  const fs::path blocked = folder_ / "dir.reg";
  fs::create_directory(blocked);  // a folder where the file should be: rename must fail
  EXPECT_THROW(first.Save(blocked), RegistryError);
  EXPECT_TRUE(fs::is_directory(blocked));
  // No temporary file is left beside them.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2);
  EXPECT_EQ(ReadFileBytes(file), second.Format());
}

// Every program reads the registry file: what is no regular file is refused
// at once, for a FIFO would wait for a writer and a device never ends.
TEST_F(RegistryFile, WhatIsNoRegularFileIsRefusedWithoutWaiting) {
  const fs::path file = folder_ / "registry.reg";
  const std::function<void()> makers[] = {
      [&] { ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0); },
      [&] { fs::create_symlink("/dev/zero", file); },  // only read, never written
  };
  for (const auto& make : makers) {
    fs::remove(file);
    make();
    try {
      Registry::Load(file);
      ADD_FAILURE() << "read";
    } catch (const RegistryError& e) {
      EXPECT_EQ(std::string(e.what()),
                "Cannot read the registry file " + file.string() + ": it is not a regular file");
    }
  }
}

// A program that hangs holding the turn to change the registry holds up the
// others for a while, not for ever, and they say whose lock it is.
TEST(UpdateRegistry, AHeldLockIsWaitedForAWhileAndThenReported) {
  const fs::path lockFile = RegistryFilePath().string() + ".lock";
  fs::create_directories(lockFile.parent_path());
  // A lock of its own open file is another program's lock to flock().
  const int held = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  bool changed = false;
  const auto change = [&changed](Registry&) { changed = true; };
  try {
    UpdateRegistry(change, std::chrono::seconds(2));
    ADD_FAILURE() << "changed under another program's lock";
  } catch (const RegistryError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot lock the registry file " +
                                         RegistryFilePath().string() +
                                         ": another program has held its lock file " +
                                         lockFile.string() + " for 2 seconds; end that program");
  }
  EXPECT_FALSE(changed);
  ::close(held);
  UpdateRegistry(change);
  EXPECT_TRUE(changed);
  fs::remove(RegistryFilePath());
}

TEST(UpdateRegistry, ProgramsUpdatingAtOnceKeepEachOthersEntries) {
  std::filesystem::remove(RegistryFilePath());
  constexpr int kEntriesPerProgram = 40;
  const auto addEntries = [](const std::string& program) {
    for (int i = 0; i < kEntriesPerProgram; ++i) {
      UpdateRegistry([&](Registry& registry) {
        registry.SetValue("HKEY_CLASSES_ROOT\\" + program, std::to_string(i), "x");
      });
    }
  };
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    addEntries("child");
    ::_exit(0);
  }
  addEntries("parent");
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  const Registry registry = Registry::Load(RegistryFilePath());
  for (const char* program : {"child", "parent"}) {
    for (int i = 0; i < kEntriesPerProgram; ++i) {
      EXPECT_EQ(registry.Value(std::string("HKEY_CLASSES_ROOT\\") + program, std::to_string(i)),
                "x")
          << program << " " << i;
    }
  }
  std::filesystem::remove(RegistryFilePath());
}

// The registry is read inside the COM library, a module of its own: the
// program must still catch what it raises by the project's one error root.
TEST(RegistryError, RaisedInTheComLibraryIsCaughtAsTheProjectsError) {
  try {
    Registry::Parse("REGEDIT4\n");
    ADD_FAILURE() << "accepted";
  } catch (const velmora::Exception& e) {
    EXPECT_NE(std::string(e.what()).find("line 1: expected"), std::string::npos) << e.what();
  }
}

// Catching by the root across modules must not rest on the runtime comparing
// type names: the COM library exports the root's type information, so that
// every module resolves to one copy.
TEST(RegistryError, TheComLibraryExportsTheRootsTypeInformation) {
  Dl_info library{};
  ASSERT_NE(::dladdr(reinterpret_cast<void*>(&RegistryFilePath), &library), 0);
  void* const handle = ::dlopen(library.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
  ASSERT_NE(handle, nullptr) << library.dli_fname;
  const std::string symbol = std::string("_ZTI") + typeid(velmora::Exception).name();
  EXPECT_NE(::dlsym(handle, symbol.c_str()), nullptr) << symbol << " in " << library.dli_fname;
  ::dlclose(handle);
}

TEST(RegistryFilePath, LivesInThePerUserConfigFolder) {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  ASSERT_NE(config, nullptr) << "the tests run with a private config folder";
  EXPECT_EQ(RegistryFilePath(), fs::path(config) / "velmora" / "registry.reg");
}

}  // namespace
}  // namespace velmora::com
