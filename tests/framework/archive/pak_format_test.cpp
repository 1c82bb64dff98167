#include "framework/archive/pak_format.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Tuvo::PakParseResult;

std::vector<uint8_t> TwoFileArchive() {
    std::vector<uint8_t> archive;
    EXPECT_TRUE(
        Tuvo::BuildPak({{"Menu\\menu-main.xml", 0x0123456789ABCDEFull, {'<', 'a', '/', '>'}},
                        {"language.ini", 7, {'[', 'E', ']'}}},
                       archive));
    return archive;
}

TEST(PakFormatTest, ScrambledLittleEndianLayoutParsesBack) {
    const std::vector<uint8_t> archive = TwoFileArchive();
    // Plain C0 4A C0 BA (the magic, little-endian) and version 0, each byte XOR A3.
    EXPECT_EQ(std::vector<uint8_t>(archive.begin(), archive.begin() + 5),
              (std::vector<uint8_t>{0xC0 ^ 0xA3, 0x4A ^ 0xA3, 0xC0 ^ 0xA3, 0xBA ^ 0xA3, 0xA3}));
    // 8 header + two entries (2 + name + 12) + end marker + 7 data bytes.
    ASSERT_EQ(archive.size(), 8u + (2 + 18 + 12) + (2 + 12 + 12) + 1 + 7);
    std::vector<Tuvo::PakDirectoryEntry> entries;
    ASSERT_EQ(Tuvo::ParsePakDirectory(archive.data(), archive.size(), entries),
              PakParseResult::kOk);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "Menu\\menu-main.xml");
    EXPECT_EQ(entries[0].size, 4u);
    EXPECT_EQ(entries[0].fileTime, 0x0123456789ABCDEFull);
    EXPECT_EQ(entries[1].dataOffset, entries[0].dataOffset + 4);
    EXPECT_EQ(entries[1].dataOffset + 3, archive.size());
    EXPECT_EQ(archive[entries[1].dataOffset] ^ 0xA3, '[');
}

TEST(PakFormatTest, TruncatedArchivesNeverReadPastTheEnd) {
    const std::vector<uint8_t> archive = TwoFileArchive();
    const size_t dataStart = archive.size() - 7;
    for (size_t size = 0; size < archive.size(); ++size) {
        // An exact-size copy lets AddressSanitizer catch any read past the end.
        std::vector<uint8_t> cut(archive.begin(), archive.begin() + size);
        std::vector<Tuvo::PakDirectoryEntry> entries;
        const PakParseResult result = Tuvo::ParsePakDirectory(cut.data(), cut.size(), entries);
        if (size < 8) {
            EXPECT_EQ(result, PakParseResult::kNotAnArchive) << size;
        } else if (size < dataStart) {
            EXPECT_EQ(result, PakParseResult::kTruncated) << size;
            EXPECT_TRUE(entries.empty());
        } else {
            // Only entries whose data lies wholly inside survive.
            EXPECT_EQ(result, PakParseResult::kDamaged) << size;
            EXPECT_EQ(entries.size(), size >= dataStart + 4 ? 1u : 0u) << size;
        }
    }
}

TEST(PakFormatTest, HugeSizesAndBadHeadersAreRejectedAndNoEntriesIsNoError) {
    std::vector<uint8_t> archive;
    ASSERT_TRUE(Tuvo::BuildPak({{"a", 0, {1, 2, 3}}}, archive));
    // Size field of entry 0 starts after header (8), flags, length, name (1).
    std::fill_n(archive.begin() + 11, 4, 0xFF ^ 0xA3);
    std::vector<Tuvo::PakDirectoryEntry> entries;
    EXPECT_EQ(Tuvo::ParsePakDirectory(archive.data(), archive.size(), entries),
              PakParseResult::kDamaged);
    EXPECT_TRUE(entries.empty());

    // The end marker first: no entries.
    ASSERT_TRUE(Tuvo::BuildPak({}, archive));
    EXPECT_EQ(Tuvo::ParsePakDirectory(archive.data(), archive.size(), entries),
              PakParseResult::kOk);
    EXPECT_TRUE(entries.empty());
    archive[4] ^= 1;  // version 1
    EXPECT_EQ(Tuvo::ParsePakDirectory(archive.data(), archive.size(), entries),
              PakParseResult::kNotAnArchive);
    EXPECT_FALSE(Tuvo::BuildPak({{std::string(256, 'n'), 0, {}}}, archive));
}

}  // namespace
