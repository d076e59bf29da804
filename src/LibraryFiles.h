// Where the library's own files are: its icons, its message catalogues and
// the certificate that verifies the contents host.
#ifndef VARNIO_LIBRARYFILES_H_
#define VARNIO_LIBRARYFILES_H_

#include <string>

namespace library_files {

// The directory the routine and camera icon paths start with, with its
// trailing slash.
const std::string& ResourceDir();
// The directory the message catalogue is bound to.
const std::string& LocaleDir();
// The CA bundle that verifies the contents host; empty for libcurl's own.
const std::string& ContentsCaFile();

}  // namespace library_files

#endif  // VARNIO_LIBRARYFILES_H_
