// Standard output whose reader went away: the first failed write is the last one tried.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/posix/LineOutput.h"

namespace lumora::platform {
namespace {

// A stream whose writes reach `accepted` until `broken`, then fail as a closed pipe does.
struct Pipe {
  std::string accepted;
  bool broken = false;
  int writesTried = 0;

  static ssize_t write(void* cookie, const char* bytes, std::size_t size) {
    auto& pipe = *static_cast<Pipe*>(cookie);
    ++pipe.writesTried;
    if (pipe.broken) {
      errno = EPIPE;
      return -1;
    }
    pipe.accepted.append(bytes, size);
    return static_cast<ssize_t>(size);
  }
};

TEST(LineOutputTest, AFailedWriteEndsTheStreamsOutputQuietly) {
  Pipe pipe;
  std::FILE* stream =
      ::fopencookie(&pipe, "w", cookie_io_functions_t{nullptr, Pipe::write, nullptr, nullptr});
  ASSERT_NE(stream, nullptr);
  writeLine(stream, "status: one");
  writeLine(stream, "status: two");
  EXPECT_EQ(pipe.accepted, "status: one\nstatus: two\n");

  pipe.broken = true;
  writeLine(stream, "status: three");
  const int tried = pipe.writesTried;
  for (int i = 0; i < 10; ++i)
    writeLine(stream, "status: more");
  EXPECT_EQ(pipe.writesTried, tried) << "nothing more is tried after the failure";

  pipe.broken = false;
  writeLine(stream, "status: later");
  EXPECT_EQ(pipe.accepted, "status: one\nstatus: two\n") << "a reader gone stays gone";
  std::clearerr(stream);
  std::fclose(stream);
}

}  // namespace
}  // namespace lumora::platform
