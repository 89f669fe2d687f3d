// Besides PATH, the variables that Windows defines for every process and that name a system
// folder or the program to run: the simulator logs the values its caller gave it, and the tests
// plant values of the user's for them.
#pragma once

inline constexpr const char* kSystemVariables[] = {
    "ALLUSERSPROFILE", "CommonProgramFiles", "CommonProgramFiles(x86)", "CommonProgramW6432",
    "ComSpec",         "PATHEXT",            "ProgramData",             "ProgramFiles",
    "ProgramFiles(x86)", "ProgramW6432",     "SystemDrive",             "SystemRoot",
    "windir"};
