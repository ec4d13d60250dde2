// How much memory this process can still be given on Linux.
#ifndef CMDGEN_WINDOW_QT_AVAILABLE_MEMORY_H_
#define CMDGEN_WINDOW_QT_AVAILABLE_MEMORY_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cmdgen {

/// The memory the process can still be given without the system swapping or
/// refusing: the least of the system's available memory (MemAvailable), the
/// room that its control group and every control group above it leave, and
/// the room that its address-space limit leaves. Nothing when none of them
/// can be read, as on systems other than Linux.
/// AvailableMemory() -> 24567382016 on an idle machine with 24 GB
std::optional<std::uint64_t> AvailableMemory();

namespace detail {

/// The MemAvailable line of /proc/meminfo, in bytes.
/// ParseMemAvailable("MemTotal: 8 kB\nMemAvailable: 4 kB\n") -> 4096
std::optional<std::uint64_t> ParseMemAvailable(std::string_view meminfo);

/// The unified (version 2) control group of the process, from
/// /proc/self/cgroup.
/// ParseCgroupPath("0::/user.slice/session-2.scope\n") -> "/user.slice/session-2.scope"
std::optional<std::string> ParseCgroupPath(std::string_view cgroup);

/// The room left under a control group's memory.max, given memory.current;
/// nothing for "max", which sets no limit.
/// CgroupRoom("1073741824\n", "73741824\n") -> 1000000000
std::optional<std::uint64_t> CgroupRoom(std::string_view max, std::string_view current);

}  // namespace detail

}  // namespace cmdgen

#endif  // CMDGEN_WINDOW_QT_AVAILABLE_MEMORY_H_
