// The Windows API, without the macros that would rename the editor's own
// names (MessageBox).
#pragma once

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#undef MessageBox
#endif
