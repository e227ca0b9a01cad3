// Parser for the dialog templates of a resource script. The script is read
// as code page 932 bytes: a double-byte character is taken whole, so that a
// trail byte 0x5C is never mistaken for a backslash. Errors stop the parse
// with one line naming the line number.
#include "resource_script.h"

#include <cctype>
#include <cstdint>
#include <map>
#include <set>
#include <stdexcept>

#include "cp932.h"

namespace vfwin::rc {
namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

enum class TokenKind {
  End,
  Name,
  Number,
  String,
  Comma,
  Bar,
  Minus,
  Plus,
  OpenParen,
  CloseParen,
  OpenBrace,
  CloseBrace
};

struct Token {
  TokenKind kind = TokenKind::End;
  std::string text;  // a name as written, or a string's content
  int64_t number = 0;
  int line = 1;
};

class ParseError : public std::runtime_error {
 public:
  ParseError(int line, const std::string& message)
      : std::runtime_error("line " + std::to_string(line) + ": " + message) {}
};

// Splits the script into tokens, skipping comments and preprocessor lines
// and collecting the numeric #defines.
class Lexer {
 public:
  explicit Lexer(std::string_view bytes) : bytes_(bytes) {
    if (bytes_.substr(0, 3) == "\xEF\xBB\xBF") position_ = 3;
    // The embedded script may carry its terminating NUL.
    size_t nul = bytes_.find('\0');
    if (nul != std::string_view::npos) bytes_ = bytes_.substr(0, nul);
  }

  std::vector<Token> Tokenize() {
    std::vector<Token> tokens;
    for (;;) {
      Token token = Next();
      tokens.push_back(token);
      if (token.kind == TokenKind::End) break;
    }
    return tokens;
  }

  const std::map<std::string, int64_t>& Defines() const { return defines_; }

 private:
  bool AtEnd() const { return position_ >= bytes_.size(); }
  unsigned char Peek(size_t ahead = 0) const {
    return position_ + ahead < bytes_.size() ? static_cast<unsigned char>(bytes_[position_ + ahead]) : 0;
  }

  void SkipSpaceAndComments() {
    while (!AtEnd()) {
      unsigned char c = Peek();
      if (c == '\n') {
        ++line_;
        ++position_;
        atLineStart_ = true;
      } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
        ++position_;
      } else if (c == '/' && Peek(1) == '/') {
        while (!AtEnd() && Peek() != '\n') ++position_;
      } else if (c == '/' && Peek(1) == '*') {
        int startLine = line_;
        position_ += 2;
        while (!AtEnd() && !(Peek() == '*' && Peek(1) == '/')) {
          if (Peek() == '\n') ++line_;
          ++position_;
        }
        if (AtEnd()) throw ParseError(startLine, "unterminated comment");
        position_ += 2;
      } else if (c == '#' && atLineStart_) {
        PreprocessorLine();
      } else if (!Active()) {
        while (!AtEnd() && Peek() != '\n') ++position_;  // a line left out by #if
      } else {
        return;
      }
    }
    if (!conditionals_.empty()) throw ParseError(conditionals_.back().line, "#if without #endif");
  }

  static void SkipBlanks(std::string_view& text) {
    size_t first = text.find_first_not_of(" \t\r");
    text.remove_prefix(first == std::string_view::npos ? text.size() : first);
  }

  static std::string_view TakeName(std::string_view& text) {
    size_t end = 0;
    while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_'))
      ++end;
    std::string_view name = text.substr(0, end);
    text.remove_prefix(end);
    return name;
  }

  // Lines between #if/#ifdef/#ifndef, #elif, #else and #endif are read only
  // where the condition holds (a resource editor's own sections are left out).
  struct Conditional {
    bool enclosingActive;
    bool active;
    bool taken;
    int line;
  };

  bool Active() const { return conditionals_.empty() || conditionals_.back().active; }

  // The conditions of #if and #elif: a number, a #defined name, or
  // defined(NAME), each optionally negated with '!'.
  bool Condition(std::string_view text) const {
    SkipBlanks(text);
    bool negated = false;
    while (!text.empty() && text[0] == '!') {
      negated = !negated;
      text.remove_prefix(1);
      SkipBlanks(text);
    }
    bool holds = false;
    int64_t number = 0;
    if (ReadNumber(text, &number) > 0) {
      holds = number != 0;
    } else {
      std::string_view name = TakeName(text);
      if (name == "defined") {
        SkipBlanks(text);
        bool parenthesised = !text.empty() && text[0] == '(';
        if (parenthesised) text.remove_prefix(1);
        SkipBlanks(text);
        holds = definedNames_.count(std::string(TakeName(text))) != 0;
      } else {
        auto found = defines_.find(std::string(name));
        holds = found != defines_.end() && found->second != 0;
      }
    }
    return holds != negated;
  }

  void PreprocessorLine() {
    size_t start = position_ + 1;
    while (!AtEnd() && Peek() != '\n') ++position_;
    std::string_view directive = bytes_.substr(start, position_ - start);
    SkipBlanks(directive);
    std::string_view word = TakeName(directive);
    SkipBlanks(directive);
    if (word == "ifdef" || word == "ifndef" || word == "if") {
      bool holds = word == "if"
                       ? Condition(directive)
                       : (definedNames_.count(std::string(TakeName(directive))) != 0) == (word == "ifdef");
      bool enclosing = Active();
      conditionals_.push_back({enclosing, enclosing && holds, holds, line_});
    } else if (word == "elif" || word == "else") {
      if (conditionals_.empty()) throw ParseError(line_, "#" + std::string(word) + " without #if");
      Conditional& open = conditionals_.back();
      bool holds = !open.taken && (word == "else" || Condition(directive));
      open.active = open.enclosingActive && holds;
      open.taken = open.taken || holds;
    } else if (word == "endif") {
      if (conditionals_.empty()) throw ParseError(line_, "#endif without #if");
      conditionals_.pop_back();
    } else if (word == "define" && Active()) {
      Define(directive);
    } else if (word == "undef" && Active()) {
      std::string name(TakeName(directive));
      definedNames_.erase(name);
      defines_.erase(name);
    }
  }

  // `#define NAME number` makes NAME usable where a number is expected;
  // other definitions are of no use to a dialog template and are skipped.
  void Define(std::string_view directive) {
    std::string name(TakeName(directive));
    if (name.empty()) return;
    definedNames_.insert(name);
    SkipBlanks(directive);
    bool negative = !directive.empty() && directive[0] == '-';
    if (negative) directive.remove_prefix(1);
    int64_t value = 0;
    size_t used = ReadNumber(directive, &value);
    if (used == 0) return;
    directive.remove_prefix(used);
    SkipBlanks(directive);
    if (!directive.empty() && directive.substr(0, 2) != "//") return;
    defines_[name] = negative ? -value : value;
  }

  // Reads a decimal or 0x hexadecimal number with an optional L or U suffix;
  // returns the bytes used, 0 when there is no number.
  static size_t ReadNumber(std::string_view text, int64_t* value) {
    size_t i = 0;
    int64_t result = 0;
    auto clamp = [](int64_t v) { return v > 0xFFFFFFFFLL ? 0xFFFFFFFFLL : v; };
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
      i = 2;
      size_t digits = 0;
      while (i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i]))) {
        char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
        result = clamp(result * 16 + (c <= '9' ? c - '0' : c - 'a' + 10));
        ++i;
        ++digits;
      }
      if (digits == 0) return 0;
    } else {
      while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        result = clamp(result * 10 + (text[i] - '0'));
        ++i;
      }
      if (i == 0) return 0;
    }
    while (i < text.size() && (text[i] == 'L' || text[i] == 'l' || text[i] == 'U' || text[i] == 'u')) ++i;
    *value = result;
    return i;
  }

  Token Next() {
    SkipSpaceAndComments();
    Token token;
    token.line = line_;
    if (AtEnd()) return token;
    atLineStart_ = false;
    unsigned char c = Peek();
    auto single = [&](TokenKind kind) {
      ++position_;
      token.kind = kind;
      return token;
    };
    switch (c) {
      case ',':
        return single(TokenKind::Comma);
      case '|':
        return single(TokenKind::Bar);
      case '-':
        return single(TokenKind::Minus);
      case '+':
        return single(TokenKind::Plus);
      case '(':
        return single(TokenKind::OpenParen);
      case ')':
        return single(TokenKind::CloseParen);
      case '{':
        return single(TokenKind::OpenBrace);
      case '}':
        return single(TokenKind::CloseBrace);
      case '"':
        return StringToken(token);
      default:
        break;
    }
    if (std::isdigit(c)) {
      size_t used = ReadNumber(bytes_.substr(position_), &token.number);
      position_ += used;
      token.kind = TokenKind::Number;
      if (std::isalnum(Peek()) || Peek() == '_') throw ParseError(line_, "malformed number");
      return token;
    }
    if (std::isalpha(c) || c == '_') {
      size_t start = position_;
      while (std::isalnum(Peek()) || Peek() == '_') ++position_;
      token.kind = TokenKind::Name;
      token.text = std::string(bytes_.substr(start, position_ - start));
      return token;
    }
    std::string shown = std::isprint(c) ? std::string(1, static_cast<char>(c)) : "byte " + std::to_string(c);
    throw ParseError(line_, "unexpected character '" + shown + "'");
  }

  // A quoted string: "" is a quote; \n \t \r \a \\ are escapes; a lead byte
  // and its trail byte are copied together.
  Token StringToken(Token token) {
    ++position_;
    token.kind = TokenKind::String;
    for (;;) {
      if (AtEnd() || Peek() == '\n') throw ParseError(token.line, "unterminated string");
      unsigned char c = Peek();
      if (IsCp932LeadByte(c) && IsCp932TrailByte(Peek(1))) {
        token.text += static_cast<char>(c);
        token.text += static_cast<char>(Peek(1));
        position_ += 2;
      } else if (c == '"') {
        if (Peek(1) == '"') {
          token.text += '"';
          position_ += 2;
        } else {
          ++position_;
          return token;
        }
      } else if (c == '\\') {
        unsigned char escaped = Peek(1);
        switch (escaped) {
          case 'n':
            token.text += '\n';
            break;
          case 't':
            token.text += '\t';
            break;
          case 'r':
            token.text += '\r';
            break;
          case 'a':
            token.text += '\a';
            break;
          case '\\':
            token.text += '\\';
            break;
          default:
            token.text += '\\';
            --position_;
            break;  // kept as written
        }
        position_ += 2;
      } else {
        token.text += static_cast<char>(c);
        ++position_;
      }
    }
  }

  std::string_view bytes_;
  size_t position_ = 0;
  int line_ = 1;
  bool atLineStart_ = true;
  std::map<std::string, int64_t> defines_;
  std::set<std::string> definedNames_;
  std::vector<Conditional> conditionals_;
};

// The control statements: their class, default styles and whether they
// begin with a text.
struct ControlStatement {
  const char* keyword;
  const char* className;
  DWORD defaultStyle;
  bool hasText;
};

constexpr ControlStatement kControlStatements[] = {
    {"LTEXT", "Static", SS_LEFT | WS_GROUP, true},
    {"RTEXT", "Static", SS_RIGHT | WS_GROUP, true},
    {"CTEXT", "Static", SS_CENTER | WS_GROUP, true},
    {"EDITTEXT", "Edit", ES_LEFT | WS_BORDER | WS_TABSTOP, false},
    {"PUSHBUTTON", "Button", BS_PUSHBUTTON | WS_TABSTOP, true},
    {"DEFPUSHBUTTON", "Button", BS_DEFPUSHBUTTON | WS_TABSTOP, true},
    {"CHECKBOX", "Button", BS_CHECKBOX | WS_TABSTOP, true},
    {"AUTOCHECKBOX", "Button", BS_AUTOCHECKBOX | WS_TABSTOP, true},
    {"RADIOBUTTON", "Button", BS_RADIOBUTTON, true},
    {"AUTORADIOBUTTON", "Button", BS_AUTORADIOBUTTON, true},
    {"STATE3", "Button", BS_3STATE | WS_TABSTOP, true},
    {"AUTO3STATE", "Button", BS_AUTO3STATE | WS_TABSTOP, true},
    {"GROUPBOX", "Button", BS_GROUPBOX, true},
    {"COMBOBOX", "ComboBox", CBS_SIMPLE | WS_TABSTOP, false},
    {"SCROLLBAR", "ScrollBar", SBS_HORZ, false},
};

// Class keywords of the CONTROL statement and the class names it accepts,
// each mapped to the name the window reports.
constexpr const char* kClassNames[] = {"Button",   "Edit",    "Static",     "ScrollBar",
                                       "ComboBox", "ListBox", UPDOWN_CLASSA};

std::string CanonicalClass(std::string_view written) {
  for (const char* name : kClassNames) {
    if (EqualIgnoringCase(written, name)) return name;
  }
  return std::string(written);
}

// The bits a style expression sets and, through NOT, clears.
struct StyleBits {
  DWORD set = 0;
  DWORD cleared = 0;
  DWORD Apply(DWORD defaults) const { return (defaults & ~cleared) | set; }
};

class Parser {
 public:
  Parser(std::vector<Token> tokens, std::map<std::string, int64_t> defines)
      : tokens_(std::move(tokens)), defines_(std::move(defines)) {
    defines_.emplace("IDOK", IDOK);
    defines_.emplace("IDCANCEL", IDCANCEL);
    defines_.emplace("IDC_STATIC", -1);
  }

  ResourceScript Parse() {
    ResourceScript script;
    while (Current().kind != TokenKind::End) {
      if (IsKeyword("LANGUAGE")) {
        Advance();
        SkipLanguageArguments();
        continue;
      }
      DialogTemplate dialog = ParseDialog();
      if (script.Find(dialog.name)) {
        throw ParseError(dialog.line, "dialog " + dialog.name + " is defined twice");
      }
      script.dialogs.push_back(std::move(dialog));
    }
    return script;
  }

 private:
  const Token& Current() const { return tokens_[index_]; }
  const Token& Previous() const { return tokens_[index_ == 0 ? 0 : index_ - 1]; }
  void Advance() {
    if (Current().kind != TokenKind::End) ++index_;
  }
  bool IsKeyword(const char* keyword) const {
    return Current().kind == TokenKind::Name && EqualIgnoringCase(Current().text, keyword);
  }

  // Reports at the token that does not fit, or at the end of the previous
  // line when the statement stopped short there.
  [[noreturn]] void Fail(const std::string& message) const {
    int line = Current().line;
    if (index_ > 0 && (Current().kind == TokenKind::End || Current().line > Previous().line))
      line = Previous().line;
    throw ParseError(line, message);
  }

  void ExpectComma(const char* after) {
    if (Current().kind != TokenKind::Comma) Fail(std::string("expected ',' after ") + after);
    Advance();
  }

  bool AcceptComma() {
    if (Current().kind != TokenKind::Comma) return false;
    Advance();
    return true;
  }

  bool StartsNumber() const {
    const Token& token = Current();
    return token.kind == TokenKind::Number || token.kind == TokenKind::Minus ||
           token.kind == TokenKind::Plus || token.kind == TokenKind::OpenParen ||
           (token.kind == TokenKind::Name && defines_.count(token.text) != 0);
  }

  // A number: decimal or hexadecimal, a #defined name, with a sign, or a
  // parenthesised number.
  int64_t ParseNumber(const char* after) {
    const Token& token = Current();
    if (token.kind == TokenKind::Minus || token.kind == TokenKind::Plus) {
      bool negative = token.kind == TokenKind::Minus;
      Advance();
      int64_t value = ParseNumber(after);
      return negative ? -value : value;
    }
    if (token.kind == TokenKind::OpenParen) {
      Advance();
      int64_t value = ParseNumber(after);
      if (Current().kind != TokenKind::CloseParen) Fail("expected ')'");
      Advance();
      return value;
    }
    if (token.kind == TokenKind::Number) {
      Advance();
      return token.number;
    }
    if (token.kind == TokenKind::Name) {
      auto found = defines_.find(token.text);
      if (found != defines_.end()) {
        Advance();
        return found->second;
      }
      Fail("unknown name " + token.text + " where a number was expected after " + after);
    }
    Fail(std::string("expected a number after ") + after);
  }

  int ParseInt(const char* after) { return static_cast<int>(static_cast<int32_t>(ParseNumber(after))); }

  std::string ParseString(const char* after) {
    if (Current().kind != TokenKind::String) Fail(std::string("expected a string after ") + after);
    std::string text = Current().text;
    Advance();
    return text;
  }

  // term { '|' term }, term = [NOT] (number | style name | '(' style ')').
  StyleBits ParseStyle(const char* after) {
    StyleBits bits;
    for (;;) {
      bool negated = false;
      if (IsKeyword("NOT")) {
        negated = true;
        Advance();
      }
      DWORD value = ParseStyleTerm(after);
      if (negated) {
        bits.cleared |= value;
        bits.set &= ~value;
      } else {
        bits.set |= value;
      }
      if (Current().kind != TokenKind::Bar) return bits;
      Advance();
      after = "'|'";
    }
  }

  DWORD ParseStyleTerm(const char* after) {
    const Token& token = Current();
    if (token.kind == TokenKind::Name && !defines_.count(token.text)) {
      DWORD value = 0;
      if (!LookUpStyleName(token.text, &value)) Fail("unknown style name " + token.text);
      Advance();
      return value;
    }
    if (token.kind == TokenKind::OpenParen) {
      Advance();
      StyleBits inner = ParseStyle("'('");
      if (Current().kind != TokenKind::CloseParen) Fail("expected ')' to close the style");
      Advance();
      return inner.set;
    }
    if (!StartsNumber()) Fail(std::string("expected a style after ") + after);
    return static_cast<DWORD>(ParseNumber(after));
  }

  // LANGUAGE primary, sublanguage: numbers or the system's names for them.
  void SkipLanguageArguments() {
    SkipNumberOrName("LANGUAGE");
    ExpectComma("the language");
    SkipNumberOrName("the language");
  }

  void SkipNumberOrName(const char* after) {
    if (Current().kind == TokenKind::Name && !defines_.count(Current().text)) {
      Advance();
    } else {
      ParseNumber(after);
    }
  }

  DialogTemplate ParseDialog() {
    DialogTemplate dialog;
    const Token& nameToken = Current();
    dialog.line = nameToken.line;
    if (nameToken.kind == TokenKind::Name || nameToken.kind == TokenKind::String) {
      dialog.name = nameToken.text;
    } else if (nameToken.kind == TokenKind::Number) {
      dialog.name = std::to_string(nameToken.number);
    } else {
      Fail("expected the name of a dialog template");
    }
    Advance();
    if (IsKeyword("DIALOGEX")) {
      dialog.extended = true;
    } else if (!IsKeyword("DIALOG")) {
      Fail("expected DIALOG or DIALOGEX after " + dialog.name);
    }
    Advance();
    // Memory options of old scripts.
    while (IsKeyword("DISCARDABLE") || IsKeyword("MOVEABLE") || IsKeyword("PURE") || IsKeyword("PRELOAD") ||
           IsKeyword("LOADONCALL") || IsKeyword("FIXED") || IsKeyword("IMPURE")) {
      Advance();
    }
    dialog.x = ParseInt(dialog.extended ? "DIALOGEX" : "DIALOG");
    ExpectComma("the x position");
    dialog.y = ParseInt("the x position");
    ExpectComma("the y position");
    dialog.cx = ParseInt("the y position");
    ExpectComma("the width");
    dialog.cy = ParseInt("the width");
    if (dialog.extended && AcceptComma()) ParseNumber("the height");  // help id

    bool hasStyle = false;
    for (;;) {
      if (IsKeyword("STYLE")) {
        Advance();
        dialog.style = ParseStyle("STYLE").Apply(0);
        hasStyle = true;
      } else if (IsKeyword("EXSTYLE")) {
        Advance();
        dialog.exStyle = ParseStyle("EXSTYLE").Apply(0);
      } else if (IsKeyword("CAPTION")) {
        Advance();
        dialog.caption = ParseString("CAPTION");
      } else if (IsKeyword("FONT")) {
        Advance();
        ParseFont(&dialog);
      } else if (IsKeyword("LANGUAGE")) {
        Advance();
        SkipLanguageArguments();
      } else if (IsKeyword("CHARACTERISTICS") || IsKeyword("VERSION")) {
        Advance();
        ParseNumber(Previous().text.c_str());
      } else {
        break;
      }
    }
    if (!hasStyle) dialog.style = WS_POPUP | WS_BORDER | WS_SYSMENU;
    if (!dialog.fontFace.empty() || dialog.fontSize != 0) dialog.style |= DS_SETFONT;

    if (!(IsKeyword("BEGIN") || Current().kind == TokenKind::OpenBrace)) {
      if (Current().kind == TokenKind::Name) Fail("unknown dialog statement " + Current().text);
      Fail("expected BEGIN after the header of dialog " + dialog.name);
    }
    Advance();
    for (;;) {
      if (IsKeyword("END") || Current().kind == TokenKind::CloseBrace) {
        Advance();
        return dialog;
      }
      if (Current().kind == TokenKind::End) Fail("missing END of dialog " + dialog.name);
      dialog.controls.push_back(ParseControl(dialog.extended));
    }
  }

  void ParseFont(DialogTemplate* dialog) {
    dialog->fontSize = ParseInt("FONT");
    ExpectComma("the font size");
    dialog->fontFace = ParseString("the font size");
    if (!dialog->extended) return;
    if (AcceptComma()) dialog->fontWeight = ParseInt("the font name");
    if (AcceptComma()) dialog->fontItalic = ParseInt("the font weight");
    if (AcceptComma()) dialog->fontCharset = ParseInt("the italic flag");
  }

  ControlTemplate ParseControl(bool extended) {
    ControlTemplate control;
    control.line = Current().line;
    if (Current().kind != TokenKind::Name) Fail("expected a control statement");
    std::string keyword = Current().text;
    Advance();
    if (EqualIgnoringCase(keyword, "CONTROL")) {
      ParseGenericControl(&control, extended);
      return control;
    }
    const ControlStatement* statement = nullptr;
    for (const ControlStatement& candidate : kControlStatements) {
      if (EqualIgnoringCase(keyword, candidate.keyword)) statement = &candidate;
    }
    if (!statement) Fail("unknown control statement " + keyword);
    control.className = statement->className;
    const char* afterId = keyword.c_str();
    if (statement->hasText) {
      control.text = ParseString(keyword.c_str());
      ExpectComma("the text");
      afterId = "the text";
    }
    control.id = ParseInt(afterId);
    ExpectComma("the control id");
    ParsePlacement(&control, "the control id");
    StyleBits style;
    if (AcceptComma()) {
      style = ParseStyle("the height");
      if (AcceptComma()) control.exStyle = ParseStyle("the style").Apply(0);
      if (extended && AcceptComma()) ParseNumber("the extended style");  // help id
    }
    control.style = style.Apply(WS_CHILD | WS_VISIBLE | statement->defaultStyle);
    return control;
  }

  // CONTROL "text", id, class, style, x, y, cx, cy [, exstyle]
  void ParseGenericControl(ControlTemplate* control, bool extended) {
    control->text = ParseString("CONTROL");
    ExpectComma("the text");
    control->id = ParseInt("the text");
    ExpectComma("the control id");
    if (Current().kind == TokenKind::String || Current().kind == TokenKind::Name) {
      control->className = CanonicalClass(Current().text);
      Advance();
    } else {
      Fail("expected a class name after the control id");
    }
    ExpectComma("the class");
    StyleBits style = ParseStyle("the class");
    ExpectComma("the style");
    control->style = style.Apply(WS_CHILD | WS_VISIBLE);
    ParsePlacement(control, "the style");
    if (AcceptComma()) control->exStyle = ParseStyle("the height").Apply(0);
    if (extended && AcceptComma()) ParseNumber("the extended style");  // help id
  }

  void ParsePlacement(ControlTemplate* control, const char* after) {
    control->x = ParseInt(after);
    ExpectComma("the x position");
    control->y = ParseInt("the x position");
    ExpectComma("the y position");
    control->cx = ParseInt("the y position");
    ExpectComma("the width");
    control->cy = ParseInt("the width");
  }

  std::vector<Token> tokens_;
  std::map<std::string, int64_t> defines_;
  size_t index_ = 0;
};

}  // namespace

const DialogTemplate* ResourceScript::Find(std::string_view name) const {
  for (const DialogTemplate& dialog : dialogs) {
    if (EqualIgnoringCase(dialog.name, name)) return &dialog;
  }
  return nullptr;
}

ParseResult ParseResourceScript(std::string_view scriptBytes) {
  ParseResult result;
  try {
    Lexer lexer(scriptBytes);
    std::vector<Token> tokens = lexer.Tokenize();
    Parser parser(std::move(tokens), lexer.Defines());
    result.script = parser.Parse();
    result.ok = true;
  } catch (const ParseError& error) {
    result.error = error.what();
  } catch (const std::bad_alloc&) {
    result.error = "out of memory while reading the resource script";
  }
  return result;
}

}  // namespace vfwin::rc
