#include "IconFiles.h"

#include <fstream>
#include <utility>

#include "Base64.h"

namespace demo {
namespace {

constexpr std::streamsize kMaxIconBytes = 1 << 20;
const std::string kPngSignature("\x89PNG\r\n\x1a\n", 8);

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// A relative name that stays inside the directory: no empty, "." or ".."
// segment, no absolute start, no backslash.
bool IsPlainRelativePng(const std::string& name) {
  if (name.empty() || name[0] == '/' || name.find('\\') != std::string::npos) return false;
  if (!EndsWith(name, ".png")) return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    const std::string segment = name.substr(start, end - start);
    if (segment.empty() || segment == "." || segment == "..") return false;
    start = end + 1;
  }
  return true;
}

bool ReadPng(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  const std::streamsize size = in.tellg();
  if (size <= 0 || size > kMaxIconBytes) return false;
  in.seekg(0, std::ios::beg);
  bytes.resize(static_cast<size_t>(size));
  if (!in.read(&bytes[0], size)) return false;
  return bytes.compare(0, kPngSignature.size(), kPngSignature) == 0;
}

}  // namespace

IconFiles::IconFiles(std::string installedResDir, std::vector<std::string> searchDirs)
    : m_installedResDir(std::move(installedResDir)), m_searchDirs(std::move(searchDirs)) {}

std::string IconFiles::DataUri(const std::string& image) const {
  if (image.compare(0, m_installedResDir.size(), m_installedResDir) != 0) return std::string();
  const std::string name = image.substr(m_installedResDir.size());
  if (!IsPlainRelativePng(name)) return std::string();
  for (const std::string& dir : m_searchDirs) {
    std::string bytes;
    if (ReadPng(dir + "/" + name, bytes)) return "data:image/png;base64," + Base64(bytes);
  }
  return std::string();
}

}  // namespace demo
