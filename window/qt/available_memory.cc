#include "window/qt/available_memory.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>

#if defined(__linux__)
#include <sys/resource.h>  // getrlimit, the address-space limit
#include <unistd.h>        // sysconf, the page size
#endif

namespace cmdgen {
namespace detail {
namespace {

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\n");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\n");
  return text.substr(first, last - first + 1);
}

std::optional<std::uint64_t> ParseNumber(std::string_view text) {
  std::uint64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop == text.data()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::uint64_t> ParseMemAvailable(std::string_view meminfo) {
  static constexpr std::string_view kKey = "MemAvailable:";
  for (std::size_t at = 0; at < meminfo.size();) {
    std::size_t end = meminfo.find('\n', at);
    if (end == std::string_view::npos) end = meminfo.size();
    const std::string_view line = meminfo.substr(at, end - at);
    at = end + 1;
    if (!line.starts_with(kKey)) continue;
    std::string_view rest = Trim(line.substr(kKey.size()));
    const std::optional<std::uint64_t> kib = ParseNumber(rest);
    if (!kib || !rest.ends_with("kB") || *kib > UINT64_MAX / 1024) return std::nullopt;
    return *kib * 1024;
  }
  return std::nullopt;
}

std::optional<std::string> ParseCgroupPath(std::string_view cgroup) {
  static constexpr std::string_view kUnified = "0::";
  for (std::size_t at = 0; at < cgroup.size();) {
    std::size_t end = cgroup.find('\n', at);
    if (end == std::string_view::npos) end = cgroup.size();
    const std::string_view line = cgroup.substr(at, end - at);
    at = end + 1;
    if (line.starts_with(kUnified) && line.size() > kUnified.size() &&
        line[kUnified.size()] == '/') {
      return std::string(line.substr(kUnified.size()));
    }
  }
  return std::nullopt;
}

std::optional<std::uint64_t> CgroupRoom(std::string_view max, std::string_view current) {
  const std::optional<std::uint64_t> limit = ParseNumber(Trim(max));
  const std::optional<std::uint64_t> used = ParseNumber(Trim(current));
  if (!limit || !used) return std::nullopt;
  return *limit > *used ? *limit - *used : 0;
}

}  // namespace detail

#if defined(__linux__)
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream file(path);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void TakeLeast(std::optional<std::uint64_t>& least, std::optional<std::uint64_t> bound) {
  if (bound) least = least ? std::min(*least, *bound) : *bound;
}

}  // namespace

std::optional<std::uint64_t> AvailableMemory() {
  std::optional<std::uint64_t> least = detail::ParseMemAvailable(ReadFile("/proc/meminfo"));

  // A control group's limit binds the groups below it, so each level counts.
  if (std::optional<std::string> group = detail::ParseCgroupPath(ReadFile("/proc/self/cgroup"))) {
    std::string path = *group;
    for (;;) {
      const std::string directory = "/sys/fs/cgroup" + path;
      TakeLeast(least, detail::CgroupRoom(ReadFile(directory + "/memory.max"),
                                          ReadFile(directory + "/memory.current")));
      if (path.empty() || path == "/") break;
      path.erase(path.rfind('/'));
    }
  }

  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
    std::ifstream statm("/proc/self/statm");
    std::uint64_t pages = 0;
    if (statm >> pages) {
      const auto used = pages * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
      const auto cap = static_cast<std::uint64_t>(limit.rlim_cur);
      TakeLeast(least, cap > used ? cap - used : 0);
    }
  }
  return least;
}
#else
std::optional<std::uint64_t> AvailableMemory() { return std::nullopt; }
#endif

}  // namespace cmdgen
