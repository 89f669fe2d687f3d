// The panel's run-time captions and its messages.
#pragma once

#include "framework/gbktext.h"

inline constexpr CGbkText kCaptionEnableAdapter{"启用虚拟网卡"};
inline constexpr CGbkText kCaptionDisableAdapter{"禁用虚拟网卡"};
inline constexpr CGbkText kCaptionStartHotspot{"开启无线热点"};
inline constexpr CGbkText kCaptionStopHotspot{"关闭无线热点"};

inline constexpr CGbkText kMsgPipeFailed{"管道 创建失败"};
inline constexpr CGbkText kMsgProcessFailed{"命令提示符 运行失败"};
inline constexpr CGbkText kMsgTimedOut{"命令 运行超时"};

inline constexpr CGbkText kMsgEmptyName{"请输入无线热点的名称"};
inline constexpr CGbkText kMsgEmptyKey{"请输入无线热点的密码"};
inline constexpr CGbkText kMsgUnsafeCharacter{"热点名称和密码中不能含有双引号、百分号、控制字符或无效字符"};
inline constexpr CGbkText kMsgTrailingBackslash{"热点名称和密码不能以反斜杠结尾"};
inline constexpr CGbkText kMsgTooLong{"热点名称和密码太长"};
