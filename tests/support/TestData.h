// The sample files under tests/data, for tests and benchmarks alike.
#ifndef VARNIO_TESTS_TEST_DATA_H_
#define VARNIO_TESTS_TEST_DATA_H_

#include <string>

// The absolute path of tests/data/<relative>.
std::string TestDataPath(const std::string& relative);

// The bytes of tests/data/<relative>; empty, with a line on stderr, when
// unreadable, so that no text a test makes can equal them.
std::string ReadTestData(const std::string& relative);

#endif  // VARNIO_TESTS_TEST_DATA_H_
