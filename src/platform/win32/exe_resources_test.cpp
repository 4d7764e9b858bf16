// The shipped program's resources, read back from its file as Windows reads
// them: the application manifest and the version resource.
#include <gtest/gtest.h>

#include <string>

#include "interpreter_fixture.h"
#include "platform/win32/win32_api.h"

namespace vantrel::win32 {
namespace {

class ExeResourcesTest : public vantrel::testing::InterpreterTest {
  protected:
    // A string of the version resource's U.S. English, Windows-1252 table.
    static std::string VersionString(const std::string& name) {
        DWORD ignored = 0;
        DWORD size = GetFileVersionInfoSizeA(VANTREL_EXE, &ignored);
        if (size == 0) return "(no version resource)";
        std::string block(size, '\0');
        if (!GetFileVersionInfoA(VANTREL_EXE, 0, size, block.data())) return "(unreadable)";
        char* value = nullptr;
        UINT length = 0;
        std::string path = "\\StringFileInfo\\040904E4\\" + name;
        if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value),
                            &length) ||
            length == 0) {
            return "(missing)";
        }
        return std::string(value, length - 1);  // the length counts the terminator
    }

    static std::string Manifest() {
        HMODULE exe = LoadLibraryExA(VANTREL_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (!exe) return "(exe not loaded)";
        std::string text = "(no manifest)";
        if (HRSRC found = FindResourceA(exe, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
            HGLOBAL loaded = LoadResource(exe, found);
            const char* bytes = static_cast<const char*>(LockResource(loaded));
            if (bytes) text.assign(bytes, SizeofResource(exe, found));
        }
        FreeLibrary(exe);
        return text;
    }
};

TEST_F(ExeResourcesTest, VersionResourceNamesTheProgramItsMakerAndTheVersionVerPrints) {
    const struct {
        const char* name;
        std::string value;
    } cases[] = {
        {"ProductName", "Vantrel"},
        {"CompanyName", "Orvane"},
        {"LegalCopyright", "Copyright \xA9 Orvane"},
        {"OriginalFilename", "Vantrel.exe"},
        {"FileDescription", "Vantrel command console"},
    };
    for (const auto& c : cases) EXPECT_EQ(VersionString(c.name), c.value) << c.name;
    const std::string shown = Output("ver");
    EXPECT_EQ(shown.substr(0, shown.find('\n')),
              "Orvane Vantrel v" + VersionString("ProductVersion"));
    EXPECT_EQ(VersionString("FileVersion"), VersionString("ProductVersion"));
}

TEST_F(ExeResourcesTest, ManifestAsksForWhatTheProgramNeeds) {
    const std::string manifest = Manifest();
    const char* parts[] = {
        "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>",
        // Windows 10 and 11
        "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
        ">PerMonitorV2, PerMonitor</dpiAwareness>",
        ">true</longPathAware>",
    };
    for (const char* part : parts) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part << "\nin\n" << manifest;
    }
}

}  // namespace
}  // namespace vantrel::win32
