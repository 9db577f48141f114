// The resource script against what the code takes from it: the skinned buttons find their pictures by their
// captions, and the windows find every control they bind, of the class its member needs.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/window_states.h"
#include "resources/resource_ids.h"

namespace {

std::string Read(const std::string& name)
{
    std::string here = __FILE__;  // .../tests/native/resource_script_test.cpp
    std::ifstream file(here.substr(0, here.rfind("/tests/native/")) + "/resources/" + name);
    std::stringstream text;
    text << file.rdbuf();
    if (text.str().empty()) ADD_FAILURE() << "cannot read resources/" << name;
    return text.str();
}

// Every match of `pattern` in `text`, as its groups.
std::vector<std::smatch> Matches(const std::string& text, const char* pattern)
{
    const std::regex expression(pattern);
    return {std::sregex_iterator(text.begin(), text.end(), expression), std::sregex_iterator()};
}

std::map<std::string, int> Identifiers()
{
    std::map<std::string, int> ids{{"IDOK", 1}, {"IDCANCEL", 2}, {"IDYES", 6}, {"IDNO", 7}};
    static const std::string header = Read("resource_ids.h");
    for (const std::smatch& m : Matches(header, R"(#define (\w+) (\d+))")) ids[m[1]] = std::stoi(m[2]);
    return ids;
}

const std::string& Script()
{
    static const std::string script = Read("vexilor.rc");
    return script;
}

enum class Kind { SkinnedButton, Button, Static, ListBox };

struct Control {
    int id;
    std::string caption;
    Kind kind;
};

// The CONTROL statements of a dialog template (text, id, class, style; continuation lines included).
std::vector<Control> ReadTemplate(const char* name)
{
    const size_t begin = Script().find(std::string(name) + " DIALOGEX");
    if (begin == std::string::npos) {
        ADD_FAILURE() << "no template " << name;
        return {};
    }
    const std::string body = Script().substr(begin, Script().find("\nEND", begin) - begin);
    std::map<std::string, int> ids = Identifiers();
    std::vector<Control> controls;
    for (const std::smatch& m : Matches(body, R"re(CONTROL\s+"([^"]*)",\s*(\w+),\s*"(\w+)",\s*([^,]*),)re")) {
        if (!ids.count(m[2])) ADD_FAILURE() << "no identifier " << m[2];
        const Kind kind = m[3] == "Static"                                       ? Kind::Static
                          : m[3] == "ListBox"                                    ? Kind::ListBox
                          : m[4].str().find("BS_OWNERDRAW") != std::string::npos ? Kind::SkinnedButton
                                                                                 : Kind::Button;
        controls.push_back({ids[m[2]], m[1], kind});
    }
    if (controls.empty()) ADD_FAILURE() << "no controls in " << name;
    return controls;
}

std::set<std::string> Bitmaps()
{
    std::set<std::string> names;
    for (const std::smatch& m : Matches(Script(), R"((?:^|\n)(\w+) BITMAP )")) names.insert(m[1]);
    return names;
}

std::string PictureBase(const std::string& caption)
{
    std::string base;
    for (char c : caption) base += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return base;
}

// The controls each window binds, with the class its member needs (the skinned buttons draw themselves);
// 1, 2, 6 and 7 are the standard OK, Cancel, Yes and No.
using Bindings = std::map<int, Kind>;
const Bindings kMainWindowBinds = {
    {IDC_RESULTS_FRAME, Kind::Button},
    {IDC_LOGO, Kind::SkinnedButton},
    {IDC_REMOVAL_TOOLS_BANNER, Kind::SkinnedButton},
    {IDC_PRODUCT_BANNER, Kind::SkinnedButton},
    {IDC_SEARCHING_FOR, Kind::Static},
    {IDC_INSTALLED_NOTE, Kind::Static},
    {IDC_DESCRIPTION, Kind::Static},
    {IDC_COPYRIGHT, Kind::Static},
    {IDC_FAMILY_LABEL, Kind::Static},
    {2, Kind::SkinnedButton},
    {IDC_STATUS_FRAME, Kind::Button},
    {IDC_STATUS_LINE, Kind::Static},
    {IDC_RESULTS_LIST, Kind::ListBox},
    {IDC_CLOSE_X, Kind::SkinnedButton},
    {IDC_DOWNLOAD, Kind::SkinnedButton},
    {IDC_SCAN, Kind::SkinnedButton},
    {IDC_OK_BUTTON, Kind::SkinnedButton},
};
const Bindings kMessageBoxBinds = {
    {IDC_BOX_ICON, Kind::Static},
    {IDC_BOX_MESSAGE, Kind::Static},
    {1, Kind::SkinnedButton},
    {2, Kind::SkinnedButton},
    {6, Kind::SkinnedButton},
    {7, Kind::SkinnedButton},
    {IDC_SINGLE_OK, Kind::SkinnedButton},
};

void ExpectBound(const char* name, const Bindings& binds)
{
    std::map<int, int> seen;
    for (const Control& c : ReadTemplate(name)) {
        if (!binds.count(c.id)) continue;
        ++seen[c.id];
        EXPECT_EQ(static_cast<int>(binds.at(c.id)), static_cast<int>(c.kind)) << name << " control " << c.id;
    }
    for (const auto& [id, kind] : binds) EXPECT_EQ(1, seen[id]) << name << " control " << id;
}

// Every change of every step of the main window's life.
std::vector<ControlChange> AllChanges()
{
    std::vector<ControlChange> all;
    for (WindowStep step : {WindowStep::Ready, WindowStep::ProductInstalled, WindowStep::ProductNotInstalled,
                            WindowStep::ScanStarted, WindowStep::TerminateConfirmed, WindowStep::ScanFinished}) {
        const ControlChanges changes = ChangesFor(step);
        all.insert(all.end(), changes.changes, changes.changes + changes.count);
    }
    return all;
}

}  // namespace

TEST(ResourceScript, EverySkinnedButtonFindsItsPicturesByItsCaption)
{
    const std::set<std::string> bitmaps = Bitmaps();
    for (const char* name : {"IDD_MAIN_SCAN", "IDD_SKIN_MESSAGE"}) {
        for (const Control& c : ReadTemplate(name)) {
            if (c.kind != Kind::SkinnedButton) continue;
            EXPECT_TRUE(bitmaps.count(PictureBase(c.caption) + "_FOCUS")) << c.caption;
            EXPECT_TRUE(bitmaps.count(PictureBase(c.caption) + "_NOTFOCUS")) << c.caption;
        }
    }
}

// A skinned button without its disabled picture paints nothing while disabled.
TEST(ResourceScript, AButtonTheWindowLeavesShownButDisabledHasItsDisabledPicture)
{
    const std::set<std::string> bitmaps = Bitmaps();
    std::map<int, std::string> captions;
    for (const Control& c : ReadTemplate("IDD_MAIN_SCAN")) captions[c.id] = c.caption;
    for (const ControlChange& change : AllChanges()) {
        if (change.enabling != Enabling::Disable || change.visibility == Visibility::Hide) continue;
        ASSERT_TRUE(captions.count(change.id)) << "control " << change.id;
        EXPECT_TRUE(bitmaps.count(PictureBase(captions[change.id]) + "_DISABLE")) << captions[change.id];
    }
}

TEST(ResourceScript, EveryControlAWindowBindsIsInItsTemplateOnceWithItsClass)
{
    ExpectBound("IDD_MAIN_SCAN", kMainWindowBinds);
    ExpectBound("IDD_SKIN_MESSAGE", kMessageBoxBinds);
    for (const ControlChange& change : AllChanges())
        EXPECT_TRUE(kMainWindowBinds.count(change.id))
            << "the window's steps change a control it does not bind: " << change.id;
}
