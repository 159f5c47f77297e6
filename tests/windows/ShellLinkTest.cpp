// Shortcuts written through TLink and WriteShellLink, read back through the
// shell's own IShellLinkA and IPersistFile::Load; the Shell Folders lookup.
#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "TestSupport.h"
#include "shell/Link.h"

namespace kelp {
namespace {

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// What a shortcut file holds, as the shell reads it.
struct LinkContents {
    std::string Path, WorkingDirectory, Description, Arguments, IconFile;
    int IconIndex = -1;
    WORD HotKey = 0;
    int ShowCmd = 0;
};

LinkContents ReadLink(const std::string& file) {
    LinkContents c;
    IShellLinkA* link = nullptr;
    IPersistFile* persist = nullptr;
    EXPECT_EQ(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)),
              S_OK);
    if (!link) return c;
    EXPECT_EQ(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)), S_OK);
    WCHAR name[MAX_PATH];
    ::MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, name, MAX_PATH);
    EXPECT_EQ(persist->Load(name, STGM_READ), S_OK) << file;
    char buffer[1024];
    buffer[0] = '\0';
    link->GetPath(buffer, sizeof buffer, nullptr, SLGP_RAWPATH);
    c.Path = buffer;
    buffer[0] = '\0';
    link->GetWorkingDirectory(buffer, sizeof buffer);
    c.WorkingDirectory = buffer;
    buffer[0] = '\0';
    link->GetDescription(buffer, sizeof buffer);
    c.Description = buffer;
    buffer[0] = '\0';
    link->GetArguments(buffer, sizeof buffer);
    c.Arguments = buffer;
    buffer[0] = '\0';
    link->GetIconLocation(buffer, sizeof buffer, &c.IconIndex);
    c.IconFile = buffer;
    link->GetHotkey(&c.HotKey);
    persist->Release();
    link->Release();
    // Wine's Load drops the show command, so it is read from the file's header
    // (a 32-bit value at offset 0x3C of the shell link format).
    const test::Bytes bytes = test::ReadWholeFile(file);
    EXPECT_GE(bytes.size(), 0x44u);
    if (bytes.size() >= 0x44)
        c.ShowCmd = bytes[0x3C] | (bytes[0x3D] << 8) | (bytes[0x3E] << 16) | (bytes[0x3F] << 24);
    return c;
}

bool SameText(const std::string& a, const std::string& b) { return ::lstrcmpiA(a.c_str(), b.c_str()) == 0; }

// A value of the Shell Folders key for the length of one test.
class ScopedFolderValue {
public:
    ScopedFolderValue(const std::string& name, DWORD type, const void* data, DWORD size) : name_(name) {
        EXPECT_EQ(::RegSetKeyValueA(HKEY_CURRENT_USER, kShellFolders, name.c_str(), type, data, size),
                  ERROR_SUCCESS);
    }
    ~ScopedFolderValue() { ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kShellFolders, name_.c_str()); }

private:
    std::string name_;
};

class ShellLinkTest : public testing::Test {
protected:
    static void SetUpTestSuite() { services_ = std::make_unique<ShellServices>(); }
    static void TearDownTestSuite() { services_.reset(); }
    void TearDown() override {
        for (const std::string& f : cleanup_) {
            ::DeleteFileA(f.c_str());
            ::RemoveDirectoryA(f.c_str());
        }
    }
    // Removed after the test, in the order given.
    void Cleanup(const std::string& path) { cleanup_.push_back(path); }

    test::TempDir scratch_;

private:
    static std::unique_ptr<ShellServices> services_;
    std::vector<std::string> cleanup_;
};

std::unique_ptr<ShellServices> ShellLinkTest::services_;

TEST_F(ShellLinkTest, OptionBits) {
    const std::pair<TLinkDataOption, uint8_t> cases[] = {
        {ldoUseDesc, 1},     {ldoUseArgs, 2},     {ldoUseIcon, 4},
        {ldoUseWorkDir, 8},  {ldoUseHotKey, 16},  {ldoUseShowCmd, 32},
    };
    for (const auto& [member, bit] : cases) {
        TLinkDataOptions o{member};
        EXPECT_EQ(o.Bits(), bit);
        EXPECT_TRUE(o.Contains(member));
    }
    EXPECT_EQ((TLinkDataOptions{ldoUseDesc, ldoUseIcon, ldoUseWorkDir}).Bits(), 13);
    EXPECT_EQ(TLink().Options.Bits(), 0) << "a new component starts empty";
}

TEST_F(ShellLinkTest, SpecialFoldersMatchTheShell) {
    const std::pair<const char*, int> cases[] = {
        {"Programs", CSIDL_PROGRAMS}, {"SendTo", CSIDL_SENDTO}, {"Desktop", CSIDL_DESKTOPDIRECTORY}};
    for (const auto& [name, csidl] : cases) {
        char expected[MAX_PATH];
        ASSERT_EQ(::SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, 0, expected), S_OK) << name;
        const std::string path = SpecialFolderPath(name);
        EXPECT_TRUE(SameText(path, expected)) << name << ": " << path << " vs " << expected;
        EXPECT_NE(path.back(), '\\') << "returned as stored";
    }
}

TEST_F(ShellLinkTest, SpecialFolderLookupErrors) {
    const DWORD number = 7;
    const char empty[] = "";
    const char expandable[] = "%USERPROFILE%\\Kelp";
    ScopedFolderValue dword("KelpNumber", REG_DWORD, &number, sizeof number);
    ScopedFolderValue blank("KelpBlank", REG_SZ, empty, sizeof empty);
    ScopedFolderValue expand("KelpExpand", REG_EXPAND_SZ, expandable, sizeof expandable);
    struct Case {
        const char* name;
        const char* message;
    };
    const Case cases[] = {
        {"NoSuchFolder", "\"NoSuchFolder\" item not found in registry"},
        {"", "\"\" item not found in registry"},
        {"KelpBlank", "\"KelpBlank\" item not found in registry"},
        {"KelpNumber", "Invalid data type for 'KelpNumber'"},
    };
    for (const Case& c : cases) {
        try {
            SpecialFolderPath(c.name);
            ADD_FAILURE() << "found " << c.name;
        } catch (const ERegistryException& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
    EXPECT_EQ(SpecialFolderPath("KelpExpand"), expandable) << "expandable strings stay unexpanded";
}

TEST_F(ShellLinkTest, MissingShellFoldersKey) {
    // Keep the key's values, remove the key, and put everything back afterwards.
    struct Saved {
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
    };
    std::vector<Saved> saved;
    HKEY key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, KEY_READ, &key), ERROR_SUCCESS);
    for (DWORD i = 0;; ++i) {
        char name[512];
        BYTE data[2048];
        DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
        if (::RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
        saved.push_back({name, type, std::vector<BYTE>(data, data + dataSize)});
    }
    ::RegCloseKey(key);
    ASSERT_FALSE(saved.empty());
    ASSERT_EQ(::RegDeleteKeyA(HKEY_CURRENT_USER, kShellFolders), ERROR_SUCCESS);

    std::string message;
    try {
        TLink link;
        link.LinkFolder = "Programs";
        link.Description = "KelpNoKey";
        link.FileName = "C:\\KelpFTP.exe";
        link.CreateLink();
    } catch (const ERegistryException& e) {
        message = e.Message();
    }
    for (const Saved& s : saved)
        ::RegSetKeyValueA(HKEY_CURRENT_USER, kShellFolders, s.name.c_str(), s.type, s.data.data(),
                          static_cast<DWORD>(s.data.size()));
    EXPECT_EQ(message,
              "Folder key \"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\" not found");
    EXPECT_NO_THROW(SpecialFolderPath("Programs")) << "the key is back";
}

TEST_F(ShellLinkTest, InstallerShortcutReadsBack) {
    const std::string target = scratch_ / "KelpFTP.exe";
    test::WriteWholeFile(target, test::ToBytes("MZ"));
    const char* folders[] = {"Programs", "SendTo", "Desktop"};
    for (const char* folder : folders) {
        TLink link;
        link.Options = {ldoUseDesc, ldoUseIcon, ldoUseWorkDir};
        link.LinkFolder = folder;
        link.Description = "KelpTest Shortcut";
        link.FileName = target;
        link.Arguments = "--not-written";
        const std::string file = link.CreateLink();
        Cleanup(file);
        EXPECT_EQ(file, SpecialFolderPath(folder) + "\\KelpTest Shortcut.lnk");
        ASSERT_TRUE(test::FileExists(file)) << file;
        const LinkContents c = ReadLink(file);
        EXPECT_TRUE(SameText(c.Path, target)) << c.Path;
        EXPECT_EQ(c.WorkingDirectory, scratch_.Path()) << "with its final backslash";
        EXPECT_EQ(c.Description, "KelpTest Shortcut");
        EXPECT_EQ(c.Arguments, "") << "arguments need ldoUseArgs";
        EXPECT_EQ(c.IconFile, "");
        EXPECT_EQ(c.IconIndex, 0);
        // The same component again writes the same file again.
        EXPECT_EQ(link.CreateLink(), file);
        EXPECT_TRUE(test::FileExists(file));
    }
}

TEST_F(ShellLinkTest, EachOptionWritesItsAttribute) {
    TLinkData data;
    data.PathName = scratch_ / "target.exe";
    test::WriteWholeFile(data.PathName, test::ToBytes("MZ"));
    data.Description = "a description";
    data.Arguments = "/arg value";
    data.IconFile = "C:\\windows\\system32\\shell32.dll";
    data.IconIndex = 3;
    data.WorkingDirectory = scratch_.Path();
    data.ShowCommand = SW_SHOWMAXIMIZED;
    data.HotKey = MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT);
    const TLinkDataOptions cases[] = {
        {},
        {ldoUseDesc},
        {ldoUseArgs},
        {ldoUseIcon},
        {ldoUseWorkDir},
        {ldoUseHotKey},
        {ldoUseShowCmd},
        {ldoUseDesc, ldoUseArgs, ldoUseIcon, ldoUseWorkDir, ldoUseHotKey, ldoUseShowCmd},
    };
    for (const TLinkDataOptions& options : cases) {
        const std::string file = scratch_ / ("link" + std::to_string(options.Bits()) + ".lnk");
        data.Options = options;
        ASSERT_EQ(WriteShellLink(file, data), S_OK) << int(options.Bits());
        const LinkContents c = ReadLink(file);
        const auto label = "options " + std::to_string(options.Bits());
        EXPECT_TRUE(SameText(c.Path, data.PathName)) << label;
        EXPECT_EQ(c.Description, options.Contains(ldoUseDesc) ? data.Description : "") << label;
        EXPECT_EQ(c.Arguments, options.Contains(ldoUseArgs) ? data.Arguments : "") << label;
        EXPECT_EQ(c.IconFile, options.Contains(ldoUseIcon) ? data.IconFile : "") << label;
        EXPECT_EQ(c.IconIndex, options.Contains(ldoUseIcon) ? 3 : 0) << label;
        EXPECT_EQ(c.WorkingDirectory, options.Contains(ldoUseWorkDir) ? data.WorkingDirectory : "") << label;
        EXPECT_EQ(c.HotKey, options.Contains(ldoUseHotKey) ? data.HotKey : 0) << label;
        EXPECT_EQ(c.ShowCmd, options.Contains(ldoUseShowCmd) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL) << label;
    }
}

TEST_F(ShellLinkTest, SubfoldersAreCreated) {
    const std::string programs = SpecialFolderPath("Programs");
    const std::string top = programs + "\\KelpTestA", inner = top + "\\B";
    TLink link;
    link.Options = {ldoUseDesc};
    link.LinkFolder = "Programs\\KelpTestA\\B";
    link.Description = "KelpFTP";
    link.FileName = "C:\\KelpFTP.exe";
    const std::string file = link.CreateLink();
    Cleanup(file);
    Cleanup(inner);
    Cleanup(top);
    EXPECT_EQ(file, inner + "\\KelpFTP.lnk");
    EXPECT_TRUE(test::DirectoryExists(inner));
    ASSERT_TRUE(test::FileExists(file));

    link.Options = {ldoUseWorkDir};
    EXPECT_EQ(link.CreateLink(), file);
    EXPECT_EQ(ReadLink(file).WorkingDirectory, "C:\\") << "a drive root keeps its backslash";
}

TEST_F(ShellLinkTest, UnusualNames) {
    const std::string programs = SpecialFolderPath("Programs");
    struct Case {
        const char* label;
        std::string description;
        bool written;
    };
    const Case cases[] = {
        {"empty description", "", true},
        {"path past 259 units", std::string(300, 'k'), false},
    };
    for (const Case& c : cases) {
        TLink link;
        link.LinkFolder = "Programs";
        link.Description = c.description;
        link.FileName = "C:\\KelpFTP.exe";
        const std::string file = link.CreateLink();
        Cleanup(file);
        EXPECT_EQ(file, programs + "\\" + c.description + ".lnk") << c.label;
        EXPECT_EQ(test::FileExists(file), c.written) << c.label;
    }
    TLinkData data;
    data.PathName = "C:\\KelpFTP.exe";
    EXPECT_TRUE(FAILED(WriteShellLink(programs + "\\" + std::string(300, 'k') + ".lnk", data)))
        << "the save of a name that does not fit fails";
}

TEST_F(ShellLinkTest, UnknownFolderRaisesBeforeWriting) {
    TLink link;
    link.LinkFolder = "KelpNoSuchFolder\\Sub";
    link.Description = "KelpFTP";
    link.FileName = "C:\\KelpFTP.exe";
    try {
        link.CreateLink();
        FAIL() << "no error for an unknown special folder";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "\"KelpNoSuchFolder\" item not found in registry") << "only the head is looked up";
    }
}

TEST_F(ShellLinkTest, NestedServicesKeepComRunning) {
    { ShellServices inner; }
    IShellLinkA* link = nullptr;
    EXPECT_EQ(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)),
              S_OK);
    if (link) link->Release();
}

}  // namespace
}  // namespace kelp
