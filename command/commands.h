// The netsh commands the panel runs, as the words after "netsh" in UTF-8, and the status
// report's markers, texts of the program's own.
#pragma once

#include <stddef.h>

#include "framework/gbktext.h"

inline constexpr char kNetshShowStatus[] = u8"wlan show hostednetwork";
inline constexpr char kNetshAllow[] = u8"wlan set hostednetwork mode=allow";
inline constexpr char kNetshDisallow[] = u8"wlan set hostednetwork mode=disallow";
inline constexpr char kNetshStart[] = u8"wlan start hostednetwork";
inline constexpr char kNetshStop[] = u8"wlan stop hostednetwork";
// The set-name-and-key command is composed from these two and the user's entries.
inline constexpr char kNetshSetPrefix[] = u8"wlan set hostednetwork ssid=";
inline constexpr char kNetshSetKey[] = u8" key=";

inline constexpr CGbkText kMarkerAdapterEnabled{"已启用"};
inline constexpr CGbkText kMarkerHotspotStarted{"已启动"};

// Every report: 1023 bytes of what the command wrote and the terminator; decoded, as many
// UTF-16 units at most.
inline constexpr size_t REPORT_SIZE = 1024;
// Every command line buffer, in bytes: a UTF-8 line that takes at most COMMAND_LIMIT_GBK_BYTES
// in code page 936 takes at most half as many again in UTF-8; and the terminator.
inline constexpr size_t COMMAND_SIZE = 1024;
// The system folder in UTF-8, from the MAX_PATH UTF-16 units Windows may give.
inline constexpr size_t FOLDER_SIZE = 3 * 260;
// How long a command may keep its output open before it is ended.
inline constexpr unsigned long COMMAND_TIMEOUT_MS = 60000;
