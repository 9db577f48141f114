// The resource script's dialog templates against the window's control table: ids, classes, styles, texts and
// rectangles. The GUI tests and the skinned controls find controls by these ids and pictures by these texts.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string SourceRoot()
{
    std::string here = __FILE__;  // .../tests/native/resource_script_test.cpp
    return here.substr(0, here.rfind("/tests/native/"));
}

std::vector<std::string> Lines(const std::string& path)
{
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

std::string Trim(const std::string& s)
{
    size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// Splits at commas outside quoted text.
std::vector<std::string> Fields(const std::string& s)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (char c : s) {
        if (c == '"') quoted = !quoted;
        if (c == ',' && !quoted) {
            fields.push_back("");
            continue;
        }
        fields.back() += c;
    }
    for (auto& f : fields) f = Trim(f);
    return fields;
}

std::set<std::string> Flags(const std::string& s)
{
    std::set<std::string> flags;
    std::stringstream in(s);
    for (std::string flag; std::getline(in, flag, '|');) flags.insert(Trim(flag));
    return flags;
}

std::map<std::string, int> Identifiers()
{
    std::map<std::string, int> ids{{"IDOK", 1}, {"IDCANCEL", 2}, {"IDYES", 6}, {"IDNO", 7}};
    for (const std::string& line : Lines(SourceRoot() + "/resources/resource_ids.h")) {
        std::stringstream in(line);
        std::string define, name;
        int value;
        if (in >> define >> name >> value && define == "#define") ids[name] = value;
    }
    return ids;
}

struct Control {
    std::string text;
    int id;
    std::string windowClass;
    std::set<std::string> style;
    int x, y, width, height;
    std::string exStyle;
};

struct Template {
    std::string header;  // "DIALOGEX x, y, w, h" line
    std::set<std::string> style;
    std::string font;
    std::vector<Control> controls;
};

Template ReadTemplate(const std::string& name)
{
    std::map<std::string, int> ids = Identifiers();
    std::vector<std::string> lines = Lines(SourceRoot() + "/resources/vexilor.rc");
    Template t;
    size_t i = 0;
    while (i < lines.size() && lines[i].rfind(name + " DIALOGEX", 0) != 0) ++i;
    if (i == lines.size()) return t;
    t.header = Trim(lines[i].substr(name.size()));
    std::vector<std::string> statements;
    for (++i; i < lines.size() && Trim(lines[i]) != "END"; ++i) {
        std::string line = Trim(lines[i]);
        if (line.rfind("STYLE ", 0) == 0) t.style = Flags(line.substr(6));
        if (line.rfind("FONT ", 0) == 0) t.font = line.substr(5);
        if (line.rfind("CONTROL ", 0) == 0) statements.push_back(line.substr(8));
        else if (!statements.empty() && line != "BEGIN") statements.back() += " " + line;  // continuation
    }
    for (const std::string& statement : statements) {
        std::vector<std::string> f = Fields(statement);
        if (f.size() < 8) continue;
        Control c{f[0].substr(1, f[0].size() - 2), ids.count(f[1]) ? ids[f[1]] : -1, f[2].substr(1, f[2].size() - 2),
                  Flags(f[3]), std::stoi(f[4]), std::stoi(f[5]), std::stoi(f[6]), std::stoi(f[7]),
                  f.size() > 8 ? f[8] : ""};
        t.controls.push_back(c);
    }
    return t;
}

const std::set<std::string> kOwnerDrawn{"BS_OWNERDRAW", "WS_TABSTOP"};
const std::set<std::string> kFlatGroup{"BS_GROUPBOX", "BS_FLAT"};
const std::set<std::string> kLeftStatic{"SS_LEFT", "WS_GROUP"};
const std::set<std::string> kCentredStatic{"SS_CENTER", "WS_GROUP"};

}  // namespace

TEST(ResourceScript, MainWindowTemplateIsACaptionlessPopupOfTheRightSize)
{
    Template t = ReadTemplate("IDD_MAIN_SCAN");
    EXPECT_EQ("DIALOGEX 0, 0, 349, 209", t.header);
    EXPECT_EQ((std::set<std::string>{"DS_SETFONT", "WS_POPUP", "WS_BORDER"}), t.style);
    EXPECT_EQ("8, \"MS Sans Serif\"", t.font);
}

TEST(ResourceScript, MainWindowControlsInTemplateOrder)
{
    struct Expected {
        int id;
        const char* windowClass;
        std::set<std::string> style;
        const char* text;  // null: a placeholder, replaced at initialisation
        int x, y, width, height;
    };
    const Expected expected[] = {
        {1070, "Button", kOwnerDrawn, "OK", 128, 177, 50, 14},
        {2, "Button", kOwnerDrawn, "CANCEL", 128, 177, 50, 14},
        {1052, "Button", kOwnerDrawn, "SCAN", 11, 40, 76, 16},
        {1053, "Button", kOwnerDrawn, "DOWNLOAD", 189, 40, 97, 16},
        {1054, "Button", kOwnerDrawn, "X", 290, 3, 10, 10},
        {1064, "Button", kFlatGroup, "", 16, 81, 276, 29},
        {1065, "Static", kLeftStatic, "Static", 18, 93, 264, 11},
        {1076, "Static", kLeftStatic, "Searching For", 16, 70, 268, 11},
        {1068, "Static", kCentredStatic, nullptr, 31, 25, 244, 11},
        {1075, "Static", kCentredStatic, nullptr, 6, 136, 292, 10},
        {1072, "Static", kCentredStatic, nullptr, 6, 103, 292, 11},
        {1074, "Static", kCentredStatic, "Static", 9, 71, 290, 14},
        {1077, "Button", kOwnerDrawn, "DLINK", 61, 133, 85, 7},
        {1080, "Button", kOwnerDrawn, "ULINK", 32, 177, 54, 6},
        {1085, "Button", kOwnerDrawn, "TARNWICKLOGO", 241, 174, 38, 10},
        {1034, "Button", kFlatGroup, "", 16, 111, 276, 58},
        {1055, "ListBox",
         {"WS_VSCROLL", "WS_HSCROLL", "WS_TABSTOP", "LBS_USETABSTOPS", "LBS_NOINTEGRALHEIGHT"},
         "",
         17,
         117,
         273,
         51},
    };
    Template t = ReadTemplate("IDD_MAIN_SCAN");
    ASSERT_EQ(std::size(expected), t.controls.size());
    for (size_t i = 0; i < t.controls.size(); ++i) {
        const Control& c = t.controls[i];
        const Expected& e = expected[i];
        SCOPED_TRACE("control " + std::to_string(e.id));
        EXPECT_EQ(e.id, c.id);
        EXPECT_EQ(e.windowClass, c.windowClass);
        EXPECT_EQ(e.style, c.style);
        if (e.text) {
            EXPECT_EQ(e.text, c.text);
        }
        EXPECT_EQ(e.x, c.x);
        EXPECT_EQ(e.y, c.y);
        EXPECT_EQ(e.width, c.width);
        EXPECT_EQ(e.height, c.height);
        EXPECT_EQ(e.id == 1055 ? "WS_EX_TRANSPARENT" : "", c.exStyle);
    }
}

TEST(ResourceScript, MessageBoxTemplateStartsWithOnlyTheSingleOkButton)
{
    Template t = ReadTemplate("IDD_SKIN_MESSAGE");
    EXPECT_EQ((std::set<std::string>{"DS_SETFONT", "DS_MODALFRAME", "WS_POPUP", "WS_CAPTION", "WS_SYSMENU"}), t.style);
    EXPECT_EQ("8, \"MS Sans Serif\"", t.font);
    struct Expected {
        int id;
        const char* text;
        bool visible;
        int x, y, width, height;
    };
    const Expected expected[] = {
        {1, "OK", false, 24, 38, 50, 14},     {2, "Cancel", false, 102, 38, 50, 14},
        {1085, "", true, 15, 0, 25, 24},      {1086, " Are you sure you want to continue ", true, 49, 5, 135, 19},
        {3, "OK", true, 63, 38, 50, 14},      {6, "YES", false, 24, 26, 50, 14},
        {7, "NO", false, 100, 26, 50, 14},
    };
    ASSERT_EQ(std::size(expected), t.controls.size());
    for (size_t i = 0; i < t.controls.size(); ++i) {
        const Control& c = t.controls[i];
        const Expected& e = expected[i];
        SCOPED_TRACE("control " + std::to_string(e.id));
        EXPECT_EQ(e.id, c.id);
        EXPECT_EQ(e.text, c.text);
        EXPECT_EQ(e.visible, c.style.count("NOT WS_VISIBLE") == 0);
        EXPECT_EQ(e.x, c.x);
        EXPECT_EQ(e.y, c.y);
        EXPECT_EQ(e.width, c.width);
        EXPECT_EQ(e.height, c.height);
    }
}

TEST(ResourceScript, EveryButtonCaptionHasItsPictures)
{
    std::set<std::string> bitmaps;
    for (const std::string& line : Lines(SourceRoot() + "/resources/vexilor.rc")) {
        std::stringstream in(line);
        std::string name, kind, file;
        if (in >> name >> kind >> file && kind == "BITMAP") {
            bitmaps.insert(name);
            EXPECT_EQ("\"art/" + (name.rfind("IDB_", 0) == 0 ? std::to_string(Identifiers()[name]) : name) + ".bmp\"",
                      file);
        }
    }
    for (const char* name : {"IDD_MAIN_SCAN", "IDD_SKIN_MESSAGE"}) {
        for (const Control& c : ReadTemplate(name).controls) {
            if (!c.style.count("BS_OWNERDRAW")) continue;
            std::string caption;
            for (char ch : c.text) caption += static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            EXPECT_TRUE(bitmaps.count(caption + "_FOCUS")) << caption;
            EXPECT_TRUE(bitmaps.count(caption + "_NOTFOCUS")) << caption;
        }
    }
    for (const char* name : {"SCAN_DISABLE", "DOWNLOAD_DISABLE", "IDB_INFORMATION", "IDB_QUESTION", "IDB_WARNING",
                             "IDB_ERROR", "IDB_BACKGROUND"})
        EXPECT_TRUE(bitmaps.count(name)) << name;
}
