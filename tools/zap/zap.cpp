// The archive tool: pack, list and extract resource archives.
#include <cstdio>

int main() {
  std::fputs("zap: not built yet\n", stderr);
  return 1;
}
