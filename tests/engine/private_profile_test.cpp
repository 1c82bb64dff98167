#include "engine/private_profile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <thread>

#include "framework/archive/pak_format.h"
#include "framework/archive/pak_interface.h"
#include "support/user_folder.h"

namespace {

using namespace Quillory;
using TestSupport::ScopedCurrentDirectory;
using TestSupport::TempFolder;

// A data folder (the current directory) and a separate user folder.
class PrivateProfileTest : public ::testing::Test {
protected:
    PrivateProfileTest() : inData_(data_.Path()) {}

    std::string Get(const char* section, const char* key, const char* fallback = "",
                    uint32_t size = 255, const char* file = "config.ini") {
        std::vector<char> out(size + 1, '#');
        const uint32_t count =
            GetPrivateProfileString(section, key, fallback, out.data(), size, file);
        EXPECT_EQ(count, std::strlen(out.data()));
        return out.data();
    }

    TempFolder data_;
    TestSupport::TestUserFolder user_;
    ScopedCurrentDirectory inData_;
};

TEST_F(PrivateProfileTest, ValuesDefaultsNameListsAndCutting) {
    user_.Write("config.ini",
                "[OPTIONS]\r\nMusicVolume=0.8\r\nEmpty=\r\nLong=" + std::string(300, 'x') + "\r\n");
    EXPECT_EQ(Get("options", "musicvolume"), "0.8");
    EXPECT_EQ(Get("OPTIONS", "Empty", "fallback"), "");
    EXPECT_EQ(Get("OPTIONS", "Missing", " keep lead, drop trail  \t"), " keep lead, drop trail");
    EXPECT_EQ(Get("OPTIONS", "Missing", nullptr), "");
    EXPECT_EQ(Get("OPTIONS", "Long").size(), 254u);
    EXPECT_EQ(Get("OPTIONS", "MusicVolume", "", 3), "0.");
    EXPECT_EQ(Get("x", "y", "d", 255, "missing.ini"), "d");

    // Section names (the sound events' list) are NUL-separated and end with two NULs.
    user_.Write("sound.ini", "[take_shape]\r\nvolume=1\r\nfile0=a.ogg\r\n[drop]\r\n");
    char out[32];
    EXPECT_EQ(GetPrivateProfileSectionNames(out, sizeof(out), "sound.ini"), 16u);
    EXPECT_EQ(std::string(out, 17), std::string("take_shape\0drop\0\0", 17));
    // Exactly the buffer's size counts as too small for the section-name list.
    EXPECT_EQ(GetPrivateProfileSectionNames(out, 17, "sound.ini"), 15u);
    EXPECT_EQ(std::string(out, 17), std::string("take_shape\0drop\0", 17));
    out[0] = 'x';
    EXPECT_EQ(GetPrivateProfileSectionNames(out, sizeof(out), "missing.ini"), 0u);
    EXPECT_EQ(out[0], '\0');
}

TEST_F(PrivateProfileTest, WritesGoToTheUserFolderAndReadsFallBackToDataAndArchive) {
    data_.Write("config.ini", "[LANGUAGE]\r\nName=ENGLISH\r\n");
    EXPECT_EQ(Get("LANGUAGE", "Name"), "ENGLISH");  // the data folder's copy
    ASSERT_TRUE(WritePrivateProfileString("VIDEO", "Brightness", "0.500000", "config.ini"));
    EXPECT_EQ(user_.Read("config.ini"),
              "[LANGUAGE]\r\nName=ENGLISH\r\n[VIDEO]\r\nBrightness=0.500000\r\n");
    EXPECT_EQ(data_.Read("config.ini"), "[LANGUAGE]\r\nName=ENGLISH\r\n");
    ASSERT_TRUE(WritePrivateProfileString("VIDEO", "Brightness", nullptr, "config.ini"));
    EXPECT_EQ(Get("VIDEO", "Brightness", "gone"), "gone");
    ASSERT_TRUE(WritePrivateProfileString("LANGUAGE", nullptr, nullptr, "config.ini"));
    EXPECT_EQ(user_.Read("config.ini"), "[VIDEO]\r\n");
    EXPECT_TRUE(WritePrivateProfileString("NOPE", nullptr, nullptr, "config.ini"));

    // Files neither folder holds are read from the archive.
    std::vector<uint8_t> archive;
    const std::string text = "[ENGLISH]\r\nQuillory=Quillory\r\n";
    ASSERT_TRUE(Tuvo::BuildPak({{"language.ini", 1, {text.begin(), text.end()}}}, archive));
    data_.Write("main.pak", std::string(archive.begin(), archive.end()));
    Tuvo::PakInterface layer;
    ASSERT_TRUE(layer.MountArchive("main.pak"));
    EXPECT_EQ(Get("english", "QUILLORY", "", 255, "language.ini"), "Quillory");
}

TEST_F(PrivateProfileTest, LookUpsTouchNoFileUntilRevalidated) {
    user_.Write("config.ini", "[a]\r\nk=1\r\n");
    EXPECT_EQ(Get("a", "k"), "1");
    // Look-ups are served from memory: an outside edit, even a removed user folder, is not seen
    // (and the folder is not created again) until the next screen change.
    user_.Write("config.ini", "[a]\r\nk=22\r\n");
    const std::string moved = user_.Path() + "-moved";
    ASSERT_EQ(std::rename(user_.Path().c_str(), moved.c_str()), 0);
    EXPECT_EQ(Get("a", "k"), "1");
    EXPECT_NE(access(user_.Path().c_str(), F_OK), 0) << "a look-up created the user folder";
    ASSERT_EQ(std::rename(moved.c_str(), user_.Path().c_str()), 0);
    RevalidateProfileFiles();
    EXPECT_EQ(Get("a", "k"), "22");
    std::remove(user_.File("config.ini").c_str());
    RevalidateProfileFiles();
    EXPECT_EQ(Get("a", "k", "none"), "none");
}

TEST_F(PrivateProfileTest, StructsRoundTripAndFailSafelyAndAnUnreadableUserFileKeepsItsContents) {
    // Structs round-trip as hex with a checksum; a wrong size or a missing key fails safely.
    const char abacus[7] = "abacus";
    ASSERT_TRUE(WritePrivateProfileStruct("s", "k", abacus, 7, "scores.ini"));
    EXPECT_EQ(user_.Read("scores.ini"), "[s]\r\nk=616261637573006F\r\n");
    char back[7] = {};
    ASSERT_TRUE(GetPrivateProfileStruct("S", "K", back, 7, "scores.ini"));
    EXPECT_STREQ(back, "abacus");
    char untouched[8] = "seven!!";
    EXPECT_FALSE(GetPrivateProfileStruct("s", "k", untouched, 8, "scores.ini"));
    EXPECT_FALSE(GetPrivateProfileStruct("s", "missing", untouched, 7, "scores.ini"));
    EXPECT_STREQ(untouched, "seven!!");
    ASSERT_TRUE(WritePrivateProfileStruct("s", "k", nullptr, 7, "scores.ini"));
    EXPECT_EQ(user_.Read("scores.ini"), "[s]\r\n");

    // A FIFO stands in for any file that exists but cannot be read (a read as root ignores
    // permissions); an 8 GB file is refused for its size.
    ASSERT_EQ(mkfifo(user_.File("config.ini").c_str(), 0644), 0);
    EXPECT_EQ(Get("OPTIONS", "btnFullScreen", "1"), "1");
    EXPECT_FALSE(WritePrivateProfileString("OPTIONS", "btnFullScreen", "0", "config.ini"));
    struct stat info;
    ASSERT_EQ(lstat(user_.File("config.ini").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "the file was replaced";

    const std::string scores = user_.Write("scores.ini", "[HIGH SCORES]\r\nData=00\r\n");
    ASSERT_EQ(truncate(scores.c_str(), off_t{8} << 30), 0);
    RevalidateProfileFiles();  // made behind the cache's back
    char block[4] = {};
    EXPECT_FALSE(GetPrivateProfileStruct("HIGH SCORES", "Data", block, 4, "scores.ini"));
    EXPECT_FALSE(WritePrivateProfileStruct("HIGH SCORES", "Data", block, 4, "scores.ini"));
    ASSERT_EQ(stat(scores.c_str(), &info), 0);
    EXPECT_EQ(info.st_size, off_t{8} << 30);
}

TEST_F(PrivateProfileTest, TwoThreadsWritingDifferentKeysLoseNothing) {
    auto writer = [](const char* key) {
        for (int i = 0; i < 50; ++i) {
            WritePrivateProfileString("OPTIONS", key, std::to_string(i).c_str(), "config.ini");
        }
    };
    std::thread a(writer, "a");
    std::thread b(writer, "b");
    a.join();
    b.join();
    EXPECT_EQ(Get("OPTIONS", "a"), "49");
    EXPECT_EQ(Get("OPTIONS", "b"), "49");
}

}  // namespace
