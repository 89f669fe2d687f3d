// The panel's run-time captions and its messages, as GBK strings.
#pragma once

inline constexpr char kCaptionEnableAdapter[] = "启用虚拟网卡";
inline constexpr char kCaptionDisableAdapter[] = "禁用虚拟网卡";
inline constexpr char kCaptionStartHotspot[] = "开启无线热点";
inline constexpr char kCaptionStopHotspot[] = "关闭无线热点";

inline constexpr char kMsgPipeFailed[] = "管道 创建失败";
inline constexpr char kMsgProcessFailed[] = "命令提示符 运行失败";
inline constexpr char kMsgTimedOut[] = "命令 运行超时";

inline constexpr char kMsgEmptyName[] = "请输入无线热点的名称";
inline constexpr char kMsgEmptyKey[] = "请输入无线热点的密码";
inline constexpr char kMsgUnsafeCharacter[] = "热点名称和密码中不能含有双引号、百分号、控制字符或无效字符";
inline constexpr char kMsgTrailingBackslash[] = "热点名称和密码不能以反斜杠结尾";
inline constexpr char kMsgTooLong[] = "热点名称和密码太长";
