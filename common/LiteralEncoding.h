// The encoding of this build's narrow string literals, and so of every text the plug-ins keep as
// bytes (messages, layer titles, names, the tile folder): UTF-8, and Shift-JIS (code page 932) in
// the Windows build, whose sources are compiled with -fexec-charset=CP932. Text crosses to the host
// with this encoding named, never with the host's platform encoding, which need not be the same.
#ifndef QUILTOR_COMMON_LITERALENCODING_H
#define QUILTOR_COMMON_LITERALENCODING_H

#include "AIHost.h"

#ifdef _WIN32
inline constexpr int32_t kLiteralEncoding = kAIShiftJISCharacterEncoding;
#else
inline constexpr int32_t kLiteralEncoding = kAIUTF8CharacterEncoding;
#endif

#endif
