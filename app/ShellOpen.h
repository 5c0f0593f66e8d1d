// Opening web addresses in the user's browser. This program runs as administrator, and a
// browser it starts itself would too: on systems with elevation the desktop's own process,
// which runs with the user's ordinary rights, is asked to open them instead.
#pragma once
#include <string>

namespace vorel {

// Opens the address as the shell's "open" would, with the given show command (SW_...).
// Through the desktop's process from Windows 6 on; directly on earlier systems, or when the
// desktop cannot be reached (no shell running, another shell).
void OpenAddress(const std::wstring& address, int showCommand);

// The desktop's process opens it. False when the desktop could not be asked.
bool OpenThroughDesktop(const std::wstring& address, int showCommand);

}  // namespace vorel
