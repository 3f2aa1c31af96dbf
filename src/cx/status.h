// Internal helpers for building CxStatus results.
#pragma once

#include <cerrno>

#include "lumex/cx.h"

namespace cx {

inline CxStatus ok() { return CxStatus{CX_STATUS_OK, 0}; }
inline CxStatus crt(int code) { return CxStatus{CX_STATUS_CRT, static_cast<uint32_t>(code)}; }
inline CxStatus sys(int code) { return CxStatus{CX_STATUS_SYS, static_cast<uint32_t>(code)}; }
// A rejected argument: kind 'p', EINVAL.
inline CxStatus badArg() { return crt(EINVAL); }
// The C library's / system's current errno as a status.
inline CxStatus crtErrno() { return crt(errno); }
inline CxStatus sysErrno() { return sys(errno); }
inline bool isOk(CxStatus s) { return s.kind == CX_STATUS_OK; }

}  // namespace cx
