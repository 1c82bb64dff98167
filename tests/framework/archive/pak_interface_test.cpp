#include "framework/archive/pak_interface.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/archive/pak_file.h"
#include "framework/archive/pak_format.h"
#include "support/temp_folder.h"

namespace {

using TestSupport::ScopedCurrentDirectory;
using TestSupport::TempFolder;
using Tuvo::PakFile;
using Tuvo::PakFindData;
using Tuvo::PakInterface;

std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

// An archive in a temporary folder, which is also the current directory. The layer's log lines
// are on, before anything can log.
class PakInterfaceTest : public ::testing::Test {
protected:
    PakInterfaceTest() : inFolder_(folder_.Path()) { setenv("QUILLORY_DEBUG", "1", 1); }

    // Writes an archive of `files`, less its last `cut` bytes, and mounts it.
    bool Mount(const std::vector<Tuvo::PakSourceFile>& files, const std::string& name = "main.pak",
               size_t cut = 0) {
        std::vector<uint8_t> archive;
        if (!Tuvo::BuildPak(files, archive) || archive.size() < cut) {
            ADD_FAILURE() << "no archive to write as " << name;
            return false;
        }
        folder_.Write(name, std::string(archive.begin(), archive.end() - cut));
        return layer_.MountArchive(name.c_str());
    }

    std::string ReadAll(PakFile* file) {
        std::string text;
        char buffer[64];
        size_t count;
        while ((count = layer_.PakRead(buffer, 1, sizeof(buffer), file)) > 0) {
            text.append(buffer, count);
        }
        return text;
    }

    // Each name found, with its attributes (16: a folder).
    std::vector<std::string> Find(const char* pattern) {
        std::vector<std::string> names;
        PakFindData data;
        Tuvo::PakFindContext* context = layer_.PakFindFirst(pattern, &data);
        if (context == Tuvo::kInvalidFindHandle) {
            return names;
        }
        do {
            names.push_back(data.fileName + (" " + std::to_string(data.attributes)));
        } while (layer_.PakFindNext(context, &data));
        EXPECT_TRUE(layer_.PakFindClose(context));
        return names;
    }

    TempFolder folder_;
    ScopedCurrentDirectory inFolder_;
    PakInterface layer_{false};
};

TEST_F(PakInterfaceTest, NameNormalisation) {
    const std::pair<std::string, const char*> table[] = {
        {"graphics//shapes\\/Quill_0.png", "GRAPHICS\\SHAPES\\QUILL_0.PNG"},
        {"A\\B\\..\\C.TXT", "A\\C.TXT"},
        {"a/b/../../c.txt", "C.TXT"},
        {"..\\x", "..\\X"},
        {".\\x", ".\\X"},
        {"a\\..b", "A\\..B"},
        {folder_.Path() + "/Menu/x.xml", "MENU\\X.XML"}};
    for (const auto& [name, normalised] : table) {
        EXPECT_EQ(PakInterface::NormaliseName(name), normalised) << name;
    }
}

TEST_F(PakInterfaceTest, DamagedArchivesAddOnlyWholeEntriesAndTheArchiveWinsForReading) {
    const std::vector<Tuvo::PakSourceFile> files = {{"one.txt", 1, Bytes("11111")},
                                                    {"two.txt", 1, Bytes("22222")}};
    testing::internal::CaptureStderr();
    EXPECT_TRUE(Mount(files, "cut.pak", 2));
    EXPECT_FALSE(Mount(files, "short.pak", 12));  // cut inside the directory
    folder_.Write("bad.pak", "not an archive at all");
    EXPECT_FALSE(layer_.MountArchive("bad.pak"));
    folder_.Write("empty.pak", "");
    EXPECT_FALSE(layer_.MountArchive("empty.pak"));
    EXPECT_FALSE(layer_.MountArchive("missing.pak"));
    ASSERT_EQ(mkfifo(folder_.File("pipe.pak").c_str(), 0644), 0);
    EXPECT_FALSE(layer_.MountArchive("pipe.pak"));  // refused at once, not waited on
    EXPECT_EQ(layer_.EntryCount(), 1u);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Archive 'cut.pak': entries past the end of the file skipped\n"
              "Archive 'short.pak': directory truncated, no entries added\n"
              "Archive 'bad.pak': not an archive of this kind\n"
              "Archive 'empty.pak': empty or over 2 GB; not mounted\n"
              "Archive 'pipe.pak': not a regular file; not mounted\n");

    // Under any spelling; writing goes to the disk.
    folder_.Write("A/C.TXT", "on disk");
    ASSERT_TRUE(Mount({{"A\\C.TXT", 1, Bytes("archived")}}));
    for (const char* name : {"a\\c.txt", "A/C.TXT", "a//c.TXT", "A\\B\\..\\C.TXT"}) {
        PakFile* file = layer_.PakOpen(name, "r");
        ASSERT_NE(file, nullptr) << name;
        EXPECT_EQ(ReadAll(file), "archived") << name;
        EXPECT_EQ(layer_.PakClose(file), 0);
    }
    EXPECT_EQ(layer_.PakOpen("a/missing.txt", "rb"), nullptr);

    PakFile* written = layer_.PakOpen("A\\C.TXT", "wb");
    ASSERT_NE(written, nullptr);
    layer_.PakClose(written);
    EXPECT_EQ(folder_.Read("A/C.TXT"), "");
}

TEST_F(PakInterfaceTest, SeekTellReadAndAnEntryReplacedWhileOpen) {
    ASSERT_TRUE(Mount({{"f.bin", 1, Bytes("0123456789")}}));
    PakFile* file = layer_.PakOpen("F.BIN", "rb");
    ASSERT_NE(file, nullptr);
    layer_.PakSeek(file, -4, SEEK_END);
    EXPECT_EQ(ReadAll(file), "6789");
    layer_.PakSeek(file, -100, SEEK_CUR);
    EXPECT_EQ(layer_.PakTell(file), 0);
    layer_.PakSeek(file, 100, SEEK_SET);
    EXPECT_EQ(layer_.PakTell(file), 10);

    // Reads count whole elements but deliver every byte; a byte total that would wrap is capped.
    char buffer[13] = {};
    layer_.PakSeek(file, 0, SEEK_SET);
    EXPECT_EQ(layer_.PakRead(buffer, 4, 3, file), 2u);
    EXPECT_STREQ(buffer, "0123456789");
    EXPECT_EQ(layer_.PakTell(file), 10);
    layer_.PakSeek(file, 0, SEEK_SET);
    EXPECT_EQ(layer_.PakRead(buffer, 0, 3, file), 0u);
    EXPECT_EQ(layer_.PakTell(file), 0);
    EXPECT_EQ(layer_.PakRead(buffer, 2, SIZE_MAX / 2 + 2, file), 5u);

    // A later archive replacing the entry: the open file reads on from the first one, within its
    // own size; opened again, it reads the new one.
    layer_.PakSeek(file, 6, SEEK_SET);
    ASSERT_TRUE(Mount({{"F.BIN", 1, Bytes("new")}}, "patch.pak"));
    EXPECT_EQ(ReadAll(file), "6789");
    EXPECT_EQ(layer_.PakSeek(file, 0, SEEK_END), 0);
    EXPECT_EQ(layer_.PakTell(file), 10);
    layer_.PakClose(file);
    PakFile* reopened = layer_.PakOpen("f.bin", "rb");
    EXPECT_EQ(ReadAll(reopened), "new");
    layer_.PakClose(reopened);
}

TEST_F(PakInterfaceTest, FindListsArchiveThenDiskWithoutRepeatsAndTimesAreKept) {
    folder_.Write("Graphics/zeta.png", "disk only");
    folder_.Write("Graphics/Alpha.png", "also in the archive");
    ASSERT_TRUE(Mount({{"Graphics\\Alpha.png", 5, Bytes("1")},
                       {"Graphics\\beta.png", 5, Bytes("22")},
                       {"Graphics\\Shapes\\quill_0.png", 5, Bytes("333")},
                       {"Graphics\\notes.txt", 5, Bytes("4")},
                       {"Sound\\a.ogg", 0x1D0000012345678ull, Bytes("12345")}}));
    EXPECT_EQ(Find("graphics\\*.png"), (std::vector<std::string>{"Alpha.png 0", "beta.png 0",
                                                                 "quill_0.png 16", "zeta.png 0"}));
    EXPECT_TRUE(Find("Sound\\*.wav").empty());

    // Times of archive entries and loose files.
    uint64_t time = 0;
    ASSERT_TRUE(layer_.GetFileTime("sound/A.OGG", time));
    EXPECT_EQ(time, 0x1D0000012345678ull);
    folder_.Write("loose.wav", "x");
    EXPECT_TRUE(layer_.GetFileTime("LOOSE.WAV", time));
    EXPECT_GT(time, 116444736000000000ull);  // after 1970 in Windows file time
    EXPECT_FALSE(layer_.GetFileTime("missing.wav", time));
}

// The file functions use the registered layer, or the disk, and read only regular files within
// the limit.
TEST_F(PakInterfaceTest, PakFileFunctionsUseTheRegisteredLayerOrTheDisk) {
    folder_.Write("Menu/Menu-Main.xml", "disk");
    std::vector<uint8_t> contents;
    ASSERT_EQ(Tuvo::RegisteredPakInterface(), nullptr);
    ASSERT_TRUE(Tuvo::PakReadWholeFile("MENU\\menu-main.XML", contents));
    EXPECT_EQ(std::string(contents.begin(), contents.end()), "disk");
    {
        // Written (and mounted in the fixture's own layer) for the registered layer below.
        ASSERT_TRUE(Mount({{"Menu\\menu-main.xml", 1, Bytes("archive")}}));
        PakInterface layer;
        EXPECT_EQ(Tuvo::RegisteredPakInterface(), &layer);
        PakInterface second;
        EXPECT_EQ(Tuvo::RegisteredPakInterface(), &layer);  // the first one stays registered
        layer.MountArchive("main.pak");
        ASSERT_TRUE(Tuvo::PakReadWholeFile("menu/menu-main.xml", contents));
        EXPECT_EQ(std::string(contents.begin(), contents.end()), "archive");
    }
    EXPECT_EQ(Tuvo::RegisteredPakInterface(), nullptr);
    EXPECT_FALSE(Tuvo::PakReadWholeFile("missing.xml", contents));
    EXPECT_TRUE(contents.empty());
    EXPECT_FALSE(Tuvo::PakReadWholeFile("menu", contents));  // a folder is not a file
    EXPECT_EQ(Tuvo::PakFileOpen("MENU", "rb"), nullptr);
    // A FIFO would block the open; a device would read without end; a sparse 64 GB picture
    // would not fit in memory.
    ASSERT_EQ(mkfifo(folder_.File("pipe.png").c_str(), 0644), 0);
    EXPECT_EQ(Tuvo::PakFileOpen("pipe.png", "rb"), nullptr);
    EXPECT_FALSE(Tuvo::PakReadWholeFile("/dev/zero", contents));
    const std::string huge = folder_.Write("huge.png", "");
    ASSERT_EQ(truncate(huge.c_str(), off_t{64} << 30), 0);
    EXPECT_FALSE(Tuvo::PakReadWholeFile("huge.png", contents));
    folder_.Write("small.xml", "12345");
    EXPECT_FALSE(Tuvo::PakReadWholeFile("small.xml", contents, 4));
    EXPECT_TRUE(contents.empty());
    EXPECT_TRUE(Tuvo::PakReadWholeFile("small.xml", contents, 5));
}

}  // namespace
