#include <windows.h>

#include "app/Ambrel3App.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand) {
    static vorel::CAmbrel3App app;
    return fw::RunApplication(app, instance, commandLine, showCommand);
}
