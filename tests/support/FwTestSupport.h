// Shared by the framework's tests.
#pragma once
#include <windows.h>

#include "support/WinTestSupport.h"

namespace fwtest {

// Processes what is queued, through the same pre-translation as our loops; a quit message is
// left in the queue for the test to find.
inline void PumpPending() { testsupport::PumpMessages(nullptr, 0); }

}  // namespace fwtest
