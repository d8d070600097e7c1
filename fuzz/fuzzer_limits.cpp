// Default limits for a libFuzzer binary, so that an input costing too much memory or time is
// reported as a finding instead of stalling the run. libFuzzer reads its flags after calling
// LLVMFuzzerInitialize, so the limits go in front of the command line's own flags, and a flag
// given there (read later) still wins.
#include <string>
#include <vector>

#define GYROTIDE_TEXT(x) #x
#define GYROTIDE_VALUE(x) GYROTIDE_TEXT(x)

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static std::string rssLimit = "-rss_limit_mb=" GYROTIDE_VALUE(GYROTIDE_FUZZ_RSS_LIMIT_MB);
  static std::string timeout = "-timeout=" GYROTIDE_VALUE(GYROTIDE_FUZZ_TIMEOUT);
  static std::vector<char*> args;
  args.assign(*argv, *argv + 1);
  args.push_back(rssLimit.data());
  args.push_back(timeout.data());
  args.insert(args.end(), *argv + 1, *argv + *argc);
  args.push_back(nullptr);
  *argc = static_cast<int>(args.size()) - 1;
  *argv = args.data();
  return 0;
}
