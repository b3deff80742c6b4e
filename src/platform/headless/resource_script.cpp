#include "platform/headless/resource_script.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <sstream>

namespace platform::headless {
namespace {

enum class TokenKind { Name, Number, Text, Comma, Bar };

struct Token {
    TokenKind kind;
    std::string text;
};

using Tokens = std::vector<Token>;

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string StripComments(std::string_view text)
{
    std::string out;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            out.push_back(c);
            if (c == '\\' && i + 1 < text.size()) {
                out.push_back(text[++i]);
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
            out.push_back(c);
        } else if (text.substr(i, 2) == "//") {
            while (i < text.size() && text[i] != '\n') {
                ++i;
            }
            out.push_back('\n');
        } else if (text.substr(i, 2) == "/*") {
            const auto end = text.find("*/", i + 2);
            for (auto j = i; j < std::min(end, text.size()); ++j) {
                if (text[j] == '\n') {
                    out.push_back('\n');
                }
            }
            i = end == std::string_view::npos ? text.size() : end + 1;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

// Splits a logical line into tokens; false on a character it does not know.
bool Tokenise(std::string_view line, Tokens& tokens)
{
    std::size_t i = 0;
    while (i < line.size()) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if (std::isspace(c)) {
            ++i;
        } else if (c == ',') {
            tokens.push_back({TokenKind::Comma, ","});
            ++i;
        } else if (c == '|') {
            tokens.push_back({TokenKind::Bar, "|"});
            ++i;
        } else if (c == '"') {
            std::string text;
            ++i;
            for (;;) {
                if (i >= line.size()) {
                    return false;
                }
                const char d = line[i++];
                if (d == '"') {
                    if (i < line.size() && line[i] == '"') {  // "" stands for one quote
                        text.push_back('"');
                        ++i;
                        continue;
                    }
                    break;
                }
                if (d == '\\' && i < line.size()) {
                    const char e = line[i++];
                    text.push_back(e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e);
                    continue;
                }
                text.push_back(d);
            }
            tokens.push_back({TokenKind::Text, std::move(text)});
        } else if (std::isdigit(c) || c == '-') {
            const auto start = i++;
            while (i < line.size() && std::isalnum(static_cast<unsigned char>(line[i]))) {
                ++i;
            }
            tokens.push_back({TokenKind::Number, std::string(line.substr(start, i - start))});
        } else if (std::isalpha(c) || c == '_') {
            const auto start = i++;
            while (i < line.size() && (std::isalnum(static_cast<unsigned char>(line[i])) || line[i] == '_')) {
                ++i;
            }
            tokens.push_back({TokenKind::Name, std::string(line.substr(start, i - start))});
        } else {
            return false;
        }
    }
    return true;
}

std::vector<Tokens> SplitArguments(const Tokens& tokens, std::size_t first)
{
    std::vector<Tokens> arguments(1);
    for (auto i = first; i < tokens.size(); ++i) {
        if (tokens[i].kind == TokenKind::Comma) {
            arguments.emplace_back();
        } else {
            arguments.back().push_back(tokens[i]);
        }
    }
    return arguments;
}

class Reader {
public:
    Reader(std::string includeDirectory, const std::set<std::string>& definitions)
        : m_includeDirectory(std::move(includeDirectory)),
          // The ids <windows.h> gives the scripts.
          m_symbols{{"IDOK", 1},     {"IDCANCEL", 2}, {"IDABORT", 3}, {"IDRETRY", 4},
                    {"IDIGNORE", 5}, {"IDYES", 6},    {"IDNO", 7},    {"IDC_STATIC", -1}}
    {
        for (const auto& name : definitions) {
            m_symbols[name] = 1;
        }
    }

    ResourceScript Read(std::string_view text)
    {
        Preprocess(text);
        while (m_next < m_lines.size()) {
            Statement();
        }
        return std::move(m_script);
    }

private:
    void Complain(const std::string& line) { m_script.errors.push_back(line); }

    // Takes #include, #define and #ifdef/#ifndef/#else/#endif; gathers the
    // other lines, joining a line that ends in ',' or '|' with the next.
    void Preprocess(std::string_view text)
    {
        std::istringstream in(StripComments(text));
        std::string line;
        std::vector<bool> active{true};
        std::string pending;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            const auto first = line.find_first_not_of(" \t");
            if (first == std::string::npos) {
                continue;
            }
            std::string_view body(line);
            body.remove_prefix(first);
            if (body.front() == '#') {
                Directive(body, active);
                continue;
            }
            if (!active.back()) {
                continue;
            }
            pending += std::string(body) + " ";
            const auto last = body.find_last_not_of(" \t");
            if (body[last] == ',' || body[last] == '|') {
                continue;
            }
            m_lines.push_back(std::move(pending));
            pending.clear();
        }
        if (!pending.empty()) {
            m_lines.push_back(std::move(pending));
        }
    }

    void Directive(std::string_view body, std::vector<bool>& active)
    {
        Tokens tokens;
        const auto word_end = body.find_first_of(" \t");
        const std::string word(body.substr(1, word_end == std::string_view::npos ? body.npos : word_end - 1));
        const auto rest = word_end == std::string_view::npos ? std::string_view() : body.substr(word_end);
        if (word == "ifdef" || word == "ifndef") {
            Tokenise(rest, tokens);
            const bool defined = !tokens.empty() && m_symbols.contains(tokens[0].text);
            active.push_back(active.back() && (word == "ifdef") == defined);
        } else if (word == "else" && active.size() > 1) {
            const bool outer = active[active.size() - 2];
            active.back() = outer && !active.back();
        } else if (word == "endif" && active.size() > 1) {
            active.pop_back();
        } else if (!active.back()) {
            return;
        } else if (word == "include") {
            if (Tokenise(rest, tokens) && tokens.size() == 1 && tokens[0].kind == TokenKind::Text) {
                ReadDefinitions(ReadFile(m_includeDirectory + "/" + tokens[0].text));
            }
            // <...> headers are the platform's own: their names are styles here.
        } else if (word == "define") {
            if (Tokenise(rest, tokens) && !tokens.empty()) {
                int value = 1;
                if (tokens.size() > 1) {
                    Number(tokens[1], value);
                }
                m_symbols[tokens[0].text] = value;
            }
        }
    }

    void ReadDefinitions(const std::string& header)
    {
        std::istringstream in(StripComments(header));
        std::string line;
        std::vector<bool> active{true};
        while (std::getline(in, line)) {
            const auto first = line.find_first_not_of(" \t");
            if (first != std::string::npos && line[first] == '#') {
                Directive(std::string_view(line).substr(first), active);
            }
        }
    }

    bool Number(const Token& token, int& value) const
    {
        if (token.kind == TokenKind::Name) {
            const auto found = m_symbols.find(token.text);
            if (found == m_symbols.end()) {
                return false;
            }
            value = found->second;
            return true;
        }
        if (token.kind != TokenKind::Number) {
            return false;
        }
        std::string_view digits(token.text);
        bool negative = false;
        if (digits.starts_with('-')) {
            negative = true;
            digits.remove_prefix(1);
        }
        int base = 10;
        if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
            base = 16;
            digits.remove_prefix(2);
        }
        if (!digits.empty() && (digits.back() == 'L' || digits.back() == 'l')) {
            digits.remove_suffix(1);
        }
        long long parsed = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), parsed, base);
        if (error != std::errc() || end != digits.data() + digits.size()) {
            return false;
        }
        value = static_cast<int>(negative ? -parsed : parsed);
        return true;
    }

    bool Number(const Tokens& argument, int& value) const { return argument.size() == 1 && Number(argument[0], value); }

    // A style expression: names joined by '|', each perhaps after NOT.
    static void Styles(const Tokens& argument, std::set<std::string>& set, std::set<std::string>* notSet = nullptr)
    {
        bool negate = false;
        for (const auto& token : argument) {
            if (token.kind == TokenKind::Name && token.text == "NOT") {
                negate = true;
            } else if (token.kind == TokenKind::Name || token.kind == TokenKind::Number) {
                if (negate && notSet != nullptr) {
                    notSet->insert(token.text);
                    set.erase(token.text);
                } else if (!negate) {
                    set.insert(token.text);
                }
                negate = false;
            }
        }
    }

    bool NextTokens(Tokens& tokens)
    {
        tokens.clear();
        if (m_next >= m_lines.size()) {
            return false;
        }
        const auto& line = m_lines[m_next++];
        if (!Tokenise(line, tokens)) {
            Complain(line);
            tokens.clear();
        }
        return true;
    }

    bool PeekKeyword(const char* keyword) const
    {
        Tokens tokens;
        return m_next < m_lines.size() && Tokenise(m_lines[m_next], tokens) && !tokens.empty() &&
               tokens[0].kind == TokenKind::Name && (tokens[0].text == keyword);
    }

    // Skips a BEGIN ... END block, nested ones included, if one follows.
    void SkipBlock()
    {
        if (!PeekKeyword("BEGIN")) {
            return;
        }
        int depth = 0;
        Tokens tokens;
        while (NextTokens(tokens)) {
            if (!tokens.empty() && tokens[0].kind == TokenKind::Name) {
                if (tokens[0].text == "BEGIN") {
                    ++depth;
                } else if (tokens[0].text == "END" && --depth == 0) {
                    return;
                }
            }
        }
    }

    void Statement()
    {
        const auto& line = m_lines[m_next];
        Tokens tokens;
        NextTokens(tokens);
        if (!tokens.empty() && tokens[0].kind == TokenKind::Name && tokens[0].text == "STRINGTABLE") {
            StringTable();
        } else if (tokens.size() >= 2 && tokens[1].kind == TokenKind::Name &&
                   (tokens[1].text == "DIALOGEX" || tokens[1].text == "DIALOG")) {
            Dialog(tokens, line);
        } else if (tokens.size() == 3 && tokens[1].text == "AVI" && tokens[2].kind == TokenKind::Text) {
            int id = 0;
            if (Number(tokens[0], id)) {
                m_script.clips[id] = tokens[2].text;
            } else {
                Complain(line);
            }
        } else {
            SkipBlock();  // LANGUAGE, ICON, manifest, VERSIONINFO, ...
        }
    }

    void StringTable()
    {
        Tokens tokens;
        NextTokens(tokens);  // BEGIN
        while (NextTokens(tokens)) {
            if (!tokens.empty() && tokens[0].kind == TokenKind::Name && tokens[0].text == "END") {
                return;
            }
            int id = 0;
            const auto text = std::ranges::find(tokens, TokenKind::Text, &Token::kind);
            if (tokens.empty() || !Number(tokens[0], id) || text == tokens.end()) {
                Complain(m_lines[m_next - 1]);
                continue;
            }
            m_script.strings[id] = text->text;
        }
    }

    void Dialog(const Tokens& head, const std::string& line)
    {
        DialogTemplate dialog;
        const auto size = SplitArguments(head, 2);
        if (!Number(head[0], dialog.id) || size.size() < 4 || !Number(size[0], dialog.x) ||
            !Number(size[1], dialog.y) || !Number(size[2], dialog.cx) || !Number(size[3], dialog.cy)) {
            Complain(line);
            SkipBlock();
            return;
        }
        Tokens tokens;
        while (NextTokens(tokens)) {
            if (tokens.empty() || tokens[0].kind != TokenKind::Name) {
                continue;
            }
            const auto& keyword = tokens[0].text;
            const auto arguments = SplitArguments(tokens, 1);
            if (keyword == "BEGIN") {
                break;
            } else if (keyword == "STYLE") {
                Styles(arguments[0], dialog.styles);
            } else if (keyword == "EXSTYLE") {
                Styles(arguments[0], dialog.exStyles);
            } else if (keyword == "CAPTION" && tokens.size() == 2 && tokens[1].kind == TokenKind::Text) {
                dialog.caption = tokens[1].text;
            } else if (keyword == "FONT" && arguments.size() >= 2 && arguments[1].size() == 1) {
                Number(arguments[0], dialog.fontSize);
                dialog.fontName = arguments[1][0].text;
            }
        }
        while (NextTokens(tokens)) {
            if (!tokens.empty() && tokens[0].kind == TokenKind::Name && tokens[0].text == "END") {
                break;
            }
            if (auto control = Control(tokens)) {
                dialog.controls.push_back(std::move(*control));
            } else {
                Complain(m_lines[m_next - 1]);
            }
        }
        m_script.dialogs[dialog.id] = std::move(dialog);
    }

    std::optional<ControlTemplate> Control(const Tokens& tokens) const
    {
        static const std::map<std::string, std::string> kClassOf{
            {"LTEXT", "Static"},        {"CTEXT", "Static"},           {"RTEXT", "Static"},      {"ICON", "Static"},
            {"PUSHBUTTON", "Button"},   {"DEFPUSHBUTTON", "Button"},   {"GROUPBOX", "Button"},   {"CHECKBOX", "Button"},
            {"AUTOCHECKBOX", "Button"}, {"AUTORADIOBUTTON", "Button"}, {"COMBOBOX", "ComboBox"}, {"LISTBOX", "ListBox"},
            {"EDITTEXT", "Edit"},
        };
        if (tokens.empty() || tokens[0].kind != TokenKind::Name) {
            return std::nullopt;
        }
        ControlTemplate control;
        control.statement = tokens[0].text;
        const auto arguments = SplitArguments(tokens, 1);
        std::size_t at = 0;
        auto take = [&](int& value) { return at < arguments.size() && Number(arguments[at++], value); };
        const bool hasText =
            control.statement != "COMBOBOX" && control.statement != "LISTBOX" && control.statement != "EDITTEXT";
        if (hasText) {
            if (arguments.empty() || arguments[0].size() != 1) {
                return std::nullopt;
            }
            control.text = arguments[0][0].text;  // text, or an icon's name or number
            at = 1;
        }
        if (!take(control.id)) {
            return std::nullopt;
        }
        std::size_t styleAt = 0;
        if (control.statement == "CONTROL") {
            if (at + 1 >= arguments.size() || arguments[at].size() != 1) {
                return std::nullopt;
            }
            control.windowClass = arguments[at++][0].text;
            Styles(arguments[at++], control.styles, &control.notStyles);
        } else {
            const auto found = kClassOf.find(control.statement);
            if (found == kClassOf.end()) {
                return std::nullopt;
            }
            control.windowClass = found->second;
            styleAt = at + 4;
        }
        if (!take(control.x) || !take(control.y) || !take(control.cx) || !take(control.cy)) {
            return std::nullopt;
        }
        if (styleAt != 0 && styleAt < arguments.size()) {
            Styles(arguments[styleAt], control.styles, &control.notStyles);
            at = styleAt + 1;
        }
        if (at < arguments.size()) {
            Styles(arguments[at], control.exStyles);
        }
        if (control.statement == "DEFPUSHBUTTON") {
            control.styles.insert("BS_DEFPUSHBUTTON");
        }
        return control;
    }

    std::string m_includeDirectory;
    std::map<std::string, int> m_symbols;
    std::vector<std::string> m_lines;
    std::size_t m_next = 0;
    ResourceScript m_script;
};

}  // namespace

ResourceScript ParseResourceScript(std::string_view text, const std::string& includeDirectory,
                                   const std::set<std::string>& definitions)
{
    return Reader(includeDirectory, definitions).Read(text);
}

const ResourceScript& ProgramResources()
{
    static const ResourceScript script = [] {
        const std::string path = VR38_RC_PATH;
        const auto slash = path.find_last_of('/');
        return ParseResourceScript(ReadFile(path), slash == std::string::npos ? "." : path.substr(0, slash), {});
    }();
    return script;
}

}  // namespace platform::headless
