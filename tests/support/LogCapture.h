// Captures the library's log lines through the logger stand-in for the
// scope of one object, and splits each into its "file:function(line)>" prefix
// and message.
#ifndef VARNIO_TESTS_LOG_CAPTURE_H_
#define VARNIO_TESTS_LOG_CAPTURE_H_

#include <string>
#include <vector>

struct LogLine {
  int priority = 0;
  std::string tag;
  std::string file;
  std::string function;
  std::string message;  // what follows the ">"
  std::string text;     // the whole formatted line
};

class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  std::vector<LogLine> Lines() const;
  // The messages in order, optionally only those of one function.
  std::vector<std::string> Messages(const std::string& function = "") const;
  bool Contains(const std::string& message) const;
};

#endif  // VARNIO_TESTS_LOG_CAPTURE_H_
