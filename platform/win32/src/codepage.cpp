// MultiByteToWideChar / WideCharToMultiByte as Windows documents them, for
// CP_ACP, CP_UTF8, 936, 1252 and any other code page that iconv knows as
// "CP<number>".
//
// Wide text here: wchar_t is 32 bits, but each element holds one UTF-16 code
// unit, so a character outside the BMP is written as two elements (a
// surrogate pair) and every count equals the one Windows gives. On input an
// element between 0x10000 and 0x10FFFF is also accepted as one whole
// character, so that wide literals written on this platform convert too.
//
// UTF-8 follows Windows with flags 0: every ill-formed sequence (its maximal
// valid prefix) becomes one U+FFFD, lone surrogates become U+FFFD. With
// MB_ERR_INVALID_CHARS / WC_ERR_INVALID_CHARS such input fails with
// ERROR_NO_UNICODE_TRANSLATION. Legacy code pages decode an undefined byte
// sequence to '?' and encode an unmappable character to the default
// character ('?' unless the caller gives one) once per UTF-16 unit, setting
// *usedDefaultChar.
#include <errno.h>
#include <iconv.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "win32_standin.h"
#include "windows.h"

namespace {

std::atomic<UINT> g_ansiCodePage{1252};

UINT resolveCodePage(UINT codePage) {
  if (codePage == CP_ACP || codePage == CP_OEMCP || codePage == 3 /* CP_THREAD_ACP */) return g_ansiCodePage.load();
  return codePage;
}

constexpr char32_t kReplacement = 0xFFFD;

// Characters and UTF-16 code units while converting (vectors: their appends
// are inlined, which a long text feels).
using Chars = std::vector<char32_t>;
using Units = std::vector<char16_t>;

// One iconv descriptor for one call; closed on every path.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

std::string iconvName(UINT codePage) {
  char name[24];
  std::snprintf(name, sizeof name, "CP%u", codePage);
  return name;
}

bool codePageKnown(UINT codePage) {
  if (codePage == CP_UTF8) return true;
  Iconv cd("UTF-32LE", iconvName(codePage).c_str());
  return cd.ok();
}

// ---- UTF-8 ----

void decodeUtf8(const unsigned char* s, size_t n, Chars& out, bool& invalid) {
  size_t i = 0;
  while (i < n) {
    const unsigned char b = s[i];
    if (b < 0x80) {
      out.push_back(b);
      ++i;
      continue;
    }
    int need = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    char32_t cp = 0;
    if (b >= 0xC2 && b <= 0xDF) {
      need = 1;
      cp = b & 0x1F;
    } else if (b == 0xE0) {
      need = 2, lo = 0xA0, cp = 0;
    } else if ((b >= 0xE1 && b <= 0xEC) || b == 0xEE || b == 0xEF) {
      need = 2, cp = b & 0x0F;
    } else if (b == 0xED) {
      need = 2, hi = 0x9F, cp = b & 0x0F;
    } else if (b == 0xF0) {
      need = 3, lo = 0x90, cp = 0;
    } else if (b >= 0xF1 && b <= 0xF3) {
      need = 3, cp = b & 0x07;
    } else if (b == 0xF4) {
      need = 3, hi = 0x8F, cp = 4;
    } else {
      invalid = true;
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    size_t k = 1;
    bool good = true;
    for (; k <= static_cast<size_t>(need); ++k) {
      const unsigned char lower = k == 1 ? lo : 0x80;
      const unsigned char upper = k == 1 ? hi : 0xBF;
      if (i + k >= n || s[i + k] < lower || s[i + k] > upper) {
        good = false;
        break;
      }
      cp = (cp << 6) | (s[i + k] & 0x3F);
    }
    if (good) {
      out.push_back(cp);
      i += need + 1;
    } else {
      invalid = true;
      out.push_back(kReplacement);
      i += k;  // the maximal valid prefix is one replacement
    }
  }
}

void encodeUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// ---- legacy code pages through iconv ----

// Undefined bytes of 1252 that Windows passes through as the C1 control of the same value.
bool cp1252PassThrough(unsigned char b) { return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D; }

// Decodes n bytes that start and end on character boundaries.
void decodeLegacyRun(const Iconv& cd, UINT codePage, const unsigned char* s, size_t n, Chars& out,
                     bool& invalid) {
  char* in = reinterpret_cast<char*>(const_cast<unsigned char*>(s));
  size_t inLeft = n;
  char32_t chunk[256];
  while (inLeft > 0) {
    char* o = reinterpret_cast<char*>(chunk);
    size_t oLeft = sizeof chunk;
    const size_t r = iconv(cd.get(), &in, &inLeft, &o, &oLeft);
    const int err = errno;
    out.insert(out.end(), chunk, chunk + (sizeof chunk - oLeft) / sizeof(char32_t));
    if (r != static_cast<size_t>(-1)) break;
    if (err == E2BIG) continue;
    // EILSEQ or EINVAL: one undecodable byte.
    const unsigned char b = static_cast<unsigned char>(*in);
    if (codePage == 1252 && cp1252PassThrough(b)) {
      out.push_back(b);
    } else {
      invalid = true;
      out.push_back(U'?');
      // A 936 lead byte followed by a byte that makes no character with it:
      // Windows spends both bytes on the one '?' (checked under Wine).
      if (codePage == 936 && b >= 0x81 && b <= 0xFE && inLeft > 1 && in[1] != 0) {
        ++in;
        --inLeft;
      }
    }
    ++in;
    --inLeft;
    iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
  }
}

// Code pages 1252 and 936 keep ASCII as it is, and no byte below 0x80 leads a
// character of two bytes: a byte that follows one below 0x80 starts a
// character. In those, runs of ASCII are copied and only the rest goes through
// iconv, whose per-character cost would otherwise dominate long texts.
bool keepsAscii(UINT codePage) { return codePage == 1252 || codePage == 936; }

bool decodeLegacy(UINT codePage, const unsigned char* s, size_t n, Chars& out, bool& invalid) {
  Iconv cd("UTF-32LE", iconvName(codePage).c_str());
  if (!cd.ok()) return false;
  if (!keepsAscii(codePage)) {
    decodeLegacyRun(cd, codePage, s, n, out, invalid);
    return true;
  }
  out.reserve(out.size() + n);
  size_t i = 0;
  while (i < n) {
    if (s[i] < 0x80) {
      out.push_back(s[i++]);
      continue;
    }
    size_t end = i + 1;
    while (end < n && !(s[end] < 0x80 && s[end - 1] < 0x80)) ++end;
    decodeLegacyRun(cd, codePage, s + i, end - i, out, invalid);
    i = end;
  }
  return true;
}

// Encodes n characters.
void encodeLegacyRun(const Iconv& cd, UINT codePage, const char32_t* text, size_t n, const std::string& defaultChar,
                     std::string& out, bool& usedDefault) {
  char* in = reinterpret_cast<char*>(const_cast<char32_t*>(text));
  size_t inLeft = n * sizeof(char32_t);
  char chunk[512];
  while (inLeft > 0) {
    char* o = chunk;
    size_t oLeft = sizeof chunk;
    const size_t r = iconv(cd.get(), &in, &inLeft, &o, &oLeft);
    const int err = errno;
    out.append(chunk, sizeof chunk - oLeft);
    if (r != static_cast<size_t>(-1)) break;
    if (err == E2BIG) continue;
    char32_t cp;
    std::memcpy(&cp, in, sizeof cp);
    if (codePage == 1252 && cp < 0x100 && cp1252PassThrough(static_cast<unsigned char>(cp))) {
      out.push_back(static_cast<char>(cp));
    } else {
      usedDefault = true;
      out += defaultChar;
      // Windows converts wide text unit by unit: a character beyond the BMP is
      // two UTF-16 units and so two default characters (checked under Wine).
      if (cp >= 0x10000) out += defaultChar;
    }
    in += sizeof(char32_t);
    inLeft -= sizeof(char32_t);
    iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
  }
}

// ASCII is copied, the rest goes through iconv (as decodeLegacy).
bool encodeLegacy(UINT codePage, const Chars& text, const std::string& defaultChar, std::string& out,
                  bool& usedDefault) {
  Iconv cd(iconvName(codePage).c_str(), "UTF-32LE");
  if (!cd.ok()) return false;
  if (!keepsAscii(codePage)) {
    encodeLegacyRun(cd, codePage, text.data(), text.size(), defaultChar, out, usedDefault);
    return true;
  }
  out.reserve(out.size() + text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] < 0x80) {
      out.push_back(static_cast<char>(text[i++]));
      continue;
    }
    size_t end = i + 1;
    while (end < text.size() && text[end] >= 0x80) ++end;
    encodeLegacyRun(cd, codePage, text.data() + i, end - i, defaultChar, out, usedDefault);
    i = end;
  }
  return true;
}

// ---- wide text (one UTF-16 code unit per element) ----

// True when every one of the n elements is below limit.
template <class Element>
bool allBelow(const Element* text, size_t n, uint32_t limit) {
  for (size_t i = 0; i < n; ++i)
    if (static_cast<uint32_t>(text[i]) >= limit) return false;
  return true;
}

void toCodeUnits(const Chars& text, Units& out) {
  for (char32_t cp : text) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
}

// Elements to characters; lone surrogates and out-of-range values become U+FFFD.
void fromElements(const WCHAR* w, size_t n, Chars& out, bool& invalid) {
  for (size_t i = 0; i < n; ++i) {
    const uint32_t e = static_cast<uint32_t>(w[i]);
    if (e >= 0xD800 && e <= 0xDBFF && i + 1 < n) {
      const uint32_t t = static_cast<uint32_t>(w[i + 1]);
      if (t >= 0xDC00 && t <= 0xDFFF) {
        out.push_back(0x10000 + ((e - 0xD800) << 10) + (t - 0xDC00));
        ++i;
        continue;
      }
    }
    if ((e >= 0xD800 && e <= 0xDFFF) || e > 0x10FFFF) {
      invalid = true;
      out.push_back(kReplacement);
    } else {
      out.push_back(e);
    }
  }
}

int fail(DWORD error) {
  SetLastError(error);
  return 0;
}

}  // namespace

namespace win32 {

void setAnsiCodePage(UINT codePage) { g_ansiCodePage.store(codePage); }

}  // namespace win32

extern "C" {

UINT WINAPI GetACP(void) { return g_ansiCodePage.load(); }

int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteCount, LPWSTR wide,
                               int wideCount) {
  if (!multiByte || multiByteCount == 0 || multiByteCount < -1 || wideCount < 0 || (wideCount > 0 && !wide))
    return fail(ERROR_INVALID_PARAMETER);
  const UINT cp = resolveCodePage(codePage);
  const size_t n = multiByteCount == -1 ? std::strlen(multiByte) + 1 : static_cast<size_t>(multiByteCount);
  const auto* bytes = reinterpret_cast<const unsigned char*>(multiByte);
  if ((cp == CP_UTF8 || keepsAscii(cp)) && allBelow(bytes, n, 0x80)) {
    // ASCII: one element a byte, whatever the flags.
    if (n > 0x7FFFFFFF) return fail(ERROR_INVALID_PARAMETER);
    if (wideCount == 0) return static_cast<int>(n);
    if (static_cast<size_t>(wideCount) < n) return fail(ERROR_INSUFFICIENT_BUFFER);
    for (size_t i = 0; i < n; ++i) wide[i] = static_cast<WCHAR>(bytes[i]);
    return static_cast<int>(n);
  }
  Chars chars;
  chars.reserve(n);
  bool invalid = false;
  if (cp == CP_UTF8) {
    decodeUtf8(bytes, n, chars, invalid);
  } else if (!decodeLegacy(cp, bytes, n, chars, invalid)) {
    return fail(ERROR_INVALID_PARAMETER);
  }
  if (invalid && (flags & MB_ERR_INVALID_CHARS)) return fail(ERROR_NO_UNICODE_TRANSLATION);
  Units units;
  units.reserve(chars.size());
  toCodeUnits(chars, units);
  if (units.size() > 0x7FFFFFFF) return fail(ERROR_INVALID_PARAMETER);
  const int needed = static_cast<int>(units.size());
  if (wideCount == 0) return needed;
  if (wideCount < needed) return fail(ERROR_INSUFFICIENT_BUFFER);
  for (int i = 0; i < needed; ++i) wide[i] = static_cast<WCHAR>(units[i]);
  return needed;
}

int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR multiByte,
                               int multiByteCount, LPCSTR defaultChar, LPBOOL usedDefaultChar) {
  if (!wide || wideCount == 0 || wideCount < -1 || multiByteCount < 0 || (multiByteCount > 0 && !multiByte))
    return fail(ERROR_INVALID_PARAMETER);
  const UINT cp = resolveCodePage(codePage);
  if (cp == CP_UTF8 && (defaultChar || usedDefaultChar)) return fail(ERROR_INVALID_PARAMETER);
  if (cp != CP_UTF8 && !codePageKnown(cp)) return fail(ERROR_INVALID_PARAMETER);
  size_t n = 0;
  if (wideCount == -1) {
    while (wide[n] != 0) ++n;
    ++n;
  } else {
    n = static_cast<size_t>(wideCount);
  }
  if ((cp == CP_UTF8 || keepsAscii(cp)) && allBelow(wide, n, 0x80)) {
    // ASCII: one byte an element; no default character is used.
    if (usedDefaultChar) *usedDefaultChar = FALSE;
    if (multiByteCount == 0) return static_cast<int>(n);
    if (static_cast<size_t>(multiByteCount) < n) return fail(ERROR_INSUFFICIENT_BUFFER);
    for (size_t i = 0; i < n; ++i) multiByte[i] = static_cast<char>(wide[i]);
    return static_cast<int>(n);
  }
  Chars chars;
  chars.reserve(n);
  bool invalid = false;
  fromElements(wide, n, chars, invalid);
  std::string out;
  out.reserve(n);
  if (cp == CP_UTF8) {
    if (invalid && (flags & WC_ERR_INVALID_CHARS)) return fail(ERROR_NO_UNICODE_TRANSLATION);
    for (char32_t c : chars) encodeUtf8(c, out);
  } else {
    bool usedDefault = false;
    const std::string fallback = defaultChar && *defaultChar ? std::string(defaultChar, 1) : std::string("?");
    if (!encodeLegacy(cp, chars, fallback, out, usedDefault)) return fail(ERROR_INVALID_PARAMETER);
    if (usedDefaultChar) *usedDefaultChar = usedDefault ? TRUE : FALSE;
  }
  if (out.size() > 0x7FFFFFFF) return fail(ERROR_INVALID_PARAMETER);
  const int needed = static_cast<int>(out.size());
  if (multiByteCount == 0) return needed;
  if (multiByteCount < needed) return fail(ERROR_INSUFFICIENT_BUFFER);
  std::memcpy(multiByte, out.data(), out.size());
  return needed;
}

}  // extern "C"
