// The hosted-network command lines, the status report's markers and the runner's messages.
// Compiled with a GBK execution charset: every text here is a code page 936 string.
#pragma once

#include <stddef.h>

#define VENTORA_NETSH "C:\\Windows\\System32\\cmd.exe /c netsh wlan "

inline constexpr char kCmdShowStatus[] = VENTORA_NETSH "show hostednetwork";
inline constexpr char kCmdAllow[] = VENTORA_NETSH "set hostednetwork mode=allow";
inline constexpr char kCmdDisallow[] = VENTORA_NETSH "set hostednetwork mode=disallow";
inline constexpr char kCmdStart[] = VENTORA_NETSH "start hostednetwork";
inline constexpr char kCmdStop[] = VENTORA_NETSH "stop hostednetwork";
// The set-name-and-key line is composed from these two and the user's entries.
inline constexpr char kCmdSetPrefix[] = VENTORA_NETSH "set hostednetwork ssid=";
inline constexpr char kCmdSetKey[] = " key=";

#undef VENTORA_NETSH

inline constexpr char kMarkerAdapterEnabled[] = "已启用";
inline constexpr char kMarkerHotspotStarted[] = "已启动";

inline constexpr char kMsgPipeFailed[] = "管道 创建失败";
inline constexpr char kMsgProcessFailed[] = "命令提示符 运行失败";
inline constexpr char kMsgTimedOut[] = "命令 运行超时";

// Every report buffer: 1023 bytes of text and the terminator.
inline constexpr size_t REPORT_SIZE = 1024;
// Every composed command line: 511 bytes and the terminator.
inline constexpr size_t COMMAND_SIZE = 512;
// How long a command may keep its output open before it is ended.
inline constexpr unsigned long COMMAND_TIMEOUT_MS = 60000;
