#include <windows.h>

#include <cstdlib>

#include "app/Ambrel3App.h"

// The runtime's own terminate handler names the exception on stderr, which a GUI program does
// not have, and links the whole C++ demangler for that. Ending is all that is left to do.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand) {
    static vorel::CAmbrel3App app;
    return fw::RunApplication(app, instance, commandLine, showCommand);
}
