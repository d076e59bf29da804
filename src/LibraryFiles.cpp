// A production build names its files by the installed paths, fixed when it
// is configured. A kit build names them relative to the directory of the
// library's own file, found when the library is loaded, so that an installed
// kit works wherever it was installed; the build tree is laid out the same
// way. Linked into a program instead (the unit tests), the build tree's
// library directory stands in: this unit is compiled once per flavour.
#include "LibraryFiles.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

#include "LibraryLog.h"

namespace {

std::filesystem::path LibraryDir() {
#ifdef VARNIO_LIBRARY_DIR
  return VARNIO_LIBRARY_DIR;
#else
  static const char kAnchor = 0;  // an address inside the library's own file
  Dl_info info{};
  if (dladdr(&kAnchor, &info) == 0 || info.dli_fname == nullptr) {
    VARNIO_LOG(3, "the library cannot find its own file; its icons, catalogues and certificate are looked for "
                  "from the working directory");
    return std::filesystem::path();
  }
  std::error_code error;
  return std::filesystem::absolute(info.dli_fname, error).parent_path();
#endif
}

const std::string& Resolved(const char* path) {
  const std::filesystem::path named(path);
  if (named.empty() || named.is_absolute()) return *new std::string(path);
  return *new std::string((LibraryDir() / named).lexically_normal().string());
}

}  // namespace

namespace library_files {

// Each never destroyed: a download or a lookup may run while the process exits.
const std::string& ResourceDir() {
  static const std::string& dir = Resolved(VARNIO_RES_DIR);
  return dir;
}

const std::string& LocaleDir() {
  static const std::string& dir = Resolved(VARNIO_LOCALE_DIR);
  return dir;
}

const std::string& ContentsCaFile() {
  static const std::string& file = Resolved(VARNIO_CONTENTS_CA_FILE);
  return file;
}

}  // namespace library_files
