// The program's resources as the built file holds them: the four dialog
// templates control by control, the empty layouts, the about string, the
// icon, the version block and the manifest. Checked in the resource DLL built
// beside the tests and, once it is built, in Trelox.exe.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "DialogTemplateReader.h"
#include "ResourceModule.h"
#include "TestPaths.h"

namespace {

constexpr DWORD kDialog = DS_SETFONT | DS_MODALFRAME | DS_FIXEDSYS | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kLabel = kChild | WS_GROUP | SS_LEFT;
constexpr DWORD kEdit = kChild | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
constexpr DWORD kPush = kChild | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kDefault = kChild | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD kCentred = kChild | WS_GROUP | SS_CENTER;

struct Expected {
    int id;
    const char* windowClass;
    const char* text;
    short x, y, cx, cy;
    DWORD style;
};

struct ExpectedDialog {
    int id;
    const char* title;
    short cx, cy;
    WORD weight;
    DWORD style;
    DWORD exStyle;
    std::vector<Expected> controls;
};

const ExpectedDialog kAboutBox{100, "Info \xFC" "ber Trelox", 235, 55, 0, kDialog, 0, {
    {-1, "Static", "#128", 11, 17, 20, 20, kChild | SS_ICON},
    {-1, "Static", "Trelox Version 1.1", 40, 10, 119, 8, kLabel | SS_NOPREFIX},
    {-1, "Static", "Copyright \xA9 2024-2025\nTrelox-Entwicklerteam", 40, 25, 181, 17, kLabel},
    {IDOK, "Button", "OK", 178, 7, 50, 16, kDefault | WS_GROUP},
}};

const ExpectedDialog kMainDialog{102, "Trelox", 287, 206, 0, kDialog | WS_VISIBLE, WS_EX_APPWINDOW, {
    {-1, "Static", "Seriennummer:", 11, 11, 49, 8, kLabel},
    {1006, "Edit", "", 10, 20, 227, 12, kEdit},
    {1007, "Button", "*", 240, 19, 15, 14, kPush},
    {1008, "Button", "?", 258, 19, 15, 14, kPush},
    {-1, "Static", "Produktbezeichnung:", 12, 35, 68, 8, kLabel},
    {1009, "Edit", "", 10, 44, 227, 12, kEdit},
    {1010, "Button", "*", 240, 43, 15, 14, kPush},
    {1011, "Button", "?", 258, 43, 15, 14, kPush},
    {-1, "Static", "Hersteller:", 11, 59, 34, 8, kLabel},
    {1012, "Edit", "", 10, 69, 227, 12, kEdit},
    {1013, "Button", "*", 240, 67, 15, 14, kPush},
    {1014, "Button", "?", 258, 67, 15, 14, kPush},
    {-1, "Static", "Version:", 12, 83, 27, 8, kLabel},
    {1015, "Edit", "", 10, 93, 227, 12, kEdit},
    {1017, "Button", "?", 258, 91, 15, 14, kPush},
    {-1, "Static", "Fehlerinformation:", 12, 108, 60, 8, kLabel},
    {1016, "Edit", "", 10, 118, 227, 12, kEdit},
    {1018, "Button", "?", 258, 116, 15, 14, kPush},
    {-1, "Static", "Flash-Datei:", 14, 140, 40, 8, kLabel},
    {1000, "Edit", "", 10, 151, 246, 13, kEdit | ES_WANTRETURN},
    {1001, "Button", "...", 259, 150, 16, 14, kPush},
    {IDOK, "Button", "Flashen", 59, 175, 50, 16, kDefault},
    {IDCANCEL, "Button", "Schlie\xDF" "en", 156, 175, 50, 16, kPush},
}};

const ExpectedDialog kProgressDialog{129, "Fortschrittsanzeige", 186, 90, 400, kDialog, 0, {
    {IDCANCEL, "Button", "Abbrechen", 68, 62, 50, 14, kPush},
    {1002, "msctls_progress32", "", 19, 24, 148, 14, kChild | WS_BORDER},
    {1004, "Static", "Vorgangsbeschreibung", 20, 10, 143, 8, kCentred},
    {1005, "Static", "Prozent", 23, 43, 140, 8, kCentred},
}};

const ExpectedDialog kStatusWindow{130, "Flash-Programmierung", 186, 81, 400, kDialog, 0, {
    {IDCANCEL, "Button", "Abbrechen", 70, 52, 50, 14, kPush},
    {1009, "Static", "Zustandsbeschreibung", 19, 15, 150, 8, kCentred},
    {1010, "Static", "Zeit: 00:00:00", 19, 29, 150, 8, kCentred},
}};

std::vector<std::string> ModulesToCheck()
{
    std::vector<std::string> modules{SiblingOfTestProgram("trelox_resources.dll")};
#ifdef TRELOX_EXE_PATH
    modules.push_back(SystemPathOf(TRELOX_EXE_PATH));
#endif
    return modules;
}

class ResourceTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override { ASSERT_TRUE(m_module.IsOpen()) << GetParam() << ": error " << ::GetLastError(); }

    void ExpectDialog(const ExpectedDialog& expected)
    {
        std::string bytes;
        ASSERT_TRUE(m_module.FindGerman(RT_DIALOG, MAKEINTRESOURCEA(expected.id), &bytes)) << expected.id;
        DialogTemplate dialog;
        ASSERT_TRUE(DialogTemplateReader(bytes.data(), bytes.size()).Read(&dialog)) << expected.id;

        EXPECT_EQ(dialog.style, expected.style);
        EXPECT_EQ(dialog.exStyle, expected.exStyle);
        EXPECT_EQ(dialog.x, 0);
        EXPECT_EQ(dialog.y, 0);
        EXPECT_EQ(dialog.cx, expected.cx);
        EXPECT_EQ(dialog.cy, expected.cy);
        EXPECT_EQ(dialog.menu, "");
        EXPECT_EQ(dialog.windowClass, "");
        EXPECT_EQ(dialog.title, expected.title);
        EXPECT_EQ(dialog.pointSize, 8);
        EXPECT_EQ(dialog.weight, expected.weight);
        EXPECT_EQ(dialog.italic, 0);
        EXPECT_EQ(dialog.typeface, "MS Shell Dlg");

        // Template order is tab order, so the controls are compared in order.
        ASSERT_EQ(dialog.controls.size(), expected.controls.size()) << expected.id;
        for (std::size_t i = 0; i < expected.controls.size(); ++i) {
            const DialogControl& got = dialog.controls[i];
            const Expected& want = expected.controls[i];
            SCOPED_TRACE("dialog " + std::to_string(expected.id) + ", control " + std::to_string(i) + " \"" +
                         want.text + "\"");
            EXPECT_EQ(got.id, want.id);
            // Class names are not case-sensitive; some resource compilers
            // store them in upper case.
            EXPECT_EQ(::lstrcmpiA(got.windowClass.c_str(), want.windowClass), 0) << got.windowClass;
            EXPECT_EQ(got.text, want.text);
            EXPECT_EQ(got.x, want.x);
            EXPECT_EQ(got.y, want.y);
            EXPECT_EQ(got.cx, want.cx);
            EXPECT_EQ(got.cy, want.cy);
            EXPECT_EQ(got.style, want.style) << std::hex << got.style << " != " << want.style;
            EXPECT_EQ(got.exStyle, 0u);
        }
    }

    std::string VersionString(const std::vector<char>& block, const char* item)
    {
        void* value = nullptr;
        UINT length = 0;
        const std::string query = std::string("\\StringFileInfo\\040704e4\\") + item;
        if (!::VerQueryValueA(block.data(), query.c_str(), &value, &length) || length == 0) {
            return "<missing>";
        }
        return std::string(static_cast<const char*>(value));
    }

    ResourceModule m_module{GetParam()};
};

std::string ModuleName(const ::testing::TestParamInfo<std::string>& info)
{
    return info.index == 0 ? "ResourceDll" : "TreloxExe";
}

INSTANTIATE_TEST_SUITE_P(Modules, ResourceTest, ::testing::ValuesIn(ModulesToCheck()), ModuleName);

TEST_P(ResourceTest, AboutBoxTemplate)
{
    ExpectDialog(kAboutBox);
}

TEST_P(ResourceTest, MainDialogTemplate)
{
    ExpectDialog(kMainDialog);
}

TEST_P(ResourceTest, ProgressDialogTemplate)
{
    ExpectDialog(kProgressDialog);
}

TEST_P(ResourceTest, StatusWindowTemplate)
{
    ExpectDialog(kStatusWindow);
}

TEST_P(ResourceTest, OnlyAboutBoxAndMainDialogCarryAnEmptyDynamicLayout)
{
    for (int id : {100, 102}) {
        std::string layout;
        ASSERT_TRUE(m_module.FindGerman("AFX_DIALOG_LAYOUT", MAKEINTRESOURCEA(id), &layout)) << id;
        EXPECT_EQ(layout, std::string(2, '\0')) << id;
    }
    for (int id : {129, 130}) {
        std::string layout;
        EXPECT_FALSE(m_module.Find("AFX_DIALOG_LAYOUT", MAKEINTRESOURCEA(id), &layout)) << id;
    }
}

TEST_P(ResourceTest, AboutItemStringIsGerman)
{
    char text[64] = {};
    ASSERT_GT(::LoadStringA(m_module.Handle(), 101, text, sizeof text), 0);
    EXPECT_STREQ(text, "&Info \xFC" "ber Trelox...");
    std::string block;
    EXPECT_TRUE(m_module.FindGerman(RT_STRING, MAKEINTRESOURCEA(101 / 16 + 1), &block));
}

TEST_P(ResourceTest, IconHasA32And16PixelImageOf256Colours)
{
    std::string group;
    ASSERT_TRUE(m_module.FindGerman(RT_GROUP_ICON, MAKEINTRESOURCEA(128), &group));
    ASSERT_GE(group.size(), 6u);
    WORD header[3];
    std::memcpy(header, group.data(), sizeof header);
    EXPECT_EQ(header[1], 1) << "an icon group";
    ASSERT_EQ(header[2], 2) << "two images";
    ASSERT_EQ(group.size(), 6u + 2 * 14u);

    std::vector<int> sizes;
    for (int i = 0; i < 2; ++i) {
        const char* entry = group.data() + 6 + 14 * i;
        const BYTE width = static_cast<BYTE>(entry[0]);
        const BYTE height = static_cast<BYTE>(entry[1]);
        WORD bitCount = 0, imageId = 0;
        std::memcpy(&bitCount, entry + 6, 2);
        std::memcpy(&imageId, entry + 12, 2);
        EXPECT_EQ(width, height);
        EXPECT_EQ(static_cast<BYTE>(entry[2]), 0) << "256 colours are written as 0";
        EXPECT_EQ(bitCount, 8);
        sizes.push_back(width);

        std::string image;
        ASSERT_TRUE(m_module.FindGerman(RT_ICON, MAKEINTRESOURCEA(imageId), &image));
        BITMAPINFOHEADER info{};
        ASSERT_GE(image.size(), sizeof info);
        std::memcpy(&info, image.data(), sizeof info);
        EXPECT_EQ(info.biWidth, width);
        EXPECT_EQ(info.biHeight, 2 * height) << "image and mask";
        EXPECT_EQ(info.biBitCount, 8);
        const std::size_t rowBytes = (width + 3u) & ~3u;
        const std::size_t maskBytes = ((width + 31u) / 32u) * 4u;
        EXPECT_EQ(image.size(), sizeof info + 256u * 4u + height * (rowBytes + maskBytes));
    }
    EXPECT_EQ(sizes, (std::vector<int>{32, 16}));
}

TEST_P(ResourceTest, VersionBlock)
{
    const std::string path = GetParam();
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(::GetFileVersionInfoA(path.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010001u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010001u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    WORD* translation = nullptr;
    ASSERT_TRUE(::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                                 &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0407);
    EXPECT_EQ(translation[1], 1252);

    EXPECT_EQ(VersionString(block, "FileDescription"), "Trelox");
    EXPECT_EQ(VersionString(block, "FileVersion"), "1.1.0.0");
    EXPECT_EQ(VersionString(block, "InternalName"), "Trelox.exe");
    EXPECT_EQ(VersionString(block, "OriginalFilename"), "Trelox.exe");
    EXPECT_EQ(VersionString(block, "ProductName"), "Trelox");
    EXPECT_EQ(VersionString(block, "ProductVersion"), "1.1.0.0");
    EXPECT_EQ(VersionString(block, "CompanyName"), "Trelox-Entwicklerteam");
    EXPECT_EQ(VersionString(block, "LegalCopyright"), "Copyright \xA9 2024-2025 Trelox-Entwicklerteam");
}

TEST_P(ResourceTest, ManifestAsksForCallersRightsDpiAwarenessAndClassicControls)
{
    std::string manifest;
    ASSERT_TRUE(m_module.FindGerman(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1), &manifest));
    const auto has = [&manifest](const char* text) { return manifest.find(text) != std::string::npos; };
    EXPECT_TRUE(has("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"));
    EXPECT_TRUE(has(">true</dpiAware>"));
    EXPECT_FALSE(has("Common-Controls")) << "no dependency on version 6 of the common controls";
    EXPECT_FALSE(has("<dependency"));
}

}  // namespace
