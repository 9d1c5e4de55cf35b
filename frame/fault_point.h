// Faults raised on purpose, so that the end-to-end tests can see what a tool
// does when memory runs out or a step fails. Only the test builds of the
// tools (orlipan_faults.exe, vemo_faults.exe) link fault_point_win32.cpp:
// there the environment variable TOOL_FAULT=POINT:KIND makes
// fault_point(POINT) raise KIND, one of "memory" (std::bad_alloc), "error"
// (std::runtime_error) and "abort" (std::abort). The tools that ship link
// no_faults.cpp, where fault_point does nothing and nothing reads the
// variable; both builds share every other object, so the test builds cost
// one link each.
#pragma once

void fault_point(const char* point);
