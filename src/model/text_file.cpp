#include "model/text_file.hpp"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kavrix {
namespace {
// Code points of bytes 0x80..0x9F in Windows-1252 (0 = undefined there).
constexpr char32_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}
}  // namespace

std::string Cp1252ToUtf8(const std::string& in) {
  std::string out;
  out.reserve(in.size());
  for (unsigned char c : in) {
    if (c < 0x80) out += static_cast<char>(c);
    else if (c < 0xA0) appendUtf8(out, kHigh[c - 0x80] ? kHigh[c - 0x80] : U'?');
    else appendUtf8(out, c);
  }
  return out;
}

std::string Utf8ToCp1252(const std::string& in) {
  std::string out;
  out.reserve(in.size());
  for (std::size_t i = 0; i < in.size();) {
    unsigned char c = static_cast<unsigned char>(in[i]);
    char32_t cp;
    int len;
    if (c < 0x80) cp = c, len = 1;
    else if ((c & 0xE0) == 0xC0 && i + 1 < in.size()) cp = ((c & 0x1F) << 6) | (in[i + 1] & 0x3F), len = 2;
    else if ((c & 0xF0) == 0xE0 && i + 2 < in.size())
      cp = ((c & 0x0F) << 12) | ((in[i + 1] & 0x3F) << 6) | (in[i + 2] & 0x3F), len = 3;
    else if ((c & 0xF8) == 0xF0 && i + 3 < in.size()) cp = 0x110000, len = 4;
    else cp = U'?', len = 1;
    i += static_cast<std::size_t>(len);
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out += static_cast<char>(cp);
      continue;
    }
    char mapped = '?';
    for (int k = 0; k < 32; ++k)
      if (kHigh[k] == cp && cp != 0) mapped = static_cast<char>(0x80 + k);
    out += mapped;
  }
  return out;
}

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  std::stringstream ss;
  ss << f.rdbuf();
  const std::string data = ss.str();
  lines.clear();
  std::string cur;
  for (std::size_t i = 0; i < data.size(); ++i) {
    const char c = data[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(Cp1252ToUtf8(cur));
      cur.clear();
      if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) lines.push_back(Cp1252ToUtf8(cur));
  return true;
}

bool TextWriter::save(const std::string& path, std::string* error) const {
  namespace fs = std::filesystem;
  const std::string tmp = path + ".tmp~";
  {
    std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
    if (!f) {
      if (error) *error = "Cannot create file " + path;
      return false;
    }
    for (const auto& l : m_lines) {
      const std::string enc = Utf8ToCp1252(l);
      f.write(enc.data(), static_cast<std::streamsize>(enc.size()));
      f.write("\r\n", 2);
    }
    f.flush();
    if (!f) {
      if (error) *error = "Cannot write file " + path;
      std::error_code ec;
      fs::remove(tmp, ec);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(tmp, path, ec);
  if (ec) {
    if (error) *error = "Cannot write file " + path;
    fs::remove(tmp, ec);
    return false;
  }
  return true;
}

std::vector<std::string> SplitBlanks(const std::string& line) {
  std::vector<std::string> out;
  std::string cur;
  for (char c : line) {
    if (c == ' ' || c == '\t') {
      if (!cur.empty()) out.push_back(cur), cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) out.push_back(cur);
  return out;
}

}  // namespace kavrix
