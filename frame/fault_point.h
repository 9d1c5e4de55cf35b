// Faults raised on purpose, so that the end-to-end tests can see what a tool
// does when memory runs out or a step fails. Only the test builds of the
// tools (orlipan_faults.exe, vemo_faults.exe, compiled with TOOL_FAULTS)
// have them: there the environment variable TOOL_FAULT=POINT:KIND makes
// fault_point(POINT) raise KIND, one of "memory" (std::bad_alloc), "error"
// (std::runtime_error) and "abort" (std::abort). In the tools that ship,
// every fault_point is empty and nothing reads the variable.
#pragma once

#ifdef TOOL_FAULTS
void fault_point(const char* point);
#else
inline void fault_point(const char*) {}
#endif
