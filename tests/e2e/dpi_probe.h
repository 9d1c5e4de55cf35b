// Reading the tools' windows in the display's own pixels: this process's DPI
// awareness, scaling to a density, the awareness of another process's window and the manifest an
// executable carries.
#pragma once

#include <windows.h>

#include <string>

// Declares this process aware of every display's density; without it
// Windows would hand it coordinates scaled to 96 DPI.
bool become_dpi_aware();
int scaled(int pixels, int dpi);

// The awareness the window was created with, where the system can tell;
// -1 on systems before Windows 10 version 1607.
int window_awareness(HWND hwnd);
void expect_per_monitor_aware(HWND hwnd);

// The manifest resource of an executable next to this program.
std::string manifest_of(const std::string& exe);
// The text between <name ...> and </name>; empty when the element is absent.
std::string element_text(const std::string& xml, const std::string& name);
