// The library names its icons by their installed path under the resource
// directory. IconFiles finds those files (in this build's tree first, then
// where the package installs them) and embeds them as data: URIs, so that
// a page written from them stands on its own.
#ifndef VARNIO_SIMULATOR_SCREEN_ICON_FILES_H_
#define VARNIO_SIMULATOR_SCREEN_ICON_FILES_H_

#include <string>
#include <vector>

namespace demo {

class IconFiles {
 public:
  // `installedResDir` is the prefix the library puts before its icon names
  // (with its trailing slash); `searchDirs` are tried in order for the rest.
  IconFiles(std::string installedResDir, std::vector<std::string> searchDirs);

  // "data:image/png;base64,..." for an image under the installed resource
  // directory whose file is a PNG of at most 1 MiB; empty for anything else:
  // remote images, names that climb out of the directory, unreadable or
  // non-PNG files.
  std::string DataUri(const std::string& image) const;

 private:
  std::string m_installedResDir;
  std::vector<std::string> m_searchDirs;
};

}  // namespace demo

#endif  // VARNIO_SIMULATOR_SCREEN_ICON_FILES_H_
