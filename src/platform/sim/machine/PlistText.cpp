#include "platform/sim/machine/PlistText.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <set>

namespace lumora::sim {
namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// A code point that XML 1.0 allows in a document.
bool isXmlCharacter(std::uint32_t codePoint) {
  if (codePoint < 0x20) return codePoint == '\t' || codePoint == '\n' || codePoint == '\r';
  if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return false;
  return codePoint <= 0x10FFFF && codePoint != 0xFFFE && codePoint != 0xFFFF;
}

// Strict UTF-8 of XML characters: no overlong forms, surrogates, NUL or other control bytes.
std::optional<std::string> whyNotUTF8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 1;
    std::uint32_t codePoint = lead;
    std::uint32_t lowest = 0;
    if (lead >= 0x80) {
      if ((lead & 0xE0) == 0xC0) {
        length = 2, codePoint = lead & 0x1Fu, lowest = 0x80;
      } else if ((lead & 0xF0) == 0xE0) {
        length = 3, codePoint = lead & 0x0Fu, lowest = 0x800;
      } else if ((lead & 0xF8) == 0xF0) {
        length = 4, codePoint = lead & 0x07u, lowest = 0x10000;
      } else {
        return "a byte that is not UTF-8 at offset " + std::to_string(at);
      }
      if (at + length > text.size()) return "UTF-8 cut short at offset " + std::to_string(at);
      for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80)
          return "a byte that is not UTF-8 at offset " + std::to_string(at);
        codePoint = (codePoint << 6) | (next & 0x3Fu);
      }
      if (codePoint < lowest) return "an overlong UTF-8 form at offset " + std::to_string(at);
    }
    if (!isXmlCharacter(codePoint)) {
      return codePoint == 0 ? "a NUL byte at offset " + std::to_string(at)
                            : "a character XML does not allow at offset " + std::to_string(at);
    }
    at += length;
  }
  return std::nullopt;
}

void appendUTF8(std::string& text, std::uint32_t codePoint) {
  const auto byte = [&text](std::uint32_t value) { text += static_cast<char>(value); };
  if (codePoint < 0x80) {
    byte(codePoint);
  } else if (codePoint < 0x800) {
    byte(0xC0 | (codePoint >> 6));
    byte(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    byte(0xE0 | (codePoint >> 12));
    byte(0x80 | ((codePoint >> 6) & 0x3F));
    byte(0x80 | (codePoint & 0x3F));
  } else {
    byte(0xF0 | (codePoint >> 18));
    byte(0x80 | ((codePoint >> 12) & 0x3F));
    byte(0x80 | ((codePoint >> 6) & 0x3F));
    byte(0x80 | (codePoint & 0x3F));
  }
}

constexpr std::string_view cdataStart = "<![CDATA[";

// Walks the document's grammar: the prolog, one <plist> with one value, nothing after it.
class Checker {
 public:
  explicit Checker(std::string_view text) : text_(text) {}

  std::optional<std::string> run() {
    if (text_.starts_with("\xEF\xBB\xBF")) at_ = 3;
    if (!prolog()) return problem_;
    if (!expectOpening("plist", true)) return problem_;
    if (selfClosing_) return "a document without a value";
    skipSpace();
    if (!value(0)) return problem_;
    skipSpace();
    if (!expectClosing("plist")) return problem_;
    skipSpace();
    if (at_ != text_.size()) return "text after the end of the document";
    return std::nullopt;
  }

 private:
  bool fail(std::string why) {
    problem_ = std::move(why);
    return false;
  }
  bool ahead(std::string_view what) const { return text_.substr(at_).starts_with(what); }
  void skipSpace() {
    while (at_ < text_.size() && isSpace(text_[at_]))
      ++at_;
  }
  bool skipPast(std::string_view end) {
    const std::size_t found = text_.find(end, at_);
    if (found == std::string_view::npos) return fail("a declaration that never ends");
    at_ = found + end.size();
    return true;
  }

  bool prolog() {
    for (;;) {
      skipSpace();
      if (ahead("<?")) {
        if (!skipPast("?>")) return false;
      } else if (ahead("<!--")) {
        return fail("a comment, which would be lost when the file is saved");
      } else if (ahead("<!DOCTYPE")) {
        const std::size_t end = text_.find('>', at_);
        if (end == std::string_view::npos) return fail("a declaration that never ends");
        // An internal subset may declare entities that the reader does not expand.
        if (text_.substr(at_, end - at_).find('[') != std::string_view::npos) {
          return fail("a document type with declarations of its own");
        }
        at_ = end + 1;
      } else {
        return true;
      }
    }
  }

  // `<name>` or, where `attributesAllowed`, `<name ...>`; sets selfClosing_ for `<name/>`.
  bool expectOpening(std::string_view name, bool attributesAllowed) {
    skipSpace();
    if (!ahead("<") || !text_.substr(at_ + 1).starts_with(name)) {
      return fail("<" + std::string(name) + "> expected at offset " + std::to_string(at_));
    }
    at_ += 1 + name.size();
    return endOfTag(name, attributesAllowed);
  }

  bool endOfTag(std::string_view name, bool attributesAllowed) {
    selfClosing_ = false;
    if (ahead("/>")) {
      at_ += 2;
      selfClosing_ = true;
      return true;
    }
    if (ahead(">")) {
      ++at_;
      return true;
    }
    if (!attributesAllowed || at_ >= text_.size() || !isSpace(text_[at_])) {
      return fail("a malformed <" + std::string(name) + "> tag at offset " + std::to_string(at_));
    }
    const std::size_t end = text_.find('>', at_);
    if (end == std::string_view::npos) return fail("a tag that never ends");
    selfClosing_ = text_[end - 1] == '/';
    at_ = end + 1;
    return true;
  }

  bool expectClosing(std::string_view name) {
    const std::string tag = "</" + std::string(name) + ">";
    if (!ahead(tag)) return fail(tag + " expected at offset " + std::to_string(at_));
    at_ += tag.size();
    return true;
  }

  // The name of the element that starts here, without consuming it.
  std::string_view elementName() const {
    if (!ahead("<")) return {};
    std::size_t end = at_ + 1;
    while (end < text_.size() && text_[end] != '>' && text_[end] != '/' && !isSpace(text_[end]))
      ++end;
    return text_.substr(at_ + 1, end - at_ - 1);
  }

  // Character data up to the next tag, with its references decoded and its CDATA sections
  // taken as they are.
  bool characterData(std::string& decoded) {
    for (;;) {
      if (ahead(cdataStart)) {
        const std::size_t end = text_.find("]]>", at_ + cdataStart.size());
        if (end == std::string_view::npos) return fail("a CDATA section that never ends");
        decoded += text_.substr(at_ + cdataStart.size(), end - at_ - cdataStart.size());
        at_ = end + 3;
        continue;
      }
      if (at_ >= text_.size() || text_[at_] == '<') return true;
      if (text_[at_] != '&') {
        decoded += text_[at_++];
        continue;
      }
      const std::size_t end = text_.find(';', at_);
      if (end == std::string_view::npos || end - at_ > 12) return fail("a malformed reference");
      const std::string_view reference = text_.substr(at_ + 1, end - at_ - 1);
      at_ = end + 1;
      if (reference == "amp") {
        decoded += '&';
      } else if (reference == "lt") {
        decoded += '<';
      } else if (reference == "gt") {
        decoded += '>';
      } else if (reference == "quot") {
        decoded += '"';
      } else if (reference == "apos") {
        decoded += '\'';
      } else if (reference.starts_with('#') && reference.size() > 1) {
        const bool hex = reference[1] == 'x';
        const std::string digits(reference.substr(hex ? 2 : 1));
        if (digits.empty()) return fail("a malformed character reference");
        for (const char c : digits) {
          const bool ok =
              hex ? (isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')) : isDigit(c);
          if (!ok) return fail("a malformed character reference");
        }
        const unsigned long codePoint = std::strtoul(digits.c_str(), nullptr, hex ? 16 : 10);
        if (codePoint > 0x10FFFF || !isXmlCharacter(static_cast<std::uint32_t>(codePoint))) {
          return fail("a character reference to a character XML does not allow");
        }
        appendUTF8(decoded, static_cast<std::uint32_t>(codePoint));
      } else {
        return fail("an entity the reader does not know: &" + std::string(reference) + ";");
      }
    }
  }

  bool text(std::string_view name, std::string* decoded) {
    std::string scratch;
    if (!characterData(decoded != nullptr ? *decoded : scratch)) return false;
    return expectClosing(name);
  }

  // The content of a number, date or data element: no references, no space around it.
  bool scalar(std::string_view name, std::string& content) {
    const std::size_t end = text_.find('<', at_);
    if (end == std::string_view::npos) return fail("<" + std::string(name) + "> never ends");
    content = std::string(text_.substr(at_, end - at_));
    at_ = end;
    return expectClosing(name);
  }

  bool integer(const std::string& content) {
    std::size_t digits = content.starts_with('-') || content.starts_with('+') ? 1 : 0;
    if (digits == content.size()) return fail("an integer without digits");
    for (std::size_t i = digits; i < content.size(); ++i) {
      if (!isDigit(content[i])) return fail("a malformed integer: " + content);
    }
    errno = 0;
    std::strtoll(content.c_str(), nullptr, 10);
    if (errno == ERANGE) return fail("an integer out of the 64-bit range: " + content);
    return true;
  }

  bool real(const std::string& content) {
    if (content.empty() || isSpace(content.front())) return fail("a malformed real number");
    char* end = nullptr;
    std::strtod(content.c_str(), &end);
    if (end != content.c_str() + content.size()) return fail("a malformed real number: " + content);
    return true;
  }

  bool date(const std::string& content) {
    // 2024-01-31T12:00:00Z
    constexpr std::string_view shape = "dddd-dd-ddTdd:dd:ddZ";
    if (content.size() != shape.size()) return fail("a malformed date: " + content);
    for (std::size_t i = 0; i < shape.size(); ++i) {
      if (shape[i] == 'd' ? !isDigit(content[i]) : content[i] != shape[i]) {
        return fail("a malformed date: " + content);
      }
    }
    const auto number = [&content](std::size_t at, std::size_t length) {
      return std::stoi(content.substr(at, length));
    };
    const int year = number(0, 4);
    const int month = number(5, 2);
    const int day = number(8, 2);
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    constexpr int monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool valid = month >= 1 && month <= 12 && day >= 1 &&
                       day <= monthDays[month - 1] + (month == 2 && leap ? 1 : 0) &&
                       number(11, 2) <= 23 && number(14, 2) <= 59 && number(17, 2) <= 59;
    if (!valid) return fail("a date that does not exist: " + content);
    // The reader keeps a date as 32-bit seconds from 2001.
    if (year < 1933 || year > 2068) return fail("a date it cannot hold: " + content);
    return true;
  }

  bool data(const std::string& content) {
    std::size_t count = 0;
    std::size_t padding = 0;
    for (const char c : content) {
      if (isSpace(c)) continue;
      const bool letter =
          (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || isDigit(c) || c == '+' || c == '/';
      if (c == '=') {
        ++padding;
      } else if (!letter || padding > 0) {
        return fail("data that is not base64");
      }
      ++count;
    }
    if (count % 4 != 0 || padding > 2) return fail("data that is not base64");
    return true;
  }

  bool value(int depth) {
    const std::string name(elementName());
    if (name.empty()) {
      if (ahead("<!--")) return fail("a comment, which would be lost when the file is saved");
      return fail("a value expected at offset " + std::to_string(at_));
    }
    at_ += 1 + name.size();
    if (!endOfTag(name, false)) return false;
    const bool empty = selfClosing_;
    if (name == "dict" || name == "array") {
      if (depth + 1 > maximumPlistNesting) {
        return fail("nesting deeper than " + std::to_string(maximumPlistNesting) + " levels");
      }
      return empty || (name == "dict" ? dictionary(depth + 1) : array(depth + 1));
    }
    if (name == "key") return fail("a key outside a dictionary");
    if (name == "string") return empty || text(name, nullptr);
    if (name == "true" || name == "false") return empty || expectClosing(name);
    if (empty) return fail("an empty <" + name + ">");
    std::string content;
    if (!scalar(name, content)) return false;
    if (name == "integer") return integer(content);
    if (name == "real") return real(content);
    if (name == "date") return date(content);
    if (name == "data") return data(content);
    return fail("an element the reader does not know: <" + name + ">");
  }

  bool dictionary(int depth) {
    std::set<std::string> keys;
    for (;;) {
      skipSpace();
      if (ahead("</dict>")) {
        at_ += 7;
        return true;
      }
      if (!expectOpening("key", false)) return false;
      std::string key;
      if (!selfClosing_ && !text("key", &key)) return false;
      if (!keys.insert(key).second) {
        return fail("the key \"" + key + "\" twice in one dictionary; only one would be kept");
      }
      skipSpace();
      if (elementName() == "key") return fail("a key without a value");
      if (!value(depth)) return false;
    }
  }

  bool array(int depth) {
    for (;;) {
      skipSpace();
      if (ahead("</array>")) {
        at_ += 8;
        return true;
      }
      if (!value(depth)) return false;
    }
  }

  std::string_view text_;
  std::size_t at_ = 0;
  bool selfClosing_ = false;
  std::string problem_;
};

}  // namespace

std::optional<std::string> whyNotReadWhole(std::string_view text) {
  if (std::optional<std::string> problem = whyNotUTF8(text)) return problem;
  return Checker(text).run();
}

}  // namespace lumora::sim
