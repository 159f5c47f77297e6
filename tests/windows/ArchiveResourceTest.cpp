// OpenArchiveResource over this program's own resource and over a library's.
#include <windows.h>

#include <gtest/gtest.h>

#include <typeinfo>

#include "TestSupport.h"
#include "archive/Archiver.h"
#include "archive/FileSystem.h"

namespace kelp {
namespace {

using test::Bytes;

constexpr const char* kResourceDll = "kelp_test_resdll.dll";

Bytes ReadAll(Stream& s) {
    Bytes data(static_cast<size_t>(s.Size()));
    EXPECT_EQ(s.Read(data.data(), static_cast<int32_t>(data.size())), static_cast<int32_t>(data.size()));
    return data;
}

// What the .rc files hold, rebuilt from the format's records.
Bytes ExeArchive() { return test::BuildArchive({test::StoredEntry("HELLO.TXT", "hello", 0x5A8C6000)}); }
Bytes DllArchive() { return test::BuildArchive({test::StoredEntry("DLL.TXT", "from dll", 0x5A8C6000)}); }

TEST(ArchiveResource, OwnModuleMatchesNamesWithoutCase) {
    const char* names[] = {"DATA", "data", "Data"};
    for (const char* name : names) {
        auto stream = TArchiver::OpenArchiveResource(name, "");
        ASSERT_NE(stream, nullptr) << name;
        EXPECT_EQ(stream->Position(), 0) << name;
        EXPECT_EQ(ReadAll(*stream), ExeArchive()) << name;
        EXPECT_EQ(stream->Write("x", 1), 0) << "the resource stream is read-only";
    }
}

TEST(ArchiveResource, ListsAndExpandsFromTheResource) {
    test::TempDir dir;
    TArchiver archiver;
    archiver.SetTargetPath(dir.Path());
    TStringList names;
    archiver.ListArchiveEntries(*TArchiver::OpenArchiveResource("data", ""), names);
    ASSERT_EQ(names.Count(), 1u);
    EXPECT_EQ(names[0], "HELLO.TXT");
    // As the installer does: a second stream for the expansion.
    archiver.ExpandArchiveEntries(*TArchiver::OpenArchiveResource("data", ""), &names);
    ASSERT_EQ(names.Count(), 1u);
    EXPECT_EQ(names[0], dir / "HELLO.TXT");
    EXPECT_EQ(test::ReadWholeFile(dir / "HELLO.TXT"), test::ToBytes("hello"));
    EXPECT_EQ(fs::GetFileDosTime(dir / "HELLO.TXT"), 0x5A8C6000u);
}

TEST(ArchiveResource, MissingResourceRaisesResNotFound) {
    struct Case {
        const char* name;
        const char* library;
    };
    const Case cases[] = {
        {"NOPE", ""},        // no such name
        {"OTHER", ""},       // a resource of another type
        {"", ""},            // no name at all
        {"DATA", kResourceDll},  // the library has PAYLOAD, not DATA
    };
    for (const Case& c : cases) {
        try {
            TArchiver::OpenArchiveResource(c.name, c.library);
            ADD_FAILURE() << "found " << c.name;
        } catch (const EResNotFound& e) {
            EXPECT_EQ(e.Message(), std::string("Resource ") + c.name + " not found");
        }
    }
    EXPECT_EQ(::GetModuleHandleA(kResourceDll), nullptr) << "a failed open must not keep the library";
}

TEST(ArchiveResource, LibraryThatCannotBeLoaded) {
    const char* libraries[] = {"kelp_no_such_library.dll", "C:\\nowhere\\at\\all.dll"};
    for (const char* library : libraries) {
        try {
            TArchiver::OpenArchiveResource("DATA", library);
            ADD_FAILURE() << library;
        } catch (const Exception& e) {
            EXPECT_EQ(typeid(e), typeid(Exception)) << "a plain Exception, not a subclass";
            EXPECT_EQ(e.Message(), std::string("Could not load ") + library + " DLL");
        }
    }
}

TEST(ArchiveResource, LibraryStaysLoadedWhileTheStreamLives) {
    ASSERT_EQ(::GetModuleHandleA(kResourceDll), nullptr) << "the test program must not import it";
    {
        auto stream = TArchiver::OpenArchiveResource("payload", kResourceDll);
        EXPECT_NE(::GetModuleHandleA(kResourceDll), nullptr);
        EXPECT_EQ(stream->Position(), 0);
        EXPECT_EQ(ReadAll(*stream), DllArchive());
        TStringList names;
        stream->SetPosition(0);
        TArchiver archiver;
        archiver.ListArchiveEntries(*stream, names);
        ASSERT_EQ(names.Count(), 1u);
        EXPECT_EQ(names[0], "DLL.TXT");
    }
    EXPECT_EQ(::GetModuleHandleA(kResourceDll), nullptr) << "freeing the stream releases the library";
}

}  // namespace
}  // namespace kelp
