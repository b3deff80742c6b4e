#pragma once
// The headless backend's reading of the program's .rc file (the one the
// Windows builds compile): dialog templates with their controls in tab
// order, the string table and the "AVI" resources. Ids may be numbers or
// names #defined in a header the script includes with quotes. Styles are kept
// by name: what matters here is which are set, not their values.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace platform::headless {

struct ControlTemplate {
    std::string statement;    // CONTROL, CTEXT, PUSHBUTTON, COMBOBOX, ...
    std::string windowClass;  // "Static", "Button", "ComboBox", "SysAnimate32", ...
    std::string text;
    int id = 0;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    std::set<std::string> styles;     // names set
    std::set<std::string> notStyles;  // names taken away with NOT
    std::set<std::string> exStyles;

    bool InitiallyEnabled() const { return !styles.contains("WS_DISABLED"); }
    bool InitiallyVisible() const { return !notStyles.contains("WS_VISIBLE"); }
};

struct DialogTemplate {
    int id = 0;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    std::set<std::string> styles;
    std::set<std::string> exStyles;
    std::optional<std::string> caption;
    int fontSize = 0;
    std::string fontName;
    std::vector<ControlTemplate> controls;  // in tab order
};

struct ResourceScript {
    std::map<int, DialogTemplate> dialogs;
    std::map<int, std::string> strings;
    std::map<int, std::string> clips;  // "AVI" resources: id -> file name
    std::vector<std::string> errors;   // lines that could not be read
};

// Reads a script; quoted #include files are looked for in includeDirectory.
// Symbols named in definitions are taken as defined (for #ifdef).
ResourceScript ParseResourceScript(std::string_view text, const std::string& includeDirectory,
                                   const std::set<std::string>& definitions = {});

// The program's own script, read once from the path the build names.
const ResourceScript& ProgramResources();

}  // namespace platform::headless
