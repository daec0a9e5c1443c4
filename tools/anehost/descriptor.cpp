#include "descriptor.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "text.h"

namespace anehost {
namespace {

// Just enough XML for a descriptor: elements, attributes, text with the five
// predefined entities and numeric references, comments, CDATA, the XML
// declaration and processing instructions. No DTDs.
struct Element {
  std::string name;  // without a namespace prefix
  std::vector<std::pair<std::string, std::string>> attributes;
  std::string text;
  std::vector<std::unique_ptr<Element>> children;

  const Element* child(const std::string& n) const {
    for (const auto& c : children)
      if (c->name == n) return c.get();
    return nullptr;
  }
  std::string attribute(const std::string& n) const {
    for (const auto& a : attributes)
      if (a.first == n) return a.second;
    return {};
  }
};

std::string localName(const std::string& qualified) {
  const auto colon = qualified.find(':');
  return colon == std::string::npos ? qualified : qualified.substr(colon + 1);
}

class Parser {
 public:
  explicit Parser(const std::string& text) : s_(text) {}

  std::unique_ptr<Element> document(std::string* error) {
    std::unique_ptr<Element> root;
    try {
      skipMisc();
      if (!peek("<")) fail("no root element");
      root = element();
      skipMisc();
      if (pos_ != s_.size()) fail("text after the root element");
    } catch (const std::string& message) {
      *error = message + " (at line " + std::to_string(lineAt(pos_)) + ")";
      return nullptr;
    }
    return root;
  }

 private:
  [[noreturn]] void fail(const std::string& message) { throw message; }

  bool peek(const char* literal) const { return s_.compare(pos_, std::char_traits<char>::length(literal), literal) == 0; }

  void expect(const char* literal) {
    if (!peek(literal)) fail(std::string("expected '") + literal + "'");
    pos_ += std::char_traits<char>::length(literal);
  }

  size_t lineAt(size_t at) const {
    size_t line = 1;
    for (size_t i = 0; i < at && i < s_.size(); ++i) line += s_[i] == '\n';
    return line;
  }

  void skipSpace() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\r' || s_[pos_] == '\n')) ++pos_;
  }

  void skipUntil(const char* end) {
    const auto at = s_.find(end, pos_);
    if (at == std::string::npos) fail(std::string("unterminated markup, no '") + end + "'");
    pos_ = at + std::char_traits<char>::length(end);
  }

  // Whitespace, comments, processing instructions and the XML declaration.
  void skipMisc() {
    for (;;) {
      skipSpace();
      if (peek("<?")) {
        skipUntil("?>");
      } else if (peek("<!--")) {
        skipUntil("-->");
      } else if (peek("<!DOCTYPE")) {
        fail("document type declarations are not supported");
      } else {
        return;
      }
    }
  }

  std::string name() {
    const size_t start = pos_;
    while (pos_ < s_.size()) {
      const char c = s_[pos_];
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '/' || c == '>' || c == '=' || c == '<') break;
      ++pos_;
    }
    if (pos_ == start) fail("expected a name");
    return s_.substr(start, pos_ - start);
  }

  // Replaces entity and character references in raw text.
  std::string decode(const std::string& raw) {
    std::string out;
    for (size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] != '&') {
        out.push_back(raw[i]);
        continue;
      }
      const auto semi = raw.find(';', i);
      if (semi == std::string::npos) fail("an '&' without ';'");
      const std::string ref = raw.substr(i + 1, semi - i - 1);
      if (ref == "lt") out += '<';
      else if (ref == "gt") out += '>';
      else if (ref == "amp") out += '&';
      else if (ref == "quot") out += '"';
      else if (ref == "apos") out += '\'';
      else if (ref.size() > 1 && ref[0] == '#') {
        unsigned long cp = 0;
        try {
          cp = ref[1] == 'x' ? std::stoul(ref.substr(2), nullptr, 16) : std::stoul(ref.substr(1), nullptr, 10);
        } catch (...) {
          fail("bad character reference &" + ref + ";");
        }
        if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) fail("bad character reference &" + ref + ";");
        appendUtf8(static_cast<uint32_t>(cp), &out);
      } else {
        fail("unknown entity &" + ref + ";");
      }
      i = semi;
    }
    return out;
  }

  std::unique_ptr<Element> element() {
    if (++depth_ > 64) fail("elements nested too deeply");
    expect("<");
    auto e = std::make_unique<Element>();
    const std::string qualified = name();
    e->name = localName(qualified);
    for (;;) {
      skipSpace();
      if (peek("/>")) {
        pos_ += 2;
        --depth_;
        return e;
      }
      if (peek(">")) {
        ++pos_;
        break;
      }
      const std::string attributeName = name();
      skipSpace();
      expect("=");
      skipSpace();
      if (pos_ >= s_.size() || (s_[pos_] != '"' && s_[pos_] != '\'')) fail("attribute value without quotes");
      const char q = s_[pos_++];
      const auto end = s_.find(q, pos_);
      if (end == std::string::npos) fail("unterminated attribute value");
      e->attributes.emplace_back(localName(attributeName), decode(s_.substr(pos_, end - pos_)));
      pos_ = end + 1;
    }
    for (;;) {
      if (pos_ >= s_.size()) fail("element <" + qualified + "> is not closed");
      if (peek("</")) {
        pos_ += 2;
        const std::string closing = name();
        if (closing != qualified) fail("<" + qualified + "> closed by </" + closing + ">");
        skipSpace();
        expect(">");
        --depth_;
        return e;
      }
      if (peek("<!--")) {
        skipUntil("-->");
      } else if (peek("<![CDATA[")) {
        pos_ += 9;
        const auto end = s_.find("]]>", pos_);
        if (end == std::string::npos) fail("unterminated CDATA section");
        e->text += s_.substr(pos_, end - pos_);
        pos_ = end + 3;
      } else if (peek("<?")) {
        skipUntil("?>");
      } else if (peek("<")) {
        e->children.push_back(element());
      } else {
        const auto end = s_.find('<', pos_);
        const size_t stop = end == std::string::npos ? s_.size() : end;
        e->text += decode(s_.substr(pos_, stop - pos_));
        pos_ = stop;
      }
    }
  }

  const std::string& s_;
  size_t pos_ = 0;
  int depth_ = 0;
};

}  // namespace

bool parseDescriptor(const std::string& xml, const std::string& platform, Descriptor* out, std::string* error) {
  Parser parser(xml);
  const auto root = parser.document(error);
  if (!root) return false;
  if (root->name != "extension") {
    *error = "the root element is <" + root->name + ">, not <extension>";
    return false;
  }
  Descriptor d;
  const auto text = [](const Element* e) { return e ? trim(e->text) : std::string(); };
  d.id = text(root->child("id"));
  d.versionNumber = text(root->child("versionNumber"));
  if (d.id.empty()) {
    *error = "the descriptor has no <id>";
    return false;
  }
  const Element* platforms = root->child("platforms");
  const Element* chosen = nullptr;
  if (platforms) {
    for (const auto& p : platforms->children)
      if (p->name == "platform" && p->attribute("name") == platform) chosen = p.get();
  }
  if (!chosen) {
    *error = "the descriptor has no platform \"" + platform + "\"";
    return false;
  }
  const Element* deployment = chosen->child("applicationDeployment");
  if (!deployment) {
    *error = "platform \"" + platform + "\" has no <applicationDeployment>";
    return false;
  }
  d.platform = platform;
  d.nativeLibrary = text(deployment->child("nativeLibrary"));
  d.initializer = text(deployment->child("initializer"));
  d.finalizer = text(deployment->child("finalizer"));
  if (d.nativeLibrary.empty() || d.initializer.empty()) {
    *error = "platform \"" + platform + "\" names no <nativeLibrary> or no <initializer>";
    return false;
  }
  *out = std::move(d);
  return true;
}

bool readDescriptorFile(const std::string& path, const std::string& platform, Descriptor* out, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "cannot read " + path;
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  if (!parseDescriptor(text.str(), platform, out, error)) {
    *error = path + ": " + *error;
    return false;
  }
  return true;
}

std::vector<FoundDescriptor> descriptorsIn(const std::string& folder, const std::string& platform) {
  namespace fs = std::filesystem;
  std::error_code ec;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder, ec))
    if (entry.path().extension() == ".xml") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  std::vector<FoundDescriptor> found;
  for (const auto& file : files) {
    FoundDescriptor f{file.string(), {}};
    std::string error;
    if (readDescriptorFile(f.path, platform, &f.descriptor, &error)) found.push_back(std::move(f));
  }
  return found;
}

std::string findNativeLibrary(const std::string& nativeLibrary, const std::vector<std::string>& folders) {
  namespace fs = std::filesystem;
  const std::string stem = fs::path(nativeLibrary).stem().string();
  std::vector<std::string> names{nativeLibrary};
#ifdef _WIN32
  names.push_back("lib" + nativeLibrary);
#else
  names.push_back("lib" + stem + ".so");
  names.push_back(stem + ".so");
#endif
  for (const auto& dir : folders) {
    for (const auto& n : names) {
      std::error_code ec;
      const fs::path candidate = fs::path(dir) / n;
      if (fs::is_regular_file(candidate, ec)) return candidate.string();
    }
  }
  return {};
}

}  // namespace anehost
