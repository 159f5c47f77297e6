// Recognising archives and walking their entries.
#include <gtest/gtest.h>

#include "archive/Archiver.h"
#include "archive/Format.h"
#include "support/ArchiveFixture.h"

namespace kelp {
namespace {

using test::Bytes;
using test::FixtureEntry;

Bytes WithHeaderByte(Bytes archive, size_t at, uint8_t value) {
    archive[at] = value;
    return archive;
}

TEST(ArchiveHeader, RejectsWhatIsNotOurs) {
    const Bytes good = test::BuildArchive({{.name = "a", .plain = test::Text("abc")}});
    struct Case {
        const char* what;
        Bytes archive;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"magic in another case", WithHeaderByte(good, 1, 'a'), "Can't recognize compressed file header"},
        {"magic without 0x1A", WithHeaderByte(good, 4, 0x1B), "Can't recognize compressed file header"},
        {"archive type 0", WithHeaderByte(good, 12, 0), "Archive type must be caMulti"},
        {"archive type 2", WithHeaderByte(good, 12, 2), "Archive type must be caMulti"},
        {"unknown id", test::BuildArchive({{.name = "a", .plain = test::Text("abc")}}, "XYZ"),
         "Unrecognized compression method: \"XYZ\" in header"},
        {"id in another case", test::BuildArchive({{.name = "a", .plain = test::Text("abc")}}, "lzh"),
         "Unrecognized compression method: \"lzh\" in header"},
    };
    for (const auto& c : cases) {
        for (bool expand : {false, true}) {
            MemoryStream s(c.archive);
            TArchiver a;
            TStringList list;
            try {
                expand ? a.ExpandArchiveEntries(s, &list) : a.ListArchiveEntries(s, list);
                ADD_FAILURE() << c.what << ": no exception";
            } catch (const Exception& e) {
                EXPECT_EQ(e.Message(), c.message) << c.what;
            }
            EXPECT_TRUE(list.Empty()) << c.what;
        }
    }
}

TEST(ArchiveHeader, ExceptionClassesMatchTheFailure) {
    const Bytes good = test::BuildArchive({{.name = "a", .plain = test::Text("abc")}});
    TArchiver a;
    TStringList list;
    MemoryStream badMagic(WithHeaderByte(good, 0, 'z'));
    EXPECT_THROW(a.ListArchiveEntries(badMagic, list), EInvalidHeader);
    MemoryStream badType(WithHeaderByte(good, 12, 2));
    EXPECT_THROW(a.ListArchiveEntries(badType, list), EInvalidHeaderArchiveType);
    MemoryStream badId(test::BuildArchive({{.name = "a", .plain = test::Text("abc")}}, "Lzh"));
    EXPECT_THROW(a.ListArchiveEntries(badId, list), EUnrecognizedCompressionMethod);
}

TEST(ArchiveHeader, RecognizeHandlerMakesUnknownIdsCustom) {
    std::string asked;
    TRecognizeEvent accept = [&](const std::string& id, bool& ok) {
        asked = id;
        ok = true;
    };
    EXPECT_EQ(RecognizeMethod("lzh", accept), 3);
    EXPECT_EQ(asked, "lzh");
    EXPECT_EQ(RecognizeMethod("LH5", accept), 4) << "table ids never reach the handler";
    EXPECT_THROW(RecognizeMethod("ABC", [](const std::string&, bool&) {}), EUnrecognizedCompressionMethod);
    const char* ids[] = {"NON", "RLE", "LZH", "CUS", "LH5"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(RecognizeMethod(ids[i], nullptr), i);
}

TEST(ArchiveHeader, RoundTripsAllFields) {
    ArchiveHeader h = BuildArchiveHeader("LZHxyz", 1082266, caMulti, 5);
    uint8_t raw[kArchiveHeaderSize];
    EncodeArchiveHeader(h, raw);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(raw), 8), std::string("ZARC\x1aLZH"));
    const ArchiveHeader back = DecodeArchiveHeader(raw);
    EXPECT_EQ(back.MethodIdString(), "LZH");
    EXPECT_EQ(back.TotalSize, 1082266);
    EXPECT_EQ(back.KeyFlag, 2);
    EXPECT_EQ(BuildArchiveHeader("NON", 0, caMulti, 0).KeyFlag, 0);
    EXPECT_EQ(BuildArchiveHeader("NON", 0, caMulti, -3).KeyFlag, 0) << "only a positive key sets the flag";
    EXPECT_EQ(raw[8], 0x9A);  // 1082266 = 0x0010839A, least significant byte first
}

TEST(EntryWalk, ShortAndEdgeArchives) {
    struct Case {
        const char* what;
        Bytes archive;
        size_t entries;
    };
    const Bytes headerOnly = test::BuildArchive({});
    const Bytes emptyName = test::BuildArchive({{.name = "", .plain = {}}});
    Bytes cutName = test::BuildArchive({{.name = "a", .plain = test::Text("abc")}, {.name = "second", .plain = {}}});
    cutName.resize(cutName.size() - 3);
    Bytes negativeName = test::BuildArchive({{.name = "a", .plain = test::Text("abc")}, {.name = "xx", .plain = {}}});
    negativeName[21 + 25 + 1 + 3] = 0xFF;  // NameLength -1 of the second entry
    negativeName[21 + 25 + 1 + 3 + 1] = 0xFF;
    const std::vector<Case> cases = {
        {"header alone (21 bytes)", headerOnly, 0},
        {"smallest archive with an entry (46 bytes)", emptyName, 1},
        {"name cut short", cutName, 1},
        {"negative name length", negativeName, 1},
        {"garbage below 46 bytes", Bytes(45, 'x'), 0},
    };
    EXPECT_EQ(emptyName.size(), 46u);
    for (const auto& c : cases) {
        MemoryStream s(c.archive);
        TArchiver a;
        TStringList list;
        list.Add("kept");  // listing appends, it never clears
        a.ListArchiveEntries(s, list);
        EXPECT_EQ(list.Count(), c.entries + 1) << c.what;
        EXPECT_EQ(list[0], "kept");
    }
    MemoryStream garbage(Bytes(46, 'x'));
    TArchiver a;
    TStringList list;
    EXPECT_THROW(a.ListArchiveEntries(garbage, list), EInvalidHeader);
}

TEST(EntryWalk, ListCarriesHeaderFieldsAndOffsets) {
    const Bytes archive = test::BuildArchive({
        {.name = "first.txt", .plain = test::Text("abc"), .dateTime = 0x26FA3F44, .attributes = 0x21},
        {.name = "dir\\second", .plain = Bytes(1000, 'q'), .method = 1, .lock = 2, .key = 9},
    });
    MemoryStream s(archive);
    TArchiver a;
    TStringList list;
    a.ListArchiveEntries(s, list);
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list[1], "dir\\second");
    auto first = list.ObjectAs<TCompressedFileInfo>(0);
    auto second = list.ObjectAs<TCompressedFileInfo>(1);
    EXPECT_EQ(first->HeaderOffset, 21);
    EXPECT_EQ(first->DateTime, 0x26FA3F44u);
    EXPECT_EQ(first->Attributes, 0x21);
    EXPECT_EQ(first->Checksum, 294u);
    EXPECT_FALSE(first->Locked);
    EXPECT_EQ(second->HeaderOffset, 21 + 25 + 9 + 3);
    EXPECT_EQ(second->Method, 1);
    EXPECT_EQ(second->UncompressedSize, 1000);
    EXPECT_TRUE(second->Locked);
    EXPECT_EQ(s.Position(), static_cast<int64_t>(archive.size()));
}

TEST(EntryWalk, NegativeDataSizesCannotLoopTheWalk) {
    // A damaged size that points backwards must not revisit the same header forever.
    Bytes archive = test::BuildArchive({{.name = "a", .plain = test::Text("abc"), .compressedSize = -29},
                                        {.name = "b", .plain = test::Text("def")}});
    MemoryStream s(archive);
    TArchiver a;
    TStringList list;
    a.ListArchiveEntries(s, list);
    EXPECT_LE(list.Count(), 3u);
    MemoryStream again(archive);
    test::TempDir dir;
    a.SetTargetPath(dir.Target());
    EXPECT_NO_THROW({
        try {
            a.ExpandArchiveEntries(again, nullptr);
        } catch (const EBadChecksum&) {
        }
    });
}

}  // namespace
}  // namespace kelp
