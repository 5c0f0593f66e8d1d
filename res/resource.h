// Resource ids of the executable.
#pragma once

#define IDR_MAINFRAME 128
#define IDI_APP 128
