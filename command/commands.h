// The netsh commands the panel runs, as the words after "netsh", and the status report's markers.
// Compiled with a GBK execution charset: every text here is a code page 936 string.
#pragma once

#include <stddef.h>

inline constexpr char kNetshShowStatus[] = "wlan show hostednetwork";
inline constexpr char kNetshAllow[] = "wlan set hostednetwork mode=allow";
inline constexpr char kNetshDisallow[] = "wlan set hostednetwork mode=disallow";
inline constexpr char kNetshStart[] = "wlan start hostednetwork";
inline constexpr char kNetshStop[] = "wlan stop hostednetwork";
// The set-name-and-key command is composed from these two and the user's entries.
inline constexpr char kNetshSetPrefix[] = "wlan set hostednetwork ssid=";
inline constexpr char kNetshSetKey[] = " key=";

inline constexpr char kMarkerAdapterEnabled[] = "已启用";
inline constexpr char kMarkerHotspotStarted[] = "已启动";

// Every report: 1023 bytes of what the command wrote and the terminator; decoded, as many
// UTF-16 units at most.
inline constexpr size_t REPORT_SIZE = 1024;
// Every command line buffer, for a UTF-8 line of at most 511 characters (COMMAND_LIMIT) and the
// terminator.
inline constexpr size_t COMMAND_SIZE = 1024;
// The system folder in UTF-8, from the MAX_PATH UTF-16 units Windows may give.
inline constexpr size_t FOLDER_SIZE = 3 * 260;
// How long a command may keep its output open before it is ended.
inline constexpr unsigned long COMMAND_TIMEOUT_MS = 60000;
